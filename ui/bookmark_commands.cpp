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
    // The file as it is now, not the views' copy of it.
    tree.SetBusy(true);
    const bool loaded = store.ReloadSnapshot() != 0;
    HRESULT written = E_FAIL;
    if (loaded)
        written = WriteBookmarkBytes(path, WriteBookmarkFile(store.Snapshot(), WinBookmarkPlatform()));
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
        snprintf(text, sizeof text, "%zu 件のリンクをエクスポートしました。\n\n%s", EntryCount(store.Snapshot()), path);
        MessageBoxA(hwndTreeHost, text, "エクスポート", MB_OK | MB_ICONINFORMATION);
    }
}
