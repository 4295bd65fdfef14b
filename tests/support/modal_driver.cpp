#include "support/modal_driver.h"

#include <atomic>
#include <thread>

#include "support/dialog_watcher.h"

namespace {

struct Search {
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char cls[16] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(window) || lstrcmpA(cls, "#32770") != 0 ||
        WindowText(window).find(search->caption) == std::string::npos)
        return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

HWND FindOwnDialog(const char* caption)
{
    Search search{caption, nullptr};
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool DriveModal(HWND host, int command, const char* caption, const std::function<void(HWND dialog)>& script)
{
    return DriveModal([&] { SendMessageA(host, WM_COMMAND, command, 0); }, caption, script);
}

bool DriveModal(const std::function<void()>& action, const char* caption,
                const std::function<void(HWND dialog)>& script)
{
    std::atomic<bool> returned{false};
    std::atomic<bool> leftOpen{false};
    std::thread driver([&] {
        HWND dialog = nullptr;
        WaitUntil([&] { return returned || (dialog = FindOwnDialog(caption)) != nullptr; });
        script(dialog);
        if (dialog != nullptr && !WaitUntil([&] { return returned.load(); }, 60000)) {
            leftOpen = true;
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
    });
    action();
    returned = true;
    driver.join();
    return !leftOpen;
}

std::string ItemText(HWND dialog, int id)
{
    return WindowText(GetDlgItem(dialog, id));
}

bool ItemEnabled(HWND dialog, int id)
{
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}
