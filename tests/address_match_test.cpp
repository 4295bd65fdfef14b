// When two addresses name the same page: one table of pairs and the tier
// they share, the cautions among them.
#include <gtest/gtest.h>

#include "store/address_match.h"

namespace {

struct Pair {
    const char* a;
    const char* b;
    AddressTier tier;
};

const char* TierName(AddressTier tier)
{
    return tier == AddressTier::Same ? "Same" : tier == AddressTier::Likely ? "Likely" : "None";
}

}  // namespace

TEST(AddressMatch, PairsGetTheirTier)
{
    const Pair pairs[] = {
        {"http://example.com/a", "http://example.com/a", AddressTier::Same},
        {"HTTP://Example.COM/a", "http://example.com/a", AddressTier::Same},
        {"http://example.com:80/a", "http://example.com/a", AddressTier::Same},
        {"https://example.com:443/a", "https://example.com/a", AddressTier::Same},
        {"http://example.com/a#", "http://example.com/a", AddressTier::Same},
        {"http://example.com/a?", "http://example.com/a", AddressTier::Same},
        {"http://example.com/a?#", "http://example.com/a", AddressTier::Same},
        {"http://example.com/%7euser?q=%c3%a9", "http://example.com/%7Euser?q=%C3%A9", AddressTier::Same},
        {"http://User@Example.com/", "http://User@example.com/", AddressTier::Same},
        {"http://[::1]:80/", "http://[::1]/", AddressTier::Same},
        // Cautions: a trailing slash may matter to the site, so never Same.
        {"http://example.com/docs/", "http://example.com/docs", AddressTier::Likely},
        {"http://a/", "https://a/", AddressTier::Likely},
        {"http://a", "http://a/", AddressTier::Likely},
        {"http://www.example.com/", "http://example.com/", AddressTier::Likely},
        {"https://example.com/p?utm_source=x&id=3&fbclid=y", "http://example.com/p?id=3", AddressTier::Likely},
        {"http://example.com/p?gclid=1&UTM_medium=m", "http://example.com/p", AddressTier::Likely},
        {"https://www.example.com:443/a/?utm_campaign=z#", "http://example.com:80/a", AddressTier::Likely},
        // Not the same page.
        {"http://example.com/A", "http://example.com/a", AddressTier::None},
        {"http://example.com/a?x=1&y=2", "http://example.com/a?y=2&x=1", AddressTier::None},
        {"http://example.com/a#top", "http://example.com/a", AddressTier::None},
        {"http://example.com:8080/", "http://example.com/", AddressTier::None},
        {"https://example.com:80/", "https://example.com/", AddressTier::None},
        {"http://example.com/p?id=3", "http://example.com/p?id=4", AddressTier::None},
        {"http://example.com/p?utm=1", "http://example.com/p", AddressTier::None},
        {"http://a.www.example.com/", "http://a.example.com/", AddressTier::None},
        {"ftp://a/", "http://a/", AddressTier::None},
        // ア (83 41) and ッ (83 61): a trail byte that looks like a letter is
        // never folded, so the hosts stay apart.
        {"http://\x83\x41.jp/", "http://\x83\x61.jp/", AddressTier::None},
        {"http://\x83\x41.JP/", "http://\x83\x41.jp/", AddressTier::Same},
    };
    for (const Pair& p : pairs)
        EXPECT_STREQ(TierName(CompareAddresses(p.a, p.b)), TierName(p.tier)) << p.a << " / " << p.b;
}
