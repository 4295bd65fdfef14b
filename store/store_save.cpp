// The two ways the store file is written: plain (compact) and indented
// (xml_layout.h). Both write a temporary file beside the store and replace
// the store only when the write is complete (safe_replace.h).
#include <pugixml.hpp>

#include "store/safe_replace.h"
#include "store/store_failure.h"
#include "store/store_file.h"
#include "store/xml_store.h"

namespace {

const char kConversionHint[] =
    "指定したURLの文字コード変換に失敗した可能性があります。\n"
    "タイトルを手動による取得でやり直して下さい。";

// Writes doc to the temporary file and puts it in the store's place.
void WriteAndReplace(const pugi::xml_document& doc, const char* storePath, bool indented, BeforeReplaceHook hook)
{
    std::string temp = TempPathFor(storePath);
    try {
        WriteStoreDocument(doc, temp.c_str(), indented);
    } catch (...) {
        DeleteFileA(temp.c_str());
        throw;
    }
    STORE_CHECK(ReplaceStoreFile(temp.c_str(), storePath, hook), "replace the store file");
}

}  // namespace

int CmyXml::SaveIndented(pugi::xml_document* doc, HWND owner)
{
    return WriteIndented(doc, owner, kConversionHint);
}

int CmyXml::WriteIndented(pugi::xml_document* doc, HWND owner, const char* hint)
{
    try {
        STORE_NEED(doc, "no document to write");
        WriteAndReplace(*doc, storePath_, true, beforeReplace_);
        return 1;
    } catch (const StoreFailure& failure) {
        if (backupMade_)
            RestoreStore();
        std::string text = FormatFailureReport(failure, storePath_);
        MessageBoxA(owner, text.c_str(), "Error", MB_OK | MB_ICONWARNING);
        if (hint != nullptr)
            MessageBoxA(owner, hint, "Error", MB_OK | MB_ICONWARNING);
        LogReport(text);
    }
    return 0;
}

void CmyXml::SavePlain(pugi::xml_document* doc)
{
    WriteAndReplace(*doc, storePath_, false, beforeReplace_);
}
