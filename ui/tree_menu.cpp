// The tree's context menu, its graying rules (shared with the main menu) and
// its item colours.
#include "store/xml_store.h"
#include "resources/resource.h"
#include "ui/tree_ctrl.h"
#include "ui/view_helpers.h"

bool CTreeCtrl::IsStoreOpen() const
{
    return store != nullptr && store->StorePath()[0] != '\0';
}

void CTreeCtrl::EnableTreeMenu(HTREEITEM item, HMENU menu) const
{
    auto gray = [menu](UINT id) { EnableMenuItem(menu, id, MF_BYCOMMAND | MF_GRAYED); };
    if (item == nullptr) {
        for (UINT id : {ID_DELETE, ID_EDIT, ID_NEW_NOTE, ID_NEW_ENTRY, ID_CHECK_UPDATES, ID_CHECK_FOLDER_LINKS})
            gray(id);
    } else {
        TreePosition pos;
        if (!GetItemPosition(item, &pos))
            gray(ID_NEW_ENTRY);
        else
            gray(ID_CHECK_FOLDER_LINKS);   // a folder's links only
    }
    gray(ID_SELECT_ALL);
    gray(ID_COPY_ADDRESS);
    gray(ID_CHECK_UPDATES);
    if (!IsStoreOpen())
        gray(ID_NEW_FOLDER);
}

void CTreeCtrl::ShowTreeMenu(HINSTANCE instance, POINT screen)
{
    TVHITTESTINFO hit;
    ZeroMemory(&hit, sizeof hit);
    GetCursorPos(&hit.pt);
    ScreenToClient(control, &hit.pt);
    HTREEITEM item = TreeView_HitTest(control, &hit);
    // Right of a label counts as on the item too.
    if (item != nullptr && (hit.flags & TVHT_ONITEM) == 0 && (hit.flags & TVHT_ONITEMRIGHT) == 0)
        item = nullptr;
    if (item != nullptr)
        TreeView_SelectItem(control, item);
    ShowContextMenu(instance, 0, GetParent(control), screen, TPM_LEFTBUTTON,
                    [&](HMENU popup) { EnableTreeMenu(item, popup); });
}

LRESULT CTreeCtrl::DrawTreeItem(const NMTVCUSTOMDRAW* draw) const
{
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT)
        return CDRF_DODEFAULT;

    auto* cd = const_cast<NMTVCUSTOMDRAW*>(draw);
    const COLORREF blue = RGB(0, 0, 255);
    const COLORREF grey = RGB(210, 210, 200);
    switch (draw->nmcd.uItemState & (CDIS_SELECTED | CDIS_FOCUS | CDIS_HOT)) {
    case 0:
    case CDIS_HOT:
        cd->clrText = blue;
        break;
    case CDIS_SELECTED | CDIS_FOCUS:
        cd->clrText = RGB(0, 255, 255);
        break;
    case CDIS_SELECTED:
        cd->clrText = blue;
        cd->clrTextBk = grey;
        break;
    case CDIS_SELECTED | CDIS_FOCUS | CDIS_HOT:
        break;
    default:
        cd->clrText = RGB(0, 0, 0);
        cd->clrTextBk = grey;
        break;
    }
    return CDRF_DODEFAULT;
}
