#include "dialogs/modal_dialogs.h"

#include "dialogs/about.h"
#include "dialogs/import_dialog.h"
#include "dialogs/link_check_dialog.h"
#include "dialogs/new_entry_dialog.h"
#include "dialogs/property_dialog.h"
#include "dialogs/update_check_dialog.h"
#include "resources/resource.h"

void RunModalDialog(int templateId, const DialogHost& host, const char* path)
{
    // Each dialog runs inside its construction; the object goes when it
    // returns, after its worker has ended.
    switch (templateId) {
    case IDD_NEW_ENTRY:
        delete new Dlg_NewPinRoll(templateId, host);
        break;
    case IDD_PROPERTY:
        delete new Dlg_Property(templateId, host);
        break;
    case IDD_UPDATE_CHECK:
        delete new Dlg_Updatechk(templateId, host);
        break;
    case IDD_IMPORT:
        delete new Dlg_Import(templateId, host, path);
        break;
    case IDD_LINK_CHECK: {
        Dlg_LinkCheck check(templateId, host);
        if (check.Ran())
            Dlg_LinkResults results(IDD_LINK_RESULTS, host, check);
        break;
    }
    case IDD_ABOUT: {
        // The about box needs none of the program's objects.
        Dlg_Ver about(host.instance, templateId, host.owner);
        break;
    }
    default:
        break;
    }
}
