#pragma once
#include <cstddef>
#include <string>

#include "app/text_cut.h"

// When two stored addresses name the same page. Byte logic over the
// program's ANSI text, free of any window code; the addresses themselves are
// never changed, only keys are built from them.
//
// Same: the addresses differ only in the letter case of the scheme and the
//   host, a default port (:80 for http, :443 for https), an empty fragment
//   "#" or query "?", or the case of percent escapes ("%7e" and "%7E").
// Likely: also ignoring one trailing slash of the path, http against https,
//   a leading "www." of the host, and the tracking parameters utm_*, fbclid
//   and gclid of the query.
//
// Everything else counts: a path's letter case, the order of query
// parameters, a non-empty fragment.

enum class AddressTier {
    None,
    Same,
    Likely,
};

// Keys: two addresses are Same when their same keys are equal, Likely when
// only their likely keys are.
std::string SameAddressKey(const char* address, size_t length, LeadBytePredicate isLead = IsCp932LeadByte);
std::string LikelyAddressKey(const char* address, size_t length, LeadBytePredicate isLead = IsCp932LeadByte);
std::string SameAddressKey(const char* address);
std::string LikelyAddressKey(const char* address);

// The closest tier of two zero-terminated addresses.
AddressTier CompareAddresses(const char* a, const char* b);
