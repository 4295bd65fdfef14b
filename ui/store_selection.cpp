// The Open command: choose a store file or name a new one, create it from the
// template when missing, record it in the settings and show it.
#include <cstdio>
#include <cstring>

#include "app/path_text.h"
#include "ui/child_wnd.h"
#include "resources/resource.h"
#include "ui/toolbar.h"

namespace {

bool IsExistingFile(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

bool CChildWnd::SelectChosenStore()
{
    char* folder = settings.PickPath();
    char* name = settings.CurXml();
    CutAtLastBackslash(folder);

    // The template is written only where no file of that name exists: an
    // existing store must never be replaced by an empty one. A name without
    // extension is the file itself when it exists, else the same name with
    // ".xml" (Windows' dialog adds the default extension to a new name,
    // Wine's does not).
    char full[MAX_PATH * 2];
    snprintf(full, sizeof full, "%s\\%s", folder, name);
    bool exists = IsExistingFile(full);
    size_t nameLength = strlen(name);
    if (!exists && !FileNameHasExtension(name) && nameLength + 4 < static_cast<size_t>(CINI::kTextSize)) {
        snprintf(name + nameLength, CINI::kTextSize - nameLength, ".xml");
        snprintf(full, sizeof full, "%s\\%s", folder, name);
        exists = IsExistingFile(full);
    }
    if (!exists && !store.CreateStoreFile(full)) {
        MessageBoxA(nullptr, "XMLﾌｧｲﾙの作成に失敗しました", "CHK", MB_OK | MB_ICONERROR);
        return false;
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

    // Nothing of the previous store may stay reachable: its items would
    // name folders the snapshot no longer has.
    store.ClearSnapshot();
    store.SetStorePath(settings.CurXml());
    views.StoreReplaced(false, false);
}
