// Sorting rows by a clicked column, and the alternating row colours.
#include <cstdlib>

#include "ui/list_ctrl.h"

namespace {

// One direction flag per column for the whole run: each click flips it, so
// the first click sorts descending.
bool sortDescendingTable[kListColumnCount] = {};

int CALLBACK CompareThunk(LPARAM a, LPARAM b, LPARAM self)
{
    return reinterpret_cast<const CListCtrl*>(self)->CompareRows(a, b);
}

}  // namespace

void CListCtrl::SortByColumn(const NMLISTVIEW* click)
{
    int column = click->iSubItem;
    if (column < 0 || column >= kListColumnCount)
        return;
    sortDescendingTable[column] = !sortDescendingTable[column];
    sortColumn = column;
    sortAsText = column != kCountColumn;
    sortDescending = sortDescendingTable[column];
    ListView_SortItems(control, CompareThunk, reinterpret_cast<LPARAM>(this));
}

int CListCtrl::CompareRows(LPARAM a, LPARAM b) const
{
    char textA[kAddressSize] = {};
    char textB[kAddressSize] = {};
    LVFINDINFOA find;
    ZeroMemory(&find, sizeof find);
    find.flags = LVFI_PARAM;
    find.lParam = a;
    int rowA = static_cast<int>(SendMessageA(control, LVM_FINDITEMA, -1, reinterpret_cast<LPARAM>(&find)));
    find.lParam = b;
    int rowB = static_cast<int>(SendMessageA(control, LVM_FINDITEMA, -1, reinterpret_cast<LPARAM>(&find)));
    ListView_GetItemText(control, rowA, sortColumn, textA, sizeof textA);
    ListView_GetItemText(control, rowB, sortColumn, textB, sizeof textB);

    int result;
    if (sortAsText) {
        result = lstrcmpA(textA, textB);
    } else {
        double x = strtod(textA, nullptr);
        double y = strtod(textB, nullptr);
        if (x == y)
            return 0;
        result = x > y ? 1 : -1;
    }
    return sortDescending ? -result : result;
}

LRESULT CListCtrl::DrawListRow(const NMLVCUSTOMDRAW* draw) const
{
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && draw->nmcd.dwItemSpec % 2 == 0)
        const_cast<NMLVCUSTOMDRAW*>(draw)->clrTextBk = RGB(200, 210, 255);
    return CDRF_DODEFAULT;
}
