#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "ui/base_wnd.h"
#include "app/owned_handle.h"
#include "app/window_object.h"
#include "ui/toolbar.h"

// The frame window "linkcairn": toolbar, the two panes, status bar, and the
// notification-area icon through which the hidden program is reached.
class MYWND : public WindowObject {
public:
    HWND hwnd = nullptr;
    HINSTANCE hInst = nullptr;
    NOTIFYICONDATAA trayData;
    CStatusBarWnd statusBar;
    CToolBarWnd toolbar;
    CBaseWnd panes;

    // modulePath: where the settings file is looked for (nullptr: beside
    // the executable); tests put it in a folder of their own.
    // runDialog: how the hosts run the modal dialogs (none without it).
    explicit MYWND(HINSTANCE instance, const char* modulePath = nullptr,
                   ModalDialogRunner runDialog = nullptr);
    ~MYWND() override;
    MYWND(const MYWND&) = delete;
    MYWND& operator=(const MYWND&) = delete;

    void CreateContents();
    void Layout();
    void SetTrayIcon(BOOL add);
    void ShowTrayMenu();
    BOOL HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                       LRESULT* result) override;

    // Menu enabling for the frame's menu (also what accelerators obey).
    void EnableMenu(HMENU menu);
    // An address handed to the program (its command line, another copy):
    // the window comes forward and the new-entry dialog opens with it.
    void OpenHandedLink(const std::string& address);

private:
    BOOL OnCommand(int command);
    BOOL OnTrayIcon(WPARAM id, LPARAM mouse);

    UINT taskbarCreated_ = 0;
    // Loaded once; the shell only borrows it, also when the icon is added
    // again after the notification area was recreated.
    OwnedIcon trayIcon_;
};

const UINT WM_TRAYICON = WM_APP + 4;
