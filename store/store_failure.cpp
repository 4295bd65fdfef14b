#include "store/store_failure.h"

#include <cstdio>

namespace {

const char kReportFile[] = ".\\CXml";
const size_t kReportLimit = 1023;

}  // namespace

void RaiseStoreFailure(HRESULT code, int line, const std::string& description, const char* source)
{
    throw StoreFailure{code, line, source != nullptr ? source : "", description};
}

std::string ResultCodeMeaning(HRESULT code)
{
    char* text = nullptr;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, static_cast<DWORD>(code),
                             MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                             reinterpret_cast<char*>(&text), 0, nullptr);
    std::string meaning;
    if (n > 0 && text != nullptr) {
        meaning.assign(text, n);
        if (meaning.size() >= 2 && meaning.compare(meaning.size() - 2, 2, "\r\n") == 0)
            meaning.resize(meaning.size() - 2);
    }
    if (text != nullptr)
        LocalFree(text);
    if (!meaning.empty())
        return meaning;

    // As the compiler's COM support does: an interface error number for
    // FACILITY_ITF codes from 0x0200 up, else the bare code.
    char buffer[64];
    unsigned long value = static_cast<unsigned long>(code);
    int wCode = 0;
    if (value >= 0x80040200UL && value <= 0x8004FFFFUL)
        wCode = static_cast<int>(value - 0x80040200UL);
    if (wCode != 0)
        snprintf(buffer, sizeof buffer, "IDispatch error #%d", wCode);
    else
        snprintf(buffer, sizeof buffer, "Unknown error 0x%0lX", value);
    return buffer;
}

std::string FormatFailureReport(const StoreFailure& failure, const char* storePath)
{
    std::string meaning = ResultCodeMeaning(failure.code);
    const char* format = "Code: %08lx\nCode meaning: %s\nSource: %s\nDescription: %s\nLine=%d, File=%s\nxml=%s";
    char report[kReportLimit + 1];
    snprintf(report, sizeof report, format, static_cast<unsigned long>(failure.code),
             meaning.c_str(), failure.source.c_str(), failure.description.c_str(), failure.line,
             kReportFile, storePath != nullptr ? storePath : "");
    return report;
}
