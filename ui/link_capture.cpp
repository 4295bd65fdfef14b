#include "ui/link_capture.h"

#include <algorithm>

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "app/com_types.h"
#include "app/link_text.h"
#include "app/text_cut.h"
#include "store/file_handle.h"
#include "store/records.h"

namespace {

// A page's address, a .url file or its description is small: anything
// larger is no page handed in, and is never read whole.
const size_t kMostBytes = 64 * 1024;
// Marks a hand-over among WM_COPYDATA messages ("LKCA").
const ULONG_PTR kHandOverTag = 0x4C4B4341;

// The bytes of a global memory block, locked while this lives.
class LockedGlobal {
public:
    explicit LockedGlobal(HGLOBAL global)
        : global_(global), data_(global != nullptr ? GlobalLock(global) : nullptr)
    {
    }
    ~LockedGlobal()
    {
        if (data_ != nullptr)
            GlobalUnlock(global_);
    }
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;
    bool Copy(std::string* bytes) const
    {
        if (data_ == nullptr)
            return false;
        size_t size = GlobalSize(global_);
        if (size > kMostBytes)
            return false;
        bytes->assign(static_cast<const char*>(data_), size);
        return true;
    }

private:
    HGLOBAL global_;
    void* data_;
};

// A storage medium from GetData, released once.
class Medium {
public:
    Medium() { ZeroMemory(&medium_, sizeof medium_); }
    ~Medium()
    {
        if (medium_.tymed != TYMED_NULL)
            ReleaseStgMedium(&medium_);
    }
    Medium(const Medium&) = delete;
    Medium& operator=(const Medium&) = delete;
    STGMEDIUM* Get() { return &medium_; }

private:
    STGMEDIUM medium_;
};

bool ReadStream(IStream* stream, std::string* bytes)
{
    bytes->clear();
    char chunk[4096];
    for (;;) {
        ULONG read = 0;
        HRESULT hr = stream->Read(chunk, sizeof chunk, &read);
        if (FAILED(hr))
            return false;
        bytes->append(chunk, read);
        if (bytes->size() > kMostBytes)
            return false;
        if (hr == S_FALSE || read == 0)
            return true;
    }
}

bool GetBytes(IDataObject* data, const wchar_t* formatName, CLIPFORMAT format, LONG index, std::string* bytes)
{
    if (formatName != nullptr)
        format = static_cast<CLIPFORMAT>(RegisterClipboardFormatW(formatName));
    FORMATETC wanted = {format, nullptr, DVASPECT_CONTENT, index, TYMED_HGLOBAL | TYMED_ISTREAM};
    Medium medium;
    if (format == 0 || FAILED(data->GetData(&wanted, medium.Get())))
        return false;
    if (medium.Get()->tymed == TYMED_HGLOBAL)
        return LockedGlobal(medium.Get()->hGlobal).Copy(bytes);
    if (medium.Get()->tymed == TYMED_ISTREAM && medium.Get()->pstm != nullptr)
        return ReadStream(medium.Get()->pstm, bytes);
    return false;
}

bool WideAddress(const std::string& bytes, std::string* address)
{
    std::string text;
    return WideToAddressText(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), &text) &&
           ReadOneAddress(text.data(), text.size(), address);
}

bool ReadSmallFile(const wchar_t* path, std::string* bytes)
{
    FileHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return false;
    bytes->assign(kMostBytes + 1, '\0');
    DWORD read = 0;
    if (!ReadFile(file.Get(), &(*bytes)[0], static_cast<DWORD>(bytes->size()), &read, nullptr) ||
        read > kMostBytes)
        return false;
    bytes->resize(read);
    return true;
}

bool IsShortcutName(const std::wstring& name)
{
    return name.size() > 4 && lstrcmpiW(name.c_str() + name.size() - 4, L".url") == 0;
}

// Wide text in the program's code page, cut to a title on a character
// boundary.
std::string TitleText(const std::wstring& text)
{
    const int wide = static_cast<int>(text.size());
    int needed = WideCharToMultiByte(CP_ACP, 0, text.c_str(), wide, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return std::string();
    std::string title(static_cast<size_t>(needed), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), wide, &title[0], needed, nullptr, nullptr);
    title.resize(CutLength(title.data(), title.size(), kTitleSize - 1));
    return title;
}

// A shortcut's name without folder and ".url".
std::wstring NameOfShortcut(const std::wstring& path)
{
    std::wstring name = PathFindFileNameW(path.c_str());
    name.resize(name.size() >= 4 ? name.size() - 4 : 0);
    return name;
}

// "text/x-moz-url" (UTF-16): the address, a line end, the link's text.
bool ReadMozillaLink(IDataObject* data, std::string* address, std::wstring* title)
{
    std::string bytes;
    if (!GetBytes(data, L"text/x-moz-url", 0, -1, &bytes))
        return false;
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    text.resize(wcsnlen(text.c_str(), text.size()));
    const size_t end = text.find(L'\n');
    const std::wstring first = text.substr(0, end);
    if (!WideAddress(std::string(reinterpret_cast<const char*>(first.c_str()), first.size() * sizeof(wchar_t)),
                     address))
        return false;
    *title = end == std::wstring::npos ? std::wstring() : text.substr(end + 1);
    title->resize(std::min(title->size(), title->find_first_of(L"\r\n")));
    return true;
}

