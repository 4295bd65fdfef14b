#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/window_object.h"
#include "dialogs/dialog_context.h"
#include "web/link_check.h"

// One row of the results: a link that is dead, moved or needs a look.
struct LinkResultRow {
    LinkVerdict verdict = LinkVerdict::kNeedsLook;
    int folder = 0;
    int note = 0;
    int entry = 0;
    std::string folderName;
    std::string noteName;
    std::string title;
    std::string address;
    std::string status;   // the status, or where a moved link went now
};

// The link check of the whole collection or of one folder (template 150):
// a progress bar, checked / total and dead so far, the host waited on,
// the time gone and left. "中止" (and Esc, the close box) stops at once.
// When the run ends or is stopped, what it found is written in one store
// write after the usual backup (nothing when nothing changed). Runs
// modally inside its constructor.
class Dlg_LinkCheck : public WindowObject {
public:
    Dlg_LinkCheck(int templateId, const DialogHost& host);
    ~Dlg_LinkCheck() override;
    BOOL HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // Whether a run took place (its results are worth showing).
    bool Ran() const { return ran_; }
    bool Stopped() const { return stopped_; }
    const std::vector<LinkResultRow>& Rows() const { return rows_; }
    size_t Checked() const { return checked_; }
    size_t Total() const { return links_.size(); }

private:
    struct Link {
        int folder, note, entry;
        std::string address;
        char valid[5];
        char update[11];
    };
    void OnInitDialog(HWND dialog);
    void OnTick();
    // The run ended or was stopped: write, collect the rows, end.
    void Finish(bool stopped);

    DialogContext context_;
    HWND dialog_ = nullptr;
    std::vector<Link> links_;
    std::shared_ptr<LinkCheckRun> run_;
    ULONGLONG started_ = 0;
    bool ran_ = false;
    bool stopped_ = false;
    bool ended_ = false;
    size_t checked_ = 0;
    std::vector<LinkResultRow> rows_;
};

// The results (template 151): the dead, moved and doubtful links in three
// groups, each row folder / note / title / address / status, and the
// counts. A double-click selects the entry in the main window.
class Dlg_LinkResults : public WindowObject {
public:
    Dlg_LinkResults(int templateId, const DialogHost& host, const Dlg_LinkCheck& check);
    BOOL HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    void OnInitDialog(HWND dialog);
    void ShowRow(int row);

    DialogContext context_;
    const Dlg_LinkCheck& check_;
    HWND dialog_ = nullptr;
    HWND list_ = nullptr;
    std::vector<const LinkResultRow*> shown_;
};
