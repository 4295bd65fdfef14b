#pragma once
#include <windows.h>

#include <atomic>
#include <string>

#include "app/window_object.h"
#include "dialogs/dialog_context.h"
#include "dialogs/worker_thread.h"
#include "bookmarks/bookmark_import.h"
#include "bookmarks/bookmark_merge.h"

// The import of a browser's bookmark file (template 115). A worker reads
// the whole file, turns it into folders, notes and entries while the dialog
// shows the links read so far and a progress bar, plans where they go in
// the store and writes them in one store operation. キャンセル, Esc and
// closing stop the reading and nothing is written; once the write has
// begun they wait for it. The views are rebuilt after a write, and when
// the dialog has gone one message box says what came of it. Runs modally
// inside its constructor.
class Dlg_Import : public WindowObject {
public:
    Dlg_Import(int templateId, const DialogHost& host, const char* path);
    BOOL HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    ~Dlg_Import() override;

private:
    enum class Outcome {
        kCancelled, kUnreadable, kTooLarge, kTooManyLinks, kEmpty, kNotBookmarks, kOutOfMemory, kStoreFailed, kImported
    };

    void OnInitDialog(HWND dialog);
    void OnShowProgress();
    // The worker has ended (it posted its message), or the user stops it.
    void Finish();
    void Tell(HWND owner) const;

    // On the worker thread.
    void Import();
    Outcome ReadAndWrite();
    bool OnProgress(size_t links, size_t done, size_t total);

    DialogContext context_;
    std::string path_;
    HWND dialog_ = nullptr;
    // Cleared by the dialog's thread to stop the worker before the write.
    std::atomic<bool> running_{true};
    // What the worker has come to, shown by the dialog's timer.
    std::atomic<size_t> linksRead_{0};
    std::atomic<int> permille_{0};
    std::atomic<bool> writing_{false};
    bool ended_ = false;
    bool shownWriting_ = false;
    size_t shownLinks_ = static_cast<size_t>(-1);
    // Written by the worker, read once it has ended.
    Outcome outcome_ = Outcome::kCancelled;
    bool written_ = false;
    size_t linkTags_ = 0;   // of a file refused for too many links
    BookmarkImport read_;
    MergePlan plan_;
    WorkerThread worker_;   // last: ends (waits) before the fields it uses
};
