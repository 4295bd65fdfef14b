#include "store/xml_store.h"

#include <msxml2.h>
#include <share.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <new>

#include "app/error_log.h"
#include "app/ini_settings.h"
#include "app/path_text.h"
#include "app/com_types.h"
#include "store/dom_nodes.h"
#include "store/safe_replace.h"
#include "store/store_failure.h"
#include "store/text_convert.h"

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

void CmyXml::ClearSnapshot()
{
    snapshot_.clear();
    snapshot_.shrink_to_fit();
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

int CmyXml::RunOperation(HWND owner, bool showReport, const Work& work)
{
    int result = 0;
    {
        ComApartment com;
        // A stale error object of this thread must not be taken for ours.
        SetErrorInfo(0, nullptr);
        try {
            ComPtr<IXMLDOMDocument> doc = LoadStoreDocument(storePath_);
            result = work(doc.Get());
        } catch (const StoreFailure& failure) {
            Report(failure, owner, showReport);
        } catch (const std::bad_alloc&) {
            Report(StoreFailure{E_OUTOFMEMORY, __LINE__, "CmyXml", "out of memory"}, owner, showReport);
        }
    }
    // The backup belongs to this operation only.
    backupMade_ = false;
    return result;
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
