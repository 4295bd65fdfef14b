#include "support/dialog_watcher.h"

#include <set>

namespace {

struct FindContext {
    DWORD process;
    std::vector<HWND> dialogs;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM param)
{
    auto* ctx = reinterpret_cast<FindContext*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != ctx->process || !IsWindowVisible(window))
        return TRUE;
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") == 0)
        ctx->dialogs.push_back(window);
    return TRUE;
}

std::string IconName(HWND box)
{
    // Windows gives the icon control id 20, Wine stc1 (0x440).
    HICON shown = reinterpret_cast<HICON>(SendDlgItemMessageA(box, 20, STM_GETICON, 0, 0));
    if (shown == nullptr)
        shown = reinterpret_cast<HICON>(SendDlgItemMessageA(box, 0x440, STM_GETICON, 0, 0));
    if (shown == nullptr)
        return "";
    struct { LPCSTR id; const char* name; } icons[] = {
        {IDI_HAND, "error"}, {IDI_EXCLAMATION, "warning"},
        {IDI_QUESTION, "question"}, {IDI_ASTERISK, "information"}};
    for (const auto& icon : icons) {
        if (LoadIconA(nullptr, icon.id) == shown)
            return icon.name;
    }
    return "other";
}

}  // namespace

SeenBox DescribeBox(HWND box)
{
    return SeenBox{WindowText(box), WindowText(GetDlgItem(box, 0xFFFF)), IconName(box),
                   GetWindow(box, GW_OWNER)};
}

std::string WindowText(HWND window)
{
    char text[4096] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

void PressButton(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

DialogWatcher::DialogWatcher(Handler handler, DWORD process)
    : handler_(std::move(handler)),
      process_(process != 0 ? process : GetCurrentProcessId()),
      thread_([this] { Run(); })
{
}

DialogWatcher::~DialogWatcher()
{
    stop_ = true;
    thread_.join();
}

void DialogWatcher::Run()
{
    std::set<HWND> done;
    while (!stop_) {
        FindContext ctx{process_, {}};
        EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&ctx));
        for (HWND dialog : ctx.dialogs) {
            if (done.count(dialog) == 0 && handler_(dialog))
                done.insert(dialog);
        }
        // Forget handles that are gone; the system may reuse them.
        for (auto it = done.begin(); it != done.end();)
            it = IsWindow(*it) ? std::next(it) : done.erase(it);
        Sleep(20);
    }
}

MessageBoxAnswerer::MessageBoxAnswerer(std::vector<int> buttons, DWORD process)
    : buttons_(std::move(buttons)), watcher_([this](HWND box) { return Answer(box); }, process)
{
}

bool MessageBoxAnswerer::Answer(HWND box)
{
    // A message box shows its text in static 0xFFFF; the program's dialogs
    // use that id for labels too, but they also hold edit boxes.
    if (GetDlgItem(box, 0xFFFF) == nullptr || FindWindowExA(box, nullptr, "Edit", nullptr) != nullptr)
        return false;
    SeenBox seen = DescribeBox(box);
    int button;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        size_t i = seen_.size();
        button = buttons_.empty() ? IDOK : buttons_[i < buttons_.size() ? i : buttons_.size() - 1];
        seen_.push_back(seen);
    }
    PressButton(box, button);
    return true;
}

std::vector<SeenBox> MessageBoxAnswerer::Seen()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
}

size_t MessageBoxAnswerer::Count()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_.size();
}

FileDialogDriver::FileDialogDriver(std::string typed, std::string title)
    : typed_(std::move(typed)), title_(std::move(title)), watcher_([this](HWND d) { return Handle(d); })
{
}

bool FileDialogDriver::Handle(HWND dialog)
{
    bool isFileDialog = GetDlgItem(dialog, 0x47C) != nullptr;
    // Wine captions the create prompt with the dialog's own title.
    if (!isFileDialog && GetDlgItem(dialog, 0xFFFF) != nullptr) {
        bool question = GetDlgItem(dialog, IDYES) != nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            boxes_.push_back(DescribeBox(dialog));
        }
        if (question)
            ++prompts_;
        PressButton(dialog, question ? IDYES : IDOK);
        return true;
    }
    if (!isFileDialog || WindowText(dialog) != title_)
        return false;
    if (typed_.empty()) {
        PressButton(dialog, IDCANCEL);
    } else {
        SetDlgItemTextA(dialog, 0x47C, typed_.c_str());
        PressButton(dialog, IDOK);
    }
    return true;
}

std::vector<SeenBox> FileDialogDriver::Boxes()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return boxes_;
}
