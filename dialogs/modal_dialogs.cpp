#include "dialogs/modal_dialogs.h"

#include "dialogs/about.h"
#include "dialogs/import_dialog.h"
#include "dialogs/new_entry_dialog.h"
#include "dialogs/property_dialog.h"
#include "dialogs/update_check_dialog.h"
#include "resources/resource.h"

void RunModalDialog(HINSTANCE instance, int templateId, HWND owner, CListCtrl* list, CTreeCtrl* tree,
                    CmyXml* store, CINI* settings, const char* path)
{
    // Each dialog runs inside its construction; the object goes when it
    // returns, after its worker has ended.
    switch (templateId) {
    case IDD_NEW_ENTRY:
        delete new Dlg_NewPinRoll(instance, templateId, owner, list, tree, store, settings);
        break;
    case IDD_PROPERTY:
        delete new Dlg_Property(instance, templateId, owner, list, tree, store, settings);
        break;
    case IDD_UPDATE_CHECK:
        delete new Dlg_Updatechk(instance, templateId, owner, list, tree, store, settings);
        break;
    case IDD_IMPORT:
        delete new Dlg_Import(instance, templateId, owner, list, tree, store, settings, path);
        break;
    case IDD_ABOUT: {
        // The about box needs none of the program's objects.
        Dlg_Ver about(instance, templateId, owner);
        break;
    }
    default:
        break;
    }
}
