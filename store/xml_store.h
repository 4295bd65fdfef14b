#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "store/records.h"
#include "store/safe_replace.h"

class AnsiTable;
class CINI;
struct EntryPositions;
struct MergePlan;
struct StoreFailure;
namespace pugi {
class xml_document;
class xml_node;
}

// An entry named by its key ("f-n-e") and its address, as a list showed it.
struct EntryPick {
    std::string key;
    std::string address;
};

// The store: the only code that touches the store file (UTF-8 XML):
//
//   <?xml version="1.0" encoding="UTF-8" standalone="no"?>
//   <root>
//     <dir>                                    a folder, any number
//       <id>0</id><name>...</name>
//       <array>
//         <booklist>                           a note, any number
//           <id>0</id><name>...</name>
//           <array>
//             <bookmark>                       an entry, any number
//               <id/> <count/> <valid/> <date/> <access/> <update/>
//               <list/> <title/> <comment/>    (each holding its text)
//
// Folders, notes and entries are addressed by position among their
// siblings, which their id always equals (a new note's "999" aside).
// Every operation loads the whole file into a fresh document, changes it,
// writes it back and returns 1 or 0; the snapshot is re-read by the caller
// (ClearSnapshot, then LoadSnapshot). A failure of the XML layer is shown
// in a message box (caption "Error") owned by the owner window and logged.
class CmyXml {
public:
    CmyXml();
    virtual ~CmyXml();
    CmyXml(const CmyXml&) = delete;
    CmyXml& operator=(const CmyXml&) = delete;

    // The settings (not owned) give exeDir, the folder of the error log.
    void SetSettings(CINI* settings) { settings_ = settings; }
    // For tests: simulates a write that breaks off (or a process killed)
    // after the temporary file is complete and before it replaces the store.
    void SetBeforeReplaceHook(BeforeReplaceHook hook) { beforeReplace_ = hook; }

    // ---- Store file, snapshot, saving and backups ----
    // Takes at most 259 characters of path; a non-empty path is loaded into
    // the snapshot (which is not cleared first).
    void SetStorePath(const char* path);
    const char* StorePath() const { return storePath_; }
    // The store at path as the snapshot, whatever it held before; 1, or 0
    // when the file could not be read as a store.
    int LoadFrom(const char* path);
    // Appends the file's folders to the snapshot; 1, or 0 on a failure,
    // which is logged without a message box. Folders read completely before
    // the failure stay.
    int LoadSnapshot();
    void ClearSnapshot();
    // ClearSnapshot, then LoadSnapshot: the snapshot as the file holds it now.
    int ReloadSnapshot();
    std::vector<FolderRecord> CopySnapshot() const { return snapshot_; }
    const std::vector<FolderRecord>& Snapshot() const { return snapshot_; }
    int FolderCount() const { return static_cast<int>(snapshot_.size()); }
    // Writes the empty-store template to path (text mode, CR LF); 1 or 0,
    // nothing reported.
    int CreateStoreFile(const char* path);
    // Copies the store file to its backup (see BackupPathFor), and back.
    void BackupStore();
    void RestoreStore();
    // Writes doc indented, replacing the store file only when the whole
    // write succeeded. On a failure: restores the backup, shows the report
    // and a second box about the title's conversion, logs, returns 0.
    int SaveIndented(pugi::xml_document* doc, HWND owner);

    // ---- Folders and notes (positions f, n) ----
    int NewFolder(HWND owner);
    int NewNote(int f, int id, HWND owner);
    // newPosition, when given, receives the renamed item's place once its
    // siblings are sorted again.
    int RenameFolder(const char* name, int f, HWND owner, int* newPosition = nullptr);
    int RenameNote(const char* name, int f, int n, HWND owner, int* newPosition = nullptr);
    int DeleteFolder(int f, HWND owner);
    int DeleteNote(int f, int n, HWND owner);
    // newPosition, when given, receives the moved note's place among the
    // destination's notes once they are sorted.
    int MoveNote(int sourceF, int sourceN, int destF, HWND owner, int* newPosition = nullptr);
    // Searches the snapshot for exactly this name; position or -1.
    int FindFolderByName(const char* name) const;
    int FindNoteByName(int f, const char* name) const;
    // Steps run on the document of the operation that calls them; each
    // reports its own failure and returns 1 or 0.
    int SortFolders(pugi::xml_document* doc, HWND owner);
    int SortNotes(pugi::xml_document* doc, int f, HWND owner);
    int RenumberFolders(pugi::xml_document* doc, HWND owner);
    int RenumberNotes(pugi::xml_document* doc, int f, HWND owner);

