// The import and export commands: a browser's bookmark file chosen in the
// common file dialogs; the import runs in its own dialog, the export here.
#include <windows.h>
#include <commdlg.h>

#include <cstdio>

#include "resources/resource.h"
#include "bookmarks/bookmark_export.h"
#include "bookmarks/bookmark_files.h"
#include "bookmarks/bookmark_platform_win.h"
#include "store/store_failure.h"
#include "ui/child_wnd.h"

namespace {

const char kFilter[] = "HTML ファイル (*.htm;*.html)\0*.htm;*.html\0すべてのファイル (*.*)\0*.*\0";

// The file to read (save false) or to write; false when cancelled.
bool ChooseBookmarkFile(HWND owner, bool save, char (&path)[MAX_PATH])
{
    OPENFILENAMEA ofn;
    ZeroMemory(&ofn, sizeof ofn);
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = kFilter;
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = "html";
    ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (save) {
        ofn.lpstrTitle = "ブックマークファイルの保存";
        ofn.Flags |= OFN_OVERWRITEPROMPT;
        return GetSaveFileNameA(&ofn) != FALSE;
    }
    ofn.lpstrTitle = "ブックマークファイルを開く";
    ofn.Flags |= OFN_FILEMUSTEXIST;
    return GetOpenFileNameA(&ofn) != FALSE;
}

// Whether two names lead to the same file: the same full path, letter case
// aside, or (for files that exist) the same file of the same volume.
bool SameFile(const char* a, const char* b)
{
    char fullA[MAX_PATH] = {};
    char fullB[MAX_PATH] = {};
    if (GetFullPathNameA(a, MAX_PATH, fullA, nullptr) != 0 && GetFullPathNameA(b, MAX_PATH, fullB, nullptr) != 0 &&
        lstrcmpiA(fullA, fullB) == 0)
        return true;
    auto identify = [](const char* path, BY_HANDLE_FILE_INFORMATION* info) {
        HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        bool known = GetFileInformationByHandle(file, info) != FALSE;
        CloseHandle(file);
        return known;
    };
    BY_HANDLE_FILE_INFORMATION infoA;
    BY_HANDLE_FILE_INFORMATION infoB;
    return identify(a, &infoA) && identify(b, &infoB) &&
           infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber &&
           infoA.nFileIndexHigh == infoB.nFileIndexHigh && infoA.nFileIndexLow == infoB.nFileIndexLow &&
           (infoA.nFileIndexHigh != 0 || infoA.nFileIndexLow != 0);
}

size_t EntryCount(const std::vector<FolderRecord>& folders)
{
    size_t count = 0;
    for (const FolderRecord& folder : folders) {
        for (const NoteRecord& note : folder.notes)
            count += note.entries.size();
    }
    return count;
}

}  // namespace

void CChildWnd::ImportBookmarks(HWND host)
{
    if (store.StorePath()[0] == '\0')
        return;
    char path[MAX_PATH] = {};
    if (ChooseBookmarkFile(host, false, path))
        RunDialog(IDD_IMPORT, path);
}

void CChildWnd::ExportBookmarks(HWND host)
{
    if (store.StorePath()[0] == '\0')
        return;
    char path[MAX_PATH] = "bookmarks.html";
    if (!ChooseBookmarkFile(host, true, path))
        return;
    // The collection and its backup are never written over with HTML.
    if (SameFile(path, store.StorePath()) || SameFile(path, BackupPathFor(store.StorePath()).c_str())) {
        MessageBoxA(hwndTreeHost,
                    "開いているストアファイルとそのバックアップには書き出せません。\n別のファイル名を指定して下さい。",
                    "ERROR", MB_OK | MB_ICONERROR);
        return;
    }
    // The file as it is now, read apart from the snapshot the views show.
    tree.SetBusy(true);
    CmyXml current;
    current.SetSettings(&settings);
    const bool loaded = current.LoadFrom(store.StorePath()) != 0;
    HRESULT written = E_FAIL;
    if (loaded)
        written = WriteBookmarkBytes(path, WriteBookmarkFile(current.Snapshot(), WinBookmarkPlatform()));
    tree.SetBusy(false);

    char text[MAX_PATH + 512];
    if (!loaded) {
        MessageBoxA(hwndTreeHost, "ストアファイルを読み込めませんでした。エクスポートしませんでした。", "ERROR",
                    MB_OK | MB_ICONERROR);
    } else if (FAILED(written)) {
        snprintf(text, sizeof text, "ファイルに書き込めませんでした。\n\n%s\n%s", path,
                 ResultCodeMeaning(written).c_str());
        MessageBoxA(hwndTreeHost, text, "ERROR", MB_OK | MB_ICONERROR);
    } else {
        snprintf(text, sizeof text, "%zu 件のリンクをエクスポートしました。\n\n%s", EntryCount(current.Snapshot()), path);
        MessageBoxA(hwndTreeHost, text, "エクスポート", MB_OK | MB_ICONINFORMATION);
    }
}
