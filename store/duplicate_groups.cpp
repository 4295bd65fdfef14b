#include "store/duplicate_groups.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>

namespace {

const EntryRecord& EntryOf(const std::vector<FolderRecord>& store, const DuplicateMember& m)
{
    return store[static_cast<size_t>(m.folder)].notes[static_cast<size_t>(m.note)].entries[static_cast<size_t>(m.entry)];
}

// Field widths hold no terminator when a value fills them.
template <size_t N>
std::string FieldText(const char (&field)[N])
{
    return std::string(field, strnlen(field, N));
}

std::string FieldText(const RecordText& text)
{
    return text.c_str();
}

long LeadingNumber(const char* text, size_t width)
{
    long value = 0;
    for (size_t i = 0; i < width && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(value * 10 + (text[i] - '0'), 100000000L);
    return value;
}

// "2024/05/03" as 20240503; "-" or anything unreadable as 0, the oldest.
long DateValue(const char (&date)[11])
{
    long parts[3] = {0, 0, 0};
    size_t part = 0;
    for (size_t i = 0; i < sizeof date && date[i] != '\0'; ++i) {
        if (date[i] == '/' && part < 2)
            ++part;
        else if (date[i] >= '0' && date[i] <= '9')
            parts[part] = std::min(parts[part] * 10 + (date[i] - '0'), 9999L);
        else
            return 0;
    }
    return part == 2 ? parts[0] * 10000 + parts[1] * 100 + parts[2] : 0;
}

}  // namespace

std::vector<DuplicateGroup> FindDuplicateGroups(const std::vector<FolderRecord>& store)
{
    std::vector<DuplicateMember> all;
    for (size_t f = 0; f < store.size(); ++f) {
        for (size_t n = 0; n < store[f].notes.size(); ++n) {
            const size_t count = store[f].notes[n].entries.size();
            for (size_t e = 0; e < count; ++e)
                all.push_back(DuplicateMember{static_cast<int>(f), static_cast<int>(n), static_cast<int>(e)});
        }
    }
    std::vector<std::pair<std::string, unsigned>> keyed;
    keyed.reserve(all.size());
    for (size_t i = 0; i < all.size(); ++i) {
        const std::string address = FieldText(EntryOf(store, all[i]).list);
        if (address.empty())
            continue;   // no address names no page
        keyed.emplace_back(LikelyAddressKey(address.data(), address.size()), static_cast<unsigned>(i));
    }
    // Equal keys in a run, each run in the file's order.
    std::sort(keyed.begin(), keyed.end());

    std::vector<DuplicateGroup> groups;
    for (size_t begin = 0; begin < keyed.size();) {
        size_t end = begin + 1;
        while (end < keyed.size() && keyed[end].first == keyed[begin].first)
            ++end;
        if (end - begin >= 2) {
            DuplicateGroup group;
            group.tier = AddressTier::Same;
            std::string first;
            for (size_t i = begin; i < end; ++i) {
                const DuplicateMember& member = all[keyed[i].second];
                group.members.push_back(member);
                const std::string address = FieldText(EntryOf(store, member).list);
                std::string same = SameAddressKey(address.data(), address.size());
                if (i == begin)
                    first = std::move(same);
                else if (same != first)
                    group.tier = AddressTier::Likely;
            }
            groups.push_back(std::move(group));
        }
        begin = end;
    }
    auto firstIndex = [](const DuplicateGroup& g) {
        const DuplicateMember& m = g.members.front();
        return std::make_tuple(m.folder, m.note, m.entry);
    };
    std::stable_sort(groups.begin(), groups.end(), [&](const DuplicateGroup& a, const DuplicateGroup& b) {
        if (a.members.size() != b.members.size())
            return a.members.size() > b.members.size();
        return firstIndex(a) < firstIndex(b);
    });
    return groups;
}

size_t KeptMember(const DuplicateGroup& group, const std::vector<FolderRecord>& store)
{
    size_t kept = 0;
    long bestCount = -1;
    long bestAccess = -1;
    for (size_t i = 0; i < group.members.size(); ++i) {
        const EntryRecord& entry = EntryOf(store, group.members[i]);
        const long count = LeadingNumber(entry.count, sizeof entry.count);
        const long access = DateValue(entry.access);
        if (count > bestCount || (count == bestCount && access > bestAccess)) {
            kept = i;
            bestCount = count;
            bestAccess = access;
        }
    }
    return kept;
}

SameAddressIndex::SameAddressIndex(const std::vector<FolderRecord>& store)
{
    for (const FolderRecord& folder : store) {
        for (const NoteRecord& note : folder.notes) {
            for (const EntryRecord& entry : note.entries) {
                const std::string address = FieldText(entry.list);
                keys_.insert(SameAddressKey(address.data(), address.size()));
            }
        }
    }
}

bool SameAddressIndex::Holds(const std::string& address) const
{
    return keys_.count(SameAddressKey(address.data(), address.size())) > 0;
}
