#include "support/data_object.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <cstring>

HRESULT STDMETHODCALLTYPE FakeData::QueryInterface(REFIID iid, void** out)
{
    *out = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject) ? this : nullptr;
    return *out != nullptr ? S_OK : E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE FakeData::GetData(FORMATETC* wanted, STGMEDIUM* medium)
{
    auto found = formats_.find(wanted->cfFormat);
    if (found == formats_.end())
        return DV_E_FORMATETC;
    const std::string& bytes = found->second;
    ZeroMemory(medium, sizeof *medium);
    if (wanted->cfFormat == Format(L"FileContents")) {
        medium->tymed = TYMED_ISTREAM;
        medium->pstm = SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
        return medium->pstm != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    memcpy(GlobalLock(medium->hGlobal), bytes.data(), bytes.size());
    GlobalUnlock(medium->hGlobal);
    return S_OK;
}

CLIPFORMAT Format(const wchar_t* name)
{
    return static_cast<CLIPFORMAT>(RegisterClipboardFormatW(name));
}

std::string Wide(const std::wstring& text)
{
    return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
}

std::string Descriptor(const wchar_t* name)
{
    FILEGROUPDESCRIPTORW group = {};
    group.cItems = 1;
    lstrcpynW(group.fgd[0].cFileName, name, MAX_PATH);
    return std::string(reinterpret_cast<const char*>(&group), sizeof group);
}

std::string DroppedFiles(const std::string& path)
{
    DROPFILES head = {sizeof head, {0, 0}, FALSE, TRUE};
    std::wstring wide(path.begin(), path.end());   // test paths are ASCII
    return std::string(reinterpret_cast<const char*>(&head), sizeof head) + Wide(wide) + std::string(2, '\0');
}
