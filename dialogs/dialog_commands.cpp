#include "dialogs/dialog_commands.h"

#include "dialogs/about.h"
#include "resources/resource.h"
#include "ui/child_wnd.h"

namespace {

void RunAbout(CChildWnd& host)
{
    Dlg_Ver about(host.hInst, IDD_ABOUT, host.hwndTreeHost);
}

}  // namespace

void InstallDialogCommands(CChildWnd& host)
{
    host.SetDialogCommand(ID_ABOUT, RunAbout);
}
