#include "app/path_text.h"

#include <windows.h>

const char* FileNamePart(const char* path)
{
    const char* name = path;
    for (const char* p = path; *p != '\0'; p = CharNextA(p)) {
        if (*p == '\\')
            name = p + 1;
    }
    return name;
}

bool CutAtLastBackslash(char* path)
{
    const char* name = FileNamePart(path);
    if (name == path)
        return false;
    path[name - path - 1] = '\0';
    return true;
}

bool FileNameHasExtension(const char* path)
{
    for (const char* p = FileNamePart(path); *p != '\0'; p = CharNextA(p)) {
        if (*p == '.')
            return true;
    }
    return false;
}