// The one .url a FileGroupDescriptorW names.
bool DescribedShortcut(IDataObject* data, std::wstring* name)
{
    std::string bytes;
    if (!GetBytes(data, L"FileGroupDescriptorW", 0, -1, &bytes) || bytes.size() < sizeof(FILEGROUPDESCRIPTORW))
        return false;
    const auto* group = reinterpret_cast<const FILEGROUPDESCRIPTORW*>(bytes.data());
    if (group->cItems != 1)
        return false;
    wchar_t file[MAX_PATH] = {};
    lstrcpynW(file, group->fgd[0].cFileName, MAX_PATH);
    *name = file;
    return IsShortcutName(*name);
}

// The one .url file a CF_HDROP names.
bool DroppedShortcutFile(IDataObject* data, std::wstring* path)
{
    FORMATETC wanted = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    Medium medium;
    if (FAILED(data->GetData(&wanted, medium.Get())) || medium.Get()->tymed != TYMED_HGLOBAL)
        return false;
    HDROP drop = static_cast<HDROP>(medium.Get()->hGlobal);
    if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) != 1)
        return false;
    UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    if (length == 0 || length > 32767)
        return false;
    path->assign(length + 1, L'\0');
    if (DragQueryFileW(drop, 0, &(*path)[0], length + 1) != length)
        return false;
    path->resize(length);
    return IsShortcutName(*path);
}

}  // namespace

bool ReadDroppedLink(IDataObject* data, NewEntryRequest* link)
{
    std::string bytes;
    std::string address;
    std::wstring shortcut;
    bool described = DescribedShortcut(data, &shortcut);
    std::string mozillaAddress;
    std::wstring mozillaTitle;
    const bool mozilla = ReadMozillaLink(data, &mozillaAddress, &mozillaTitle);
    bool found = (GetBytes(data, L"UniformResourceLocatorW", 0, -1, &bytes) && WideAddress(bytes, &address)) ||
                 (GetBytes(data, L"UniformResourceLocator", 0, -1, &bytes) &&
                  ReadOneAddress(bytes.data(), bytes.size(), &address));
    if (!found && mozilla) {
        address = mozillaAddress;
        found = true;
    }
    if (!found && described)
        found = GetBytes(data, L"FileContents", 0, 0, &bytes) &&
                ReadShortcutAddress(bytes.data(), bytes.size(), &address);
    if (!found && !described && DroppedShortcutFile(data, &shortcut)) {
        described = true;
        found = ReadSmallFile(shortcut.c_str(), &bytes) && ReadShortcutAddress(bytes.data(), bytes.size(), &address);
    }
    if (!found)
        found = (GetBytes(data, nullptr, CF_UNICODETEXT, -1, &bytes) && WideAddress(bytes, &address)) ||
                (GetBytes(data, nullptr, CF_TEXT, -1, &bytes) && ReadOneAddress(bytes.data(), bytes.size(), &address));
    if (!found)
        return false;
    link->address = address;
    // The shortcut's name, else the link's text; without either the page's
    // own title is fetched.
    link->title = TitleText(described ? NameOfShortcut(shortcut) : mozilla ? mozillaTitle : std::wstring());
    return true;
}

bool ReadClipboardLink(HWND owner, std::string* address)
{
    bool wide = IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE;
    if (!wide && !IsClipboardFormatAvailable(CF_TEXT))
        return false;
    if (!OpenClipboard(owner))
        return false;
    std::string bytes;
    // The clipboard owns the data: locked, read and left there.
    bool read = LockedGlobal(GetClipboardData(wide ? CF_UNICODETEXT : CF_TEXT)).Copy(&bytes);
    CloseClipboard();
    if (!read)
        return false;
    return wide ? WideAddress(bytes, address) : ReadOneAddress(bytes.data(), bytes.size(), address);
}

bool ReadArgumentLink(const wchar_t* argument, std::string* address)
{
    std::string bytes(reinterpret_cast<const char*>(argument), lstrlenW(argument) * sizeof(wchar_t));
    if (WideAddress(bytes, address))
        return true;
    return IsShortcutName(argument) && ReadSmallFile(argument, &bytes) &&
           ReadShortcutAddress(bytes.data(), bytes.size(), address);
}

bool ReadCommandLineLink(std::string* address)
{
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr)
        return false;
    bool found = count >= 2 && ReadArgumentLink(arguments[1], address);
    LocalFree(arguments);
    return found;
}

bool SendLinkToRunningCopy(const std::string& address)
{
    // The running copy may still be building its window: look a while.
    HWND frame = nullptr;
    for (int i = 0; i < 50 && frame == nullptr; ++i) {
        frame = FindWindowA("linkcairn_class", nullptr);
        if (frame == nullptr)
            Sleep(100);
    }
    if (frame == nullptr)
        return false;
    DWORD process = 0;
    GetWindowThreadProcessId(frame, &process);
    // Only the copy in front may hand the foreground over.
    AllowSetForegroundWindow(process);
    COPYDATASTRUCT data = {kHandOverTag, static_cast<DWORD>(address.size()), const_cast<char*>(address.data())};
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(frame, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 10000,
                               &answer) != 0 &&
           answer == TRUE;
}

bool ReadHandedLink(const COPYDATASTRUCT* data, std::string* address)
{
    return data != nullptr && data->dwData == kHandOverTag && data->lpData != nullptr &&
           data->cbData <= kLinkAddressLimit &&
           ReadOneAddress(static_cast<const char*>(data->lpData), data->cbData, address);
}
