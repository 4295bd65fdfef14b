// The tree runs the search: a hit is shown by selecting its note here and
// its row in the list.
#include "app/ansi_text.h"
#include "store/xml_store.h"
#include "ui/list_ctrl.h"
#include "ui/toolbar.h"
#include "ui/tree_ctrl.h"

void CTreeCtrl::FindNext(const SearchRequest& request)
{
    // Not while a dialog or a question has the main window: what it asked
    // about must stay where it is, and a worker may be writing the file.
    if (!IsWindowEnabled(GetAncestor(control, GA_ROOT)))
        return;
    SearchHit hit;
    if (SearchStep(&searchState, request, store->Snapshot(), &hit, IsAnsiLeadByte)) {
        ShowSearchHit(hit);
        ShowSearchStatus(request.text, searchState.hitCount);
        return;
    }
    // Cleared before the box: a search started while it shows keeps its text.
    ShowSearchStatus(nullptr, 0);
    HWND dialog = static_cast<HWND>(request.dialog);
    HWND owner = dialog != nullptr && IsWindow(dialog) ? dialog : control;
    MessageBoxA(owner, "最後まで検索しました。", "検索終了", MB_OK | MB_ICONINFORMATION);
}

void CTreeCtrl::ShowSearchHit(const SearchHit& hit)
{
    HTREEITEM folder = TreeView_GetRoot(control);
    for (int i = 0; i < hit.folder && folder != nullptr; ++i)
        folder = TreeView_GetNextSibling(control, folder);
    HTREEITEM note = folder != nullptr ? TreeView_GetChild(control, folder) : nullptr;
    for (int i = 0; i < hit.note && note != nullptr; ++i)
        note = TreeView_GetNextSibling(control, note);
    if (note != nullptr) {
        TreeView_EnsureVisible(control, note);
        // Another note selected: the selection change fills the list.
        TreeView_SelectItem(control, note);
    }
    if (list != nullptr)
        list->ShowEntryRow(hit.folder, hit.note, hit.entry);
}

void CTreeCtrl::ShowSearchStatus(const char* text, int count)
{
    char status[260] = "";
    if (text != nullptr)
        FormatSearchStatus(text, count, status, sizeof status, IsAnsiLeadByte);
    if (statusBar != nullptr)
        statusBar->SetText(1, status);
}
