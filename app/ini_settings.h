#pragma once
#include <windows.h>

// linkcairn.ini beside the executable:
//   [ini]  path=<folder of the executable>   (only marks that the file exists)
//   [xml]  curxml=<full path of the current store file>
// A missing or empty value is a failed read; after one, reads are skipped
// until a write succeeds.
class CINI {
public:
    static const int kTextSize = 260;

    CINI();
    // As if the executable were modulePath (nullptr: the running one); lets
    // tests place the ini anywhere.
    explicit CINI(const char* modulePath);
    virtual ~CINI();

    CINI(const CINI&) = delete;
    CINI& operator=(const CINI&) = delete;

    int ReadValue(const char* section, const char* key, char* out);
    int WriteValue(const char* section, const char* key, const char* value);
    int LoadCurrentStore();
    int ChooseStoreFile(HWND owner);
    int SaveCurrentStore();
    int GetStoreFileSize() const;
    static void FormatFileSize(int size, char* out);   // out: 128 characters or more

    int Status() const { return status; }
    const char* ExeDir() const { return exeDir; }
    const char* IniPath() const { return iniPath; }
    // The store selection edits these two between the dialog and the save.
    char* CurXml() { return curXml; }
    const char* CurXml() const { return curXml; }
    char* PickPath() { return pickPath; }

private:
    void Init(const char* modulePath);

    int status;
    char exeDir[kTextSize];
    char iniPath[kTextSize];
    char curXml[kTextSize];
    char pickPath[kTextSize];
};