    // ---- Entries ----
    int AddEntry(const EntryRecord& record, HWND owner);
    // Writes the title, address and comment of the entry at the record's
    // positions; the other values stay as the file holds them.
    int EditEntry(const EntryRecord& record, HWND owner);
    int SetEntryTitle(const char* title, const char* key, HWND owner);
    int RecordAccess(const char* key, HWND owner);
    // Removes the entries these keys name, each once, and renumbers their
    // notes; keys that name nothing are skipped. 0 when none was removed.
    int DeleteEntries(const std::vector<std::string>& keys, HWND owner);
    // The duplicate finder's removal: each entry is named by its key and the
    // address the user saw. The store is backed up first and written
    // indented; when a key no longer names an entry with that address (the
    // file changed meanwhile), nothing is written and the result is 0.
    int DeleteCheckedEntries(const std::vector<EntryPick>& picks, HWND owner);
    int MoveEntry(int sourceF, int sourceN, int sourceE, int destF, int destN, HWND owner);
    int RenumberEntries(pugi::xml_document* doc, int f, int n, HWND owner);
    // backup: the usual backup first (a check of the whole collection).
    int ApplyCheckResults(const std::vector<EntryRecord>& records, HWND owner, bool backup = false);

    // ---- Import ----
    // Writes what a merge plan (bookmark_merge.h) made from the snapshot
    // adds, in one indented write after the backup: new folders and notes
    // appended at the positions the plan gives, entries at the end of their
    // notes, every id its position. A plan that adds nothing writes nothing
    // (1). A file that no longer matches the plan (another name at a
    // position, other counts) is left as it is (0, no report).
    int ImportEntries(const MergePlan& plan, HWND owner);

private:
    using Work = std::function<int(pugi::xml_document* doc)>;
    // The operation frame: a fresh document with the whole store file
    // loaded, the work, the failure report.
    // With backup, the file is copied to its backup first, but only when it
    // parsed as a store: a damaged file never replaces a good backup.
    // readOnly: the document is only read (the snapshot's load) and is
    // parsed with kSnapshotParseOptions.
    int RunOperation(HWND owner, bool showReport, const Work& work, bool backup = false, bool readOnly = false);
    // The document element; raises E_POINTER, telling why the file has
    // none, when there is none.
    pugi::xml_node RootOf(pugi::xml_document* doc) const;
    // Runs a step on an already loaded document with its own report.
    int RunStep(HWND owner, const std::function<int()>& step);
    void SavePlain(pugi::xml_document* doc);
    // SaveIndented with hint, when given, as the second box of a failure.
    int WriteIndented(pugi::xml_document* doc, HWND owner, const char* hint);
    void Report(const StoreFailure& failure, HWND owner, bool showBox);
    void LogReport(const std::string& text);
    int LoadSnapshotFrom(pugi::xml_document* doc);
    int SortChildrenByName(pugi::xml_document* doc, int f);
    // Removes the nodes, then renumbers each of their notes once.
    void RemoveEntryNodes(pugi::xml_document* doc, const std::vector<pugi::xml_node>& doomed,
                          const std::vector<EntryPositions>& notes, HWND owner);

    char storePath_[260];
    std::vector<FolderRecord> snapshot_;
    // The snapshot's long values; cleared with it.
    TextArena arena_;
    // Converts the snapshot's text; made at the first load.
    std::unique_ptr<AnsiTable> ansiTable_;
    CINI* settings_ = nullptr;
    // Whether the last BackupStore copied the file: a failed write restores
    // only a backup of this operation, never an older one.
    bool backupMade_ = false;
    BeforeReplaceHook beforeReplace_ = nullptr;
    // Why the running operation's document has no root element.
    std::string loadSource_;
    std::string loadProblem_;
};

// The backup's name: the store path without its file name's extension, plus
// "_old.xml" (links.xml -> links_old.xml, links -> links_old.xml). Built in
// a string, so no store path is too long for it.
std::string BackupPathFor(const char* storePath);
