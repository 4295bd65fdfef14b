// The Open command: choose a store file or name a new one, create it from the
// template when missing, record it in the settings and show it.
#include <cstdio>
#include <cstring>

#include "app/path_text.h"
#include "ui/child_wnd.h"
#include "resources/resource.h"
#include "ui/toolbar.h"

bool CChildWnd::SelectChosenStore()
{
    char* folder = settings.PickPath();
    char* name = settings.CurXml();
    CutAtLastBackslash(folder);

    char full[MAX_PATH * 2];
    snprintf(full, sizeof full, "%s\\%s", folder, name);
    // Windows' dialog adds the default extension to a bare new name, Wine's
    // does not: add it here so both create the same file. An existing file
    // without extension is still opened as it is.
    size_t nameLength = strlen(name);
    if (!FileNameHasExtension(name) && GetFileAttributesA(full) == INVALID_FILE_ATTRIBUTES &&
        nameLength + 4 < static_cast<size_t>(CINI::kTextSize)) {
        snprintf(name + nameLength, CINI::kTextSize - nameLength, ".xml");
    }

    // "C:" alone names the drive's current folder, not its root: a store at
    // the root would not be found and the template would replace it.
    char searchFolder[MAX_PATH + 2];
    snprintf(searchFolder, sizeof searchFolder, "%s%s", folder,
             folder[0] != '\0' && folder[strlen(folder) - 1] == ':' ? "\\" : "");
    char found[MAX_PATH];
    char* filePart = nullptr;
    if (SearchPathA(searchFolder, name, ".xml", MAX_PATH, found, &filePart) == 0) {
        snprintf(full, sizeof full, "%s\\%s", folder, name);
        if (!store.CreateStoreFile(full)) {
            MessageBoxA(nullptr, "XMLﾌｧｲﾙの作成に失敗しました", "CHK", MB_OK | MB_ICONERROR);
            return false;
        }
    }
    if (!settings.SaveCurrentStore()) {
        MessageBoxA(nullptr, "iniﾌｧｲﾙへの書き込みに失敗しました", "CHK", MB_OK | MB_ICONERROR);
        return false;
    }
    return true;
}

void CChildWnd::OpenStore(HWND host)
{
    if (!settings.ChooseStoreFile(host))
        return;
    if (!SelectChosenStore())
        return;

    tree.SetBusy(true);
    store.ClearSnapshot();
    ListView_DeleteAllItems(list.control);
    store.SetStorePath(settings.CurXml());
    if (store.FolderCount() >= 1) {
        tree.FillTree();
        if (statusBar != nullptr) {
            statusBar->SetText(3, FileNamePart(settings.CurXml()));
            char size[128];
            CINI::FormatFileSize(settings.GetStoreFileSize(), size);
            statusBar->SetText(2, size);
        }
    } else {
        // Nothing of the previous store may stay reachable: its items would
        // name folders the snapshot no longer has.
        TreeView_DeleteAllItems(tree.control);
        if (toolbar != nullptr)
            toolbar->EnableButton(FALSE, ID_NEW_ENTRY);
    }
    tree.SetBusy(false);
}
