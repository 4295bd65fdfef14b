#pragma once
#include <cstddef>
#include <string>
#include <unordered_set>
#include <vector>

#include "store/address_match.h"
#include "store/records.h"

// Entries of the whole collection whose addresses name the same page
// (address_match.h), found over the snapshot without any window.

struct DuplicateMember {
    int folder = 0;
    int note = 0;
    int entry = 0;
};

struct DuplicateGroup {
    // Same when every member's same key is equal, else Likely.
    AddressTier tier = AddressTier::Likely;
    std::vector<DuplicateMember> members;   // in the file's order
};

// Groups of two or more entries with equal likely keys, largest first, then
// in the order of their first member.
std::vector<DuplicateGroup> FindDuplicateGroups(const std::vector<FolderRecord>& store);

// The member to keep: the most used one (the highest count, then the latest
// access, then the first). Every other member is offered for removal.
size_t KeptMember(const DuplicateGroup& group, const std::vector<FolderRecord>& store);

// The addresses the collection holds, by their same keys: what an import
// adds that is already filed somewhere.
class SameAddressIndex {
public:
    explicit SameAddressIndex(const std::vector<FolderRecord>& store);
    bool Holds(const std::string& address) const;

private:
    std::unordered_set<std::string> keys_;
};
