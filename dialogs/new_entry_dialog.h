#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "app/owned_handle.h"
#include "app/window_object.h"
#include "dialogs/countdown.h"
#include "dialogs/dialog_context.h"
#include "dialogs/detached_work.h"
#include "store/records.h"
#include "web/title_fetch.h"

// The new-entry dialog (template 109): title (typed, or fetched from the
// page), address, comment and destination note. "登録" hands the work to a
// worker (RegisterEntry), which validates, refuses an address the
// destination note already holds, fetches, adds the entry, shows the note in
// the views and closes the dialog. Runs modally inside its constructor.
class Dlg_NewPinRoll : public WindowObject {
public:
    Dlg_NewPinRoll(int templateId, const DialogHost& host);
    BOOL HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    ~Dlg_NewPinRoll() override;

    INT_PTR Result() const { return result_; }

private:
    // A row of the destination list: a folder (note -1) or a note.
    struct Destination {
        int folder;
        int note;
    };
    // What the worker needs, taken when "登録" is pressed.
    struct Job {
        bool autoFetch;
        int folder;
        int note;
        int entryPosition;
    };

    void OnInitDialog(HWND dialog);
    void ChooseInitialDestination();
    void FillDestinations();
    void OnDestinationChosen();
    void OnAutoFetchClicked();
    void OnRegister();
    void OnCancel();
    int NotesIn(int folder) const;
    int EntriesIn(int folder, int note) const;
    // A handed-in page: its address, and its title or the fetch ticked.
    void FillFromRequest(const NewEntryRequest& request);

    // What the fetch found, owned by its thread until it posts.
    struct Fetch {
        EntryRecord record;
        bool reached = true;
        FetchedTitle title;
    };

    bool ReadInput(const Job& job, EntryRecord* record);
    bool RefuseDuplicate(const Job& job, const EntryRecord& record);
    void EnableInputs(bool enable);
    // The fetch has posted: the title into the record, then the entry.
    void OnFetched(WPARAM job);
    // The fetch ran past its bound: given up, the inputs back.
    void OnFetchTooLong();
    // Adds the entry on this thread; the views show it and the dialog ends.
    void AddNow(const EntryRecord& record);

    // On the fetch's own thread: the page's date and title.
    static void FetchInto(Fetch* fetch);

    DialogContext context_;
    INT_PTR result_ = 0;
    HWND dialog_ = nullptr;
    HWND title_ = nullptr;
    HWND address_ = nullptr;
    HWND comment_ = nullptr;
    HWND destination_ = nullptr;
    HWND autoFetchBox_ = nullptr;
    int destFolder_ = 0;
    int destNote_ = 0;
    int entryPosition_ = 0;
    char today_[11] = {};
    bool autoFetch_ = false;
    std::vector<Destination> rows_;
    Job job_ = {};
    std::shared_ptr<Fetch> fetch_;
    OwnedImageList images_;   // a ComboBoxEx does not free its image list
    Countdown countdown_;
    DetachedWork work_;
};
