#include "bookmarks/bookmark_merge.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "app/text_cut.h"
#include "store/duplicate_groups.h"
#include "store/entry_key.h"
#include "store/name_compare.h"

namespace {

// A value held to its width (terminator included), cut between characters.
std::string Fitted(const std::string& text, size_t width)
{
    return text.substr(0, CutLength(text.data(), text.size(), width - 1));
}

struct FolderState {
    int position = 0;
    bool created = false;
    std::string name;
    int noteCount = 0;
    // name -> its notes of that name in order: note state, or -1 - position
    // for one not read yet
    std::unordered_map<std::string, std::vector<int>> notes;
};

struct NoteState {
    int folder = 0;   // folder state
    int position = 0;
    bool created = false;
    std::string name;
    int entryCount = 0;
    std::unordered_set<std::string> addresses;
    std::vector<ImportedEntry> added;
};

// The parts of a folder or note: "name", "name (2)", "name (3)"...
struct Chain {
    std::vector<int> parts;
    size_t open = 0;   // the first part that may still have room
};

// "name (k)", the name cut first so that the whole fits a name field.
std::string PartName(const std::string& base, size_t k)
{
    if (k == 1)
        return base;
    char suffix[24];
    snprintf(suffix, sizeof suffix, " (%zu)", k);
    const size_t room = kNameBytes - strlen(suffix);
    return base.substr(0, CutLength(base.data(), base.size(), room)) + suffix;
}

class Planner {
public:
    explicit Planner(const std::vector<FolderRecord>& store) : store_(store)
    {
        for (size_t f = 0; f < store.size(); ++f)
            folderNames_[store[f].name.c_str()].push_back(static_cast<int>(f));
        folderOfPosition_.assign(store.size(), -1);
    }

    void Add(ImportedNote& group);
    MergePlan Finish();

private:
    int StateOfFolder(int position);
    int FindFolder(const std::string& name, size_t repeat = 0);
    int CreateFolder(const std::string& name);
    int FindNote(int folder, const std::string& name, size_t repeat = 0);
    int CreateNote(int folder, const std::string& name);
    Chain& FolderChain(const std::string& name, size_t repeat);
    Chain& NoteChain(const ImportedNote& group);
    int NextNote(Chain& chain, const ImportedNote& group);
    bool IsDuplicate(const Chain& chain, const std::string& address) const;

