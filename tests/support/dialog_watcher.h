#pragma once
#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>
#include <atomic>

// Watches for top-level dialogs (#32770) of this process from its own thread
// and hands each newly seen one to a handler, which answers it. Needed
// because message boxes and common dialogs block the thread that shows them.
class DialogWatcher {
public:
    // Return true when the dialog was dealt with; false to be called again.
    using Handler = std::function<bool(HWND dialog)>;

    // Watches the dialogs of the given process (this one by default).
    explicit DialogWatcher(Handler handler, DWORD process = 0);
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

private:
    void Run();

    Handler handler_;
    DWORD process_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// What a message box showed.
struct SeenBox {
    std::string caption;
    std::string text;
    std::string icon;     // "error", "warning", "question", "information" or ""
    HWND owner = nullptr;
};

// Answers every message box with the next button of a list (the last one
// repeats) and records what each box showed.
class MessageBoxAnswerer {
public:
    explicit MessageBoxAnswerer(std::vector<int> buttons = {IDOK}, DWORD process = 0);
    std::vector<SeenBox> Seen();
    size_t Count();

private:
    bool Answer(HWND box);

    std::mutex mutex_;
    std::vector<int> buttons_;
    std::vector<SeenBox> seen_;
    DialogWatcher watcher_;
};

// Answers the file dialog titled title (by default the store's
// "ファイルを開く") with a typed name (an empty name presses Cancel) and
// every message box (the create or overwrite prompt, error boxes, reports)
// with Yes where it has Yes, else OK.
class FileDialogDriver {
public:
    explicit FileDialogDriver(std::string typed, std::string title = "ファイルを開く");
    int Prompts() const { return prompts_; }
    std::vector<SeenBox> Boxes();

private:
    bool Handle(HWND dialog);

    std::string typed_;
    std::string title_;
    std::atomic<int> prompts_{0};
    std::mutex mutex_;
    std::vector<SeenBox> boxes_;
    DialogWatcher watcher_;
};

std::string WindowText(HWND window);
// What a message box shows (caption, text, icon).
SeenBox DescribeBox(HWND box);
// Presses a dialog button by id, as a click would.
void PressButton(HWND dialog, int id);
