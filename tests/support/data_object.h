#pragma once
#include <windows.h>
#include <objidl.h>

#include <map>
#include <string>

// An in-process data object as a drag source offers it, living on the test's
// stack: bytes per format, FileContents as a stream, the rest global memory.
class FakeData : public IDataObject {
public:
    void Add(CLIPFORMAT format, const std::string& bytes) { formats_[format] = bytes; }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* wanted, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* f) override { return formats_.count(f->cfFormat) ? S_OK : DV_E_FORMATETC; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    std::map<CLIPFORMAT, std::string> formats_;
};

CLIPFORMAT Format(const wchar_t* name);
// Wide text with its terminator, as bytes.
std::string Wide(const std::wstring& text);
// A FileGroupDescriptorW naming one file; a CF_HDROP of one file.
std::string Descriptor(const wchar_t* name);
std::string DroppedFiles(const std::string& path);