    const std::vector<FolderRecord>& store_;
    // name -> the folders of that name in order: store position, or -1 - state
    std::unordered_map<std::string, std::vector<int>> folderNames_;
    std::vector<int> folderOfPosition_;                  // store position -> folder state, or -1
    std::vector<FolderState> folders_;
    std::vector<NoteState> notes_;
    std::unordered_map<std::string, Chain> folderChains_;
    std::unordered_map<std::string, Chain> noteChains_;
    size_t createdFolders_ = 0;
    size_t duplicates_ = 0;
    size_t noRoom_ = 0;
};

int Planner::StateOfFolder(int position)
{
    int& state = folderOfPosition_[static_cast<size_t>(position)];
    if (state < 0) {
        const FolderRecord& record = store_[static_cast<size_t>(position)];
        FolderState folder;
        folder.position = position;
        folder.name = record.name;
        folder.noteCount = static_cast<int>(record.notes.size());
        for (size_t n = 0; n < record.notes.size(); ++n)
            folder.notes[record.notes[n].name.c_str()].push_back(-1 - static_cast<int>(n));
        state = static_cast<int>(folders_.size());
        folders_.push_back(std::move(folder));
    }
    return state;
}

// The state of the folder of exactly that name that has `repeat` others of
// it before it, or -1.
int Planner::FindFolder(const std::string& name, size_t repeat)
{
    const auto it = folderNames_.find(name);
    if (it == folderNames_.end() || repeat >= it->second.size())
        return -1;
    const int found = it->second[repeat];
    return found >= 0 ? StateOfFolder(found) : -1 - found;
}

int Planner::CreateFolder(const std::string& name)
{
    const size_t position = store_.size() + createdFolders_;
    if (position >= static_cast<size_t>(kMaxChildren))
        return -1;
    ++createdFolders_;
    FolderState folder;
    folder.position = static_cast<int>(position);
    folder.created = true;
    folder.name = name;
    const int state = static_cast<int>(folders_.size());
    folders_.push_back(std::move(folder));
    folderNames_[name].push_back(-1 - state);
    return state;
}

// A note state of the folder state by exact name and its place among notes
// of that name, or -1.
int Planner::FindNote(int folder, const std::string& name, size_t repeat)
{
    FolderState& f = folders_[static_cast<size_t>(folder)];
    const auto it = f.notes.find(name);
    if (it == f.notes.end() || repeat >= it->second.size())
        return -1;
    int& found = it->second[repeat];
    if (found >= 0)
        return found;
    // An existing note, met for the first time: read its addresses.
    const size_t position = static_cast<size_t>(-1 - found);
    const NoteRecord& record = store_[static_cast<size_t>(f.position)].notes[position];
    NoteState note;
    note.folder = folder;
    note.position = static_cast<int>(position);
    note.name = record.name;
    note.entryCount = static_cast<int>(record.entries.size());
    note.addresses.reserve(record.entries.size());
    for (const EntryRecord& entry : record.entries)
        note.addresses.emplace(entry.list);
    found = static_cast<int>(notes_.size());
    notes_.push_back(std::move(note));
    return found;
}

int Planner::CreateNote(int folder, const std::string& name)
{
    FolderState& f = folders_[static_cast<size_t>(folder)];
    NoteState note;
    note.folder = folder;
    note.position = f.noteCount++;
    note.created = true;
    note.name = name;
    const int state = static_cast<int>(notes_.size());
    notes_.push_back(std::move(note));
    f.notes[name].push_back(state);
    return state;
}

std::string RepeatKey(const std::string& name, size_t repeat)
{
    char suffix[24];
    snprintf(suffix, sizeof suffix, "%c%zu", '\0', repeat);
    return name + std::string(suffix, 1 + strlen(suffix + 1));
}

// The existing parts of a folder, found once. A repeated name (the file's
// second folder of one name) is the store's second folder of that name;
// only the first has parts beyond it.
Chain& Planner::FolderChain(const std::string& name, size_t repeat)
{
    const std::string key = RepeatKey(name, repeat);
    auto it = folderChains_.find(key);
    if (it == folderChains_.end()) {
        Chain chain;
        for (size_t k = 1; k == 1 || repeat == 0; ++k) {
            const int folder = k == 1 ? FindFolder(name, repeat) : FindFolder(PartName(name, k));
            if (folder < 0)
                break;
            chain.parts.push_back(folder);
        }
        it = folderChains_.emplace(key, std::move(chain)).first;
    }
    return it->second;
}

// The existing parts of a note, looked for in every part of its folder.
Chain& Planner::NoteChain(const ImportedNote& group)
{
    std::string key = RepeatKey(group.folder, group.folderRepeat);
    key += '\0';
    key += RepeatKey(group.note, group.noteRepeat);
    auto it = noteChains_.find(key);
    if (it == noteChains_.end()) {
        const Chain& folders = FolderChain(group.folder, group.folderRepeat);
        Chain chain;
        for (size_t k = 1; k == 1 || group.noteRepeat == 0; ++k) {
            const std::string name = PartName(group.note, k);
            int found = -1;
            for (size_t i = 0; i < folders.parts.size() && found < 0; ++i)
                found = FindNote(folders.parts[i], name, k == 1 ? group.noteRepeat : 0);
            if (found < 0)
                break;
            chain.parts.push_back(found);
        }
        it = noteChains_.emplace(std::move(key), std::move(chain)).first;
    }
    return it->second;
}

bool Planner::IsDuplicate(const Chain& chain, const std::string& address) const
{
    for (int part : chain.parts) {
        if (notes_[static_cast<size_t>(part)].addresses.count(address) != 0)
            return true;
    }
    return false;
}

// The note that takes the next link: the first part with room, else the
// next part, found or made in the first part of the folder with room.
int Planner::NextNote(Chain& chain, const ImportedNote& group)
{
    while (chain.open < chain.parts.size() &&
           notes_[static_cast<size_t>(chain.parts[chain.open])].entryCount >= kMaxChildren)
        ++chain.open;
    if (chain.open < chain.parts.size())
        return chain.parts[chain.open];

    const std::string& folder = group.folder;
    const std::string name = PartName(group.note, chain.parts.size() + 1);
    Chain& folders = FolderChain(folder, group.folderRepeat);
    // A repeated note name that the folder lacks is made anew, under the
    // same name, rather than joining the first note of that name.
    const bool fresh = chain.parts.empty() && group.noteRepeat > 0;
    int target = -1;
    for (size_t i = 0; i < folders.parts.size() && target < 0 && !fresh; ++i)
        target = FindNote(folders.parts[i], name);
    while (target < 0) {
        while (folders.open < folders.parts.size() &&
               folders_[static_cast<size_t>(folders.parts[folders.open])].noteCount >= kMaxChildren)
            ++folders.open;
        if (folders.open < folders.parts.size()) {
            target = CreateNote(folders.parts[folders.open], name);
            break;
        }
        const std::string folderName = PartName(folder, folders.parts.size() + 1);
        // A repeated folder name that the store lacks is made anew under
        // the same name.
        int part = folders.parts.empty() && group.folderRepeat > 0 ? -1 : FindFolder(folderName);
        if (part < 0)
            part = CreateFolder(folderName);
        if (part < 0)
            return -1;
        folders.parts.push_back(part);
        target = fresh ? -1 : FindNote(part, name);
    }
    chain.parts.push_back(target);
    return NextNote(chain, group);
}

void Planner::Add(ImportedNote& group)
{
    if (group.note.empty()) {
        // A folder in the file's order, links or not.
        Chain& folders = FolderChain(group.folder, group.folderRepeat);
        if (folders.parts.empty()) {
            const int part = CreateFolder(group.folder);
            if (part >= 0)
                folders.parts.push_back(part);
        }
        return;
    }
    Chain& chain = NoteChain(group);
    if (chain.parts.empty() && group.entries.empty())
        NextNote(chain, group);   // a note without links, in its place
    for (ImportedEntry& entry : group.entries) {
        if (IsDuplicate(chain, entry.address)) {
            ++duplicates_;
            continue;
        }
        const int target = NextNote(chain, group);
        if (target < 0) {
            ++noRoom_;
            continue;
        }
        NoteState& note = notes_[static_cast<size_t>(target)];
        note.addresses.insert(entry.address);
        ++note.entryCount;
        note.added.push_back(std::move(entry));
    }
}

MergePlan Planner::Finish()
{
    MergePlan plan;
    plan.duplicates = duplicates_;
    plan.noRoom = noRoom_;
    std::vector<PlannedFolder> folders(folders_.size());
    for (size_t i = 0; i < folders_.size(); ++i) {
        folders[i].position = folders_[i].position;
        folders[i].created = folders_[i].created;
        folders[i].name = folders_[i].name;
    }
    for (NoteState& note : notes_) {
        if (note.added.empty() && !note.created)
            continue;
        plan.added += note.added.size();
        PlannedNote planned;
        planned.position = note.position;
        planned.created = note.created;
        planned.name = note.name;
        planned.entries = std::move(note.added);
        folders[static_cast<size_t>(note.folder)].notes.push_back(std::move(planned));
    }
    for (PlannedFolder& folder : folders) {
        if (folder.notes.empty() && !folder.created)
            continue;
        std::sort(folder.notes.begin(), folder.notes.end(),
                  [](const PlannedNote& a, const PlannedNote& b) { return a.position < b.position; });
        plan.folders.push_back(std::move(folder));
    }
    std::sort(plan.folders.begin(), plan.folders.end(),
              [](const PlannedFolder& a, const PlannedFolder& b) { return a.position < b.position; });
    return plan;
}

}  // namespace

