#pragma once
#include <windows.h>
#include <objbase.h>
#include <ole2.h>
#include <oleauto.h>

#include <cstring>
#include <memory>

// Small RAII types for COM, shared by the store and the title conversion.

// Initialises COM (apartment-threaded) for the calling thread and
// uninitialises it on destruction, but only when the initialisation
// succeeded (S_OK or S_FALSE): a thread already in another apartment
// (RPC_E_CHANGED_MODE) keeps it.
class ComApartment {
public:
    ComApartment() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment()
    {
        if (SUCCEEDED(hr_))
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    HRESULT Result() const { return hr_; }
    // A thread already in the multithreaded apartment can use COM all the same.
    bool Usable() const { return SUCCEEDED(hr_) || hr_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT hr_;
};

// OLE (drag and drop) for the window thread, given back only when this
// initialisation succeeded; OLE counts nested ones.
class OleSession {
public:
    OleSession() : hr_(OleInitialize(nullptr)) {}
    ~OleSession()
    {
        if (SUCCEEDED(hr_))
            OleUninitialize();
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

private:
    HRESULT hr_;
};

// An owned interface pointer. Copying is deleted (a copy would release
// twice); moving hands the reference over.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : p_(other.p_) { other.p_ = nullptr; }
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        if (this != std::addressof(other)) {
            Reset();
            p_ = other.p_;
            other.p_ = nullptr;
        }
        return *this;
    }

    // Takes a new reference to p (AddRef).
    static ComPtr Share(T* p)
    {
        ComPtr result;
        result.p_ = p;
        if (p != nullptr)
            p->AddRef();
        return result;
    }
    // Takes over a reference the caller owns (no AddRef).
    static ComPtr Adopt(T* p)
    {
        ComPtr result;
        result.p_ = p;
        return result;
    }

    HRESULT Create(REFCLSID clsid, REFIID iid, DWORD context = CLSCTX_ALL)
    {
        Reset();
        return CoCreateInstance(clsid, nullptr, context, iid, reinterpret_cast<void**>(&p_));
    }
    HRESULT CreateByProgId(const wchar_t* progId, REFIID iid, DWORD context = CLSCTX_ALL)
    {
        Reset();
        CLSID clsid;
        HRESULT hr = CLSIDFromProgID(progId, &clsid);
        if (FAILED(hr))
            return hr;
        return Create(clsid, iid, context);
    }
    template <class U>
    HRESULT QueryFrom(U* source, REFIID iid)
    {
        Reset();
        if (source == nullptr)
            return E_POINTER;
        return source->QueryInterface(iid, reinterpret_cast<void**>(&p_));
    }

    void Reset()
    {
        if (p_ != nullptr) {
            T* p = p_;
            p_ = nullptr;
            p->Release();
        }
    }
    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For out-parameters: releases what is held first. A named call rather
    // than operator&, which would empty the pointer wherever its address is
    // merely taken.
    T** Receive()
    {
        Reset();
        return &p_;
    }

private:
    T* p_ = nullptr;
};

// An owned BSTR.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const wchar_t* text) : b_(SysAllocString(text)) {}
    Bstr(const wchar_t* text, UINT length) : b_(SysAllocStringLen(text, length)) {}
    ~Bstr() { SysFreeString(b_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& other) noexcept : b_(other.b_) { other.b_ = nullptr; }
    Bstr& operator=(Bstr&& other) noexcept
    {
        if (this != std::addressof(other)) {
            SysFreeString(b_);
            b_ = other.b_;
            other.b_ = nullptr;
        }
        return *this;
    }

    BSTR Get() const { return b_; }
    UINT Length() const { return SysStringLen(b_); }
    // For out-parameters: frees what is held first, so nothing leaks.
    BSTR* Receive()
    {
        SysFreeString(b_);
        b_ = nullptr;
        return &b_;
    }

private:
    BSTR b_ = nullptr;
};

// An owned VARIANT.
class Variant {
public:
    Variant() { VariantInit(&v_); }
    ~Variant() { VariantClear(&v_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    // A string variant that owns a copy of text.
    static Variant String(const wchar_t* text)
    {
        Variant v;
        v.v_.vt = VT_BSTR;
        v.v_.bstrVal = SysAllocString(text);
        return v;
    }
    // An object variant holding its own reference to unknown.
    static Variant Object(IUnknown* unknown)
    {
        Variant v;
        v.v_.vt = VT_UNKNOWN;
        v.v_.punkVal = unknown;
        if (unknown != nullptr)
            unknown->AddRef();
        return v;
    }
    // An optional argument left out (VT_ERROR, DISP_E_PARAMNOTFOUND).
    static Variant Missing()
    {
        Variant v;
        v.v_.vt = VT_ERROR;
        v.v_.scode = DISP_E_PARAMNOTFOUND;
        return v;
    }
    // A byte array (VT_ARRAY | VT_UI1) holding a copy of length bytes; on
    // failure the variant stays empty and the result says why.
    static HRESULT Bytes(const void* data, size_t length, Variant* out)
    {
        VariantClear(&out->v_);
        SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(length));
        if (array == nullptr)
            return E_OUTOFMEMORY;
        void* target = nullptr;
        HRESULT hr = SafeArrayAccessData(array, &target);
        if (SUCCEEDED(hr)) {
            if (length > 0)
                memcpy(target, data, length);
            hr = SafeArrayUnaccessData(array);
        }
        if (FAILED(hr)) {
            SafeArrayDestroy(array);
            return hr;
        }
        out->v_.vt = VT_ARRAY | VT_UI1;
        out->v_.parray = array;
        return S_OK;
    }
    Variant(Variant&& other) noexcept
    {
        v_ = other.v_;
        VariantInit(&other.v_);
    }

    // Passed by value to COM methods that take a VARIANT; ownership stays here.
    const VARIANT& Get() const { return v_; }
    // For out-parameters: clears what is held first.
    VARIANT* Receive()
    {
        VariantClear(&v_);
        return &v_;
    }

private:
    VARIANT v_;
};
