#include "dialogs/import_report.h"

#include <cstdio>

#include "bookmarks/bookmark_import.h"
#include "bookmarks/bookmark_merge.h"

namespace {

void AddLine(std::string& text, const char* label, size_t count)
{
    char line[160];
    snprintf(line, sizeof line, "\n%s: %zu 件", label, count);
    text += line;
}

}  // namespace

std::string ImportSummary(const BookmarkImport& read, const MergePlan& plan)
{
    std::string text;
    if (read.truncated)
        text = "ファイルが途中で終わっていたため、読めた所までをインポートしました。";
    else
        text = plan.added > 0 ? "インポートしました。" : "追加するリンクはありませんでした。";
    if (read.unknownCharset)
        text += "\nファイルの文字コードが分からないため、UTF-8 として読みました。";
    else if (!read.assumedCharset.empty())
        text += "\nファイルの文字コードを " + read.assumedCharset + " と判断して読みました。";
    text += "\n";
    AddLine(text, "追加したリンク", plan.added);
    if (plan.alreadyHeld > 0)
        AddLine(text, "　うち、コレクションの別の場所にもあるリンク", plan.alreadyHeld);
    AddLine(text, "重複のため追加しなかったリンク", plan.duplicates);
    const size_t refused = read.tooLong + read.placeQueries + read.noAddress + plan.noRoom;
    AddLine(text, "取り込めなかったリンク", refused);
    const struct {
        const char* reason;
        size_t count;
    } reasons[] = {
        {"　アドレスが長すぎる (1023 バイトまで)", read.tooLong},
        {"　place: のアドレス (ブラウザの検索条件)", read.placeQueries},
        {"　アドレスがない", read.noAddress},
        {"　フォルダの数が上限 (1000) に達した", plan.noRoom},
    };
    for (const auto& r : reasons) {
        if (r.count > 0)
            AddLine(text, r.reason, r.count);
    }
    if (read.lostCharacters > 0)
        AddLine(text, "コードページ 932 にない文字を含んでいたタイトルと名前", read.lostCharacters);
    return text;
}
