#pragma once
#include <windows.h>

class CListCtrl;
class CTreeCtrl;
class CmyXml;
class CINI;

// The dialogs that the hosts run (a ModalDialogRunner): each runs inside
// its construction and is gone when this returns.
void RunModalDialog(HINSTANCE instance, int templateId, HWND owner, CListCtrl* list, CTreeCtrl* tree,
                    CmyXml* store, CINI* settings, const char* path);
