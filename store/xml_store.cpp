#include "store/xml_store.h"

#include <share.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <new>

#include <pugixml.hpp>

#include "app/error_log.h"
#include "app/ini_settings.h"
#include "app/path_text.h"
#include "store/ansi_table.h"
#include "store/safe_replace.h"
#include "store/store_failure.h"
#include "store/store_file.h"
#include "store/text_convert.h"
#include "store/xml_layout.h"

namespace {

// The empty store, exactly 70 characters; written in text mode, so each
// line feed reaches the file as CR LF.
const wchar_t kTemplate[] =
    L"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n<root>\n</root>\n";

}  // namespace

std::string BackupPathFor(const char* storePath)
{
    std::string path = storePath != nullptr ? storePath : "";
    const char* start = path.c_str();
    const char* name = FileNamePart(start);
    const char* dot = nullptr;
    for (const char* p = name; *p != '\0'; p = CharNextA(p)) {
        if (*p == '.')
            dot = p;
    }
    if (dot != nullptr)
        path.resize(static_cast<size_t>(dot - start));
    return path + "_old.xml";
}

CmyXml::CmyXml()
{
    memset(storePath_, 0, sizeof storePath_);
}

CmyXml::~CmyXml() = default;

void CmyXml::SetStorePath(const char* path)
{
    memset(storePath_, 0, sizeof storePath_);
    if (path == nullptr)
        return;
    lstrcpynA(storePath_, path, sizeof storePath_);
    if (storePath_[0] != '\0')
        LoadSnapshot();
}

int CmyXml::LoadFrom(const char* path)
{
    memset(storePath_, 0, sizeof storePath_);
    if (path != nullptr)
        lstrcpynA(storePath_, path, sizeof storePath_);
    ClearSnapshot();
    return storePath_[0] != '\0' ? LoadSnapshot() : 0;
}

void CmyXml::ClearSnapshot()
{
    snapshot_.clear();
    snapshot_.shrink_to_fit();
    // The arena's blocks stay for the next load, which nearly always follows.
    arena_.Reuse();
}

int CmyXml::ReloadSnapshot()
{
    ClearSnapshot();
    return LoadSnapshot();
}

int CmyXml::CreateStoreFile(const char* path)
{
    if (path == nullptr || path[0] == '\0')
        return 0;
    FILE* file = _fsopen(path, "wt", _SH_DENYNO);
    if (file == nullptr)
        return 0;
    std::string text = WideToAnsi(kTemplate, wcslen(kTemplate));
    bool ok = fputs(text.c_str(), file) >= 0;
    ok = fflush(file) == 0 && ok;
    ok = ferror(file) == 0 && ok;
    ok = fclose(file) == 0 && ok;
    return ok ? 1 : 0;
}

void CmyXml::BackupStore()
{
    backupMade_ = CopyFileA(storePath_, BackupPathFor(storePath_).c_str(), FALSE) != FALSE;
}

void CmyXml::RestoreStore()
{
    // Through a temporary file as well: a restore cut short must not leave
    // half a store either.
    std::string temp = TempPathFor(storePath_);
    if (CopyFileA(BackupPathFor(storePath_).c_str(), temp.c_str(), FALSE))
        ReplaceStoreFile(temp.c_str(), storePath_, beforeReplace_);
}

void CmyXml::LogReport(const std::string& text)
{
    if (settings_ == nullptr)
        return;
    char line[1024];
    lstrcpynA(line, text.c_str(), sizeof line);
    WriteErrorLog(line, settings_->ExeDir());
}

void CmyXml::Report(const StoreFailure& failure, HWND owner, bool showBox)
{
    std::string text = FormatFailureReport(failure, storePath_);
    if (showBox)
        MessageBoxA(owner, text.c_str(), "Error", MB_OK | MB_ICONWARNING);
    LogReport(text);
}

int CmyXml::RunOperation(HWND owner, bool showReport, const Work& work, bool backup, bool readOnly)
{
    int result = 0;
    try {
        pugi::xml_document doc;
        LoadProblem problem;
        LoadStoreDocument(storePath_, &doc, &problem, readOnly ? kSnapshotParseOptions : kStoreParseOptions);
        loadSource_ = problem.source;
        loadProblem_ = problem.description;
        if (backup && doc.document_element())
            BackupStore();
        result = work(&doc);
    } catch (const StoreFailure& failure) {
        Report(failure, owner, showReport);
    } catch (const std::bad_alloc&) {
        Report(StoreFailure{E_OUTOFMEMORY, __LINE__, "CmyXml", "out of memory"}, owner, showReport);
    }
    // The backup and the load's findings belong to this operation only.
    backupMade_ = false;
    loadSource_.clear();
    loadProblem_.clear();
    return result;
}

pugi::xml_node CmyXml::RootOf(pugi::xml_document* doc) const
{
    pugi::xml_node root = doc != nullptr ? doc->document_element() : pugi::xml_node();
    if (!root) {
        RaiseStoreFailure(E_POINTER, __LINE__,
                          loadProblem_.empty() ? "the store file has no root element" : loadProblem_,
                          loadSource_.empty() ? "CmyXml" : loadSource_.c_str());
    }
    return root;
}

int CmyXml::RunStep(HWND owner, const std::function<int()>& step)
{
    try {
        return step();
    } catch (const StoreFailure& failure) {
        Report(failure, owner, true);
    } catch (const std::bad_alloc&) {
        Report(StoreFailure{E_OUTOFMEMORY, __LINE__, "CmyXml", "out of memory"}, owner, true);
    }
    return 0;
}
