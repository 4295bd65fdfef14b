#include "app/ini_settings.h"

#include <commdlg.h>
#include <cstdio>
#include <cstring>

#include "app/path_text.h"
#include "app/size_text.h"

namespace {
const char kIniName[] = "linkcairn.ini";
}

CINI::CINI() : CINI(nullptr)
{
}

CINI::CINI(const char* modulePath)
{
    if (modulePath != nullptr) {
        Init(modulePath);
        return;
    }
    char own[kTextSize] = {};
    DWORD n = GetModuleFileNameA(nullptr, own, kTextSize);
    // A path that filled the buffer was cut: treat it as no path at all.
    Init(n == 0 || n >= static_cast<DWORD>(kTextSize) ? "" : own);
}

CINI::~CINI() = default;

void CINI::Init(const char* modulePath)
{
    status = 0;
    memset(exeDir, 0, sizeof exeDir);
    memset(iniPath, 0, sizeof iniPath);
    memset(curXml, 0, sizeof curXml);
    memset(pickPath, 0, sizeof pickPath);
    if (modulePath == nullptr || modulePath[0] == '\0')
        return;

    lstrcpynA(exeDir, modulePath, kTextSize);
    status = 1;
    CutAtLastBackslash(exeDir);
    int n = snprintf(iniPath, sizeof iniPath, "%s\\%s", exeDir, kIniName);
    if (n < 0 || n >= static_cast<int>(sizeof iniPath)) {
        // No room for the ini name: better no settings than a wrong file.
        iniPath[0] = '\0';
        status = 0;
        return;
    }

    char scratch[kTextSize];
    if (!ReadValue("ini", "path", scratch)) {
        if (!WriteValue("ini", "path", exeDir))
            return;
    }
    LoadCurrentStore();
}

int CINI::ReadValue(const char* section, const char* key, char* out)
{
    if (status == 0)
        return 0;
    DWORD n = GetPrivateProfileStringA(section, key, "", out, kTextSize, iniPath);
    if (n == 0)
        status = 0;
    return status;
}

int CINI::WriteValue(const char* section, const char* key, const char* value)
{
    status = (iniPath[0] != '\0' && WritePrivateProfileStringA(section, key, value, iniPath)) ? 1 : 0;
    return status;
}

int CINI::LoadCurrentStore()
{
    return ReadValue("xml", "curxml", curXml);
}

int CINI::ChooseStoreFile(HWND owner)
{
    // Work on copies so that Cancel leaves every field as it was.
    char file[kTextSize];
    char title[kTextSize] = {};
    lstrcpynA(file, pickPath, kTextSize);

    // Windows opens a folder given as the initial file name; Wine only
    // honours it as the initial directory.
    DWORD attrs = pickPath[0] != '\0' ? GetFileAttributesA(pickPath) : INVALID_FILE_ATTRIBUTES;
    bool isFolder = attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY) != 0;

    OPENFILENAMEA ofn;
    memset(&ofn, 0, sizeof ofn);
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = "xml(*.xml)\0*.xml\0\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = kTextSize;
    ofn.lpstrFileTitle = title;
    ofn.nMaxFileTitle = kTextSize;
    ofn.lpstrInitialDir = isFolder ? pickPath : nullptr;
    ofn.lpstrTitle = "ファイルを開く";
    ofn.lpstrDefExt = "xml";
    ofn.Flags = OFN_CREATEPROMPT | OFN_HIDEREADONLY;
    if (!GetOpenFileNameA(&ofn))
        return 0;

    lstrcpynA(pickPath, file, kTextSize);
    lstrcpynA(curXml, title, kTextSize);
    return 1;
}

int CINI::SaveCurrentStore()
{
    char full[kTextSize];
    int n = snprintf(full, sizeof full, "%s\\%s", pickPath, curXml);
    if (n < 0 || n >= static_cast<int>(sizeof full)) {
        status = 0;
        return status;
    }
    if (WriteValue("xml", "curxml", full))
        lstrcpynA(curXml, full, kTextSize);
    return status;
}

int CINI::GetStoreFileSize() const
{
    HANDLE file = CreateFileA(curXml, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return -1;
    DWORD size = GetFileSize(file, nullptr);
    CloseHandle(file);
    if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return -1;
    return static_cast<int>(size);
}

void CINI::FormatFileSize(int size, char* out)
{
    FormatSizeText(size, out, 128);
}