MergePlan PlanMerge(const std::vector<FolderRecord>& store, std::vector<ImportedNote> import)
{
    Planner planner(store);
    for (ImportedNote& group : import)
        planner.Add(group);
    MergePlan plan = planner.Finish();
    // The per-note rule above stays exact; the summary also tells what the
    // collection already holds in some other spelling or place.
    const SameAddressIndex held(store);
    for (const PlannedFolder& folder : plan.folders) {
        for (const PlannedNote& note : folder.notes) {
            for (const ImportedEntry& entry : note.entries)
                plan.alreadyHeld += held.Holds(entry.address) ? 1 : 0;
        }
    }
    return plan;
}

void FillEntryRecord(const ImportedEntry& entry, int folder, int note, int position,
                     EntryRecord& record)
{
    record = EntryRecord();
    FormatEntryKey(folder, note, position, record.key, sizeof record.key);
    record.folderPos = folder;
    record.notePos = note;
    record.entryPos = position;
    snprintf(record.id, sizeof record.id, "%d", position);
    snprintf(record.count, sizeof record.count, "1");
    snprintf(record.valid, sizeof record.valid, "1");
    snprintf(record.date, sizeof record.date, "%s", entry.date);
    snprintf(record.access, sizeof record.access, "%s", entry.access);
    snprintf(record.update, sizeof record.update, "-");
    record.comment = Fitted(entry.comment, kCommentSize);
    record.list = Fitted(entry.address, kAddressSize);
    record.title = Fitted(entry.title, kTitleSize);
}

bool ApplyMergePlan(const MergePlan& plan, std::vector<FolderRecord>& store)
{
    for (const PlannedFolder& pf : plan.folders) {
        if (pf.created) {
            if (static_cast<size_t>(pf.position) != store.size())
                return false;
            store.emplace_back();
            snprintf(store.back().id, sizeof store.back().id, "%d", pf.position);
            store.back().name = Fitted(pf.name, kNameSize);
        }
        if (pf.position < 0 || static_cast<size_t>(pf.position) >= store.size())
            return false;
        FolderRecord& folder = store[static_cast<size_t>(pf.position)];
        for (const PlannedNote& pn : pf.notes) {
            if (pn.created) {
                if (static_cast<size_t>(pn.position) != folder.notes.size())
                    return false;
                folder.notes.emplace_back();
                snprintf(folder.notes.back().id, sizeof folder.notes.back().id, "%d", pn.position);
                folder.notes.back().name = Fitted(pn.name, kNameSize);
            }
            if (pn.position < 0 || static_cast<size_t>(pn.position) >= folder.notes.size())
                return false;
            NoteRecord& note = folder.notes[static_cast<size_t>(pn.position)];
            for (const ImportedEntry& entry : pn.entries) {
                note.entries.emplace_back();
                FillEntryRecord(entry, pf.position, pn.position, static_cast<int>(note.entries.size() - 1),
                                note.entries.back());
            }
            if (note.entries.size() > static_cast<size_t>(kMaxChildren))
                return false;
        }
        if (folder.notes.size() > static_cast<size_t>(kMaxChildren))
            return false;
    }
    return store.size() <= static_cast<size_t>(kMaxChildren);
}
