// Title character-set benchmark: a 519-byte title in each of the four sets,
// its set decided from the page (server header, head, title bytes) and then
// converted, against the conversion alone in the known set. Goal: at most
// 1.2 times the conversion.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/charset_detect.h"
#include "bench/bench_timing.h"
#include "web/charset_convert.h"
#include "web/page_charset.h"

namespace {

// "第1章 GNU/Linux チュートリアル" as a page writes it.
const struct {
    const char* name;
    int charset;
    const char* unit;
} kTitles[] = {
    {"UTF-8", kCharsetUtf8,
     "\xE7\xAC\xAC" "1\xE7\xAB\xA0 GNU/Linux \xE3\x83\x81\xE3\x83\xA5\xE3\x83\xBC\xE3\x83\x88\xE3\x83\xAA\xE3\x82\xA2"
     "\xE3\x83\xAB "},
    {"Shift-JIS", kCharsetShiftJis, "\x91\xE6" "1\x8F\xCD GNU/Linux \x83`\x83\x85\x81[\x83g\x83\x8A\x83" "A\x83\x8B "},
    {"EUC-JP", kCharsetEucJp, "\xC2\xE8" "1\xBE\xCF GNU/Linux \xA5\xC1\xA5\xE5\xA1\xBC\xA5\xC8\xA5\xEA\xA5\xA2\xA5\xEB "},
    {"JIS", kCharsetJis, "\x1B$BBh\x1B(B1\x1B$B>O\x1B(B GNU/Linux \x1B$B%A%e!<%H%j%\"%k\x1B(B "},
};

// The unit repeated and cut to exactly 519 bytes (a cut character at the
// end is part of real titles too).
std::string Title519(const std::string& unit)
{
    std::string title;
    while (title.size() < 519)
        title += unit;
    title.resize(519);
    return title;
}

}  // namespace

int main()
{
    const int kRuns = 2001;
    const std::string head = "<html><head><meta name=\"viewport\" content=\"width=device-width\">"
                             "<link rel=\"stylesheet\" href=\"/style.css\">";
    printf("519-byte title, median of %d runs, microseconds\n", kRuns);
    printf("%-10s %12s %12s %8s\n", "set", "detect+conv", "conversion", "ratio");
    for (const auto& t : kTitles) {
        const std::string title = Title519(t.unit);
        PageBytes page;
        page.contentType = "text/html";
        page.head = head;
        page.title = title.data();
        page.titleLength = title.size();
        std::string text;
        size_t lost = 0;
        int seen = -1;
        // Interleaved, so that a drift of the machine hits both alike.
        std::vector<double> bothTimes;
        std::vector<double> aloneTimes;
        for (int i = 0; i < kRuns; ++i) {
            double start = Now();
            {
                CSetStrCode convert;
                seen = PageTitleCharset(page);
                convert.ConvertTitleText(seen, title.data(), title.size(), &text, &lost);
            }
            bothTimes.push_back(Now() - start);
            start = Now();
            {
                CSetStrCode convert;
                convert.ConvertTitleText(t.charset, title.data(), title.size(), &text, &lost);
            }
            aloneTimes.push_back(Now() - start);
        }
        std::sort(bothTimes.begin(), bothTimes.end());
        std::sort(aloneTimes.begin(), aloneTimes.end());
        const double both = bothTimes[bothTimes.size() / 2] * 1000.0;
        const double alone = aloneTimes[aloneTimes.size() / 2] * 1000.0;
        printf("%-10s %12.1f %12.1f %7.2fx%s\n", t.name, both * 1000.0, alone * 1000.0, both / alone,
               seen == t.charset ? "" : "  (detected a different set)");
    }
    return 0;
}
