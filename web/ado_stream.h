#pragma once
#include <windows.h>
#include <oaidl.h>

// The few parts of the ADODB Stream object that the EUC-JP conversion uses,
// declared here because mingw's adoint.h needs -fpermissive. The vtable
// order is the interface's own and must not change; late binding by name
// fails under Wine (its type library is not registered).

#ifdef _WIN64
typedef LONGLONG AdoLongPtr;
#else
typedef LONG AdoLongPtr;
#endif

// {00000566-0000-0010-8000-00AA006D2EA4}
const CLSID kClsidAdoStream = {0x00000566, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
// _Stream {00000565-0000-0010-8000-00AA006D2EA4}
const IID kIidAdoStream = {0x00000565, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};

enum : long {
    kAdModeUnknown = 0,
    kAdOpenStreamUnspecified = -1,
    kAdTypeBinary = 1,
    kAdTypeText = 2,
    kAdReadAll = -1,
};

struct AdoStream : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_Size(AdoLongPtr* size) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_EOS(VARIANT_BOOL* eos) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Position(AdoLongPtr* position) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Position(AdoLongPtr position) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Type(long* type) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Type(long type) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_LineSeparator(long* separator) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_LineSeparator(long separator) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_State(long* state) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Mode(long* mode) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Mode(long mode) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Charset(BSTR* charset) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Charset(BSTR charset) = 0;
    virtual HRESULT STDMETHODCALLTYPE Read(long bytes, VARIANT* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE Open(VARIANT source, long mode, long options, BSTR user,
                                           BSTR password) = 0;
    virtual HRESULT STDMETHODCALLTYPE Close() = 0;
    virtual HRESULT STDMETHODCALLTYPE SkipLine() = 0;
    virtual HRESULT STDMETHODCALLTYPE Write(VARIANT buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetEOS() = 0;
    virtual HRESULT STDMETHODCALLTYPE CopyTo(AdoStream* destination, AdoLongPtr chars) = 0;
    virtual HRESULT STDMETHODCALLTYPE Flush() = 0;
    virtual HRESULT STDMETHODCALLTYPE SaveToFile(BSTR fileName, long options) = 0;
    virtual HRESULT STDMETHODCALLTYPE LoadFromFile(BSTR fileName) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReadText(long chars, BSTR* text) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteText(BSTR text, long options) = 0;
    virtual HRESULT STDMETHODCALLTYPE Cancel() = 0;
};
