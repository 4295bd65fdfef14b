#pragma once
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

// COM for the calling thread, released only when this object's own
// initialisation succeeded. A thread already in the multithreaded apartment
// (RPC_E_CHANGED_MODE) can use COM all the same and is left as it is.
class ComApartment {
public:
    ComApartment() : hr_(CoInitialize(nullptr)) {}
    ~ComApartment()
    {
        if (SUCCEEDED(hr_))
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    bool Usable() const { return SUCCEEDED(hr_) || hr_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT hr_;
};

// An owned interface pointer. Copying is deleted: a copy would release twice.
template <class T>
class ComPtr {
public:
    ComPtr() : p_(nullptr) {}
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    HRESULT Create(REFCLSID clsid, REFIID iid, DWORD context = CLSCTX_ALL)
    {
        Reset();
        return CoCreateInstance(clsid, nullptr, context, iid, reinterpret_cast<void**>(&p_));
    }
    void Reset()
    {
        if (p_ != nullptr) {
            p_->Release();
            p_ = nullptr;
        }
    }
    T* operator->() const { return p_; }
    T* Get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_;
};

// An owned BSTR; Out() frees any held string before it is filled again.
class Bstr {
public:
    Bstr() : s_(nullptr) {}
    explicit Bstr(const wchar_t* text) : s_(SysAllocString(text)) {}
    ~Bstr() { SysFreeString(s_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    BSTR Get() const { return s_; }
    BSTR* Out()
    {
        SysFreeString(s_);
        s_ = nullptr;
        return &s_;
    }
    UINT Length() const { return SysStringLen(s_); }

private:
    BSTR s_;
};

// An owned VARIANT, cleared (and its array destroyed) on the way out.
class Variant {
public:
    Variant() { VariantInit(&v_); }
    ~Variant() { VariantClear(&v_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    VARIANT* Get() { return &v_; }
    const VARIANT& Value() const { return v_; }

private:
    VARIANT v_;
};
