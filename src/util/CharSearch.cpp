#include "util/CharSearch.h"

#include <windows.h>

const char* FindLastChar(const char* text, char ch)
{
    const char* found = nullptr;
    for (const char* p = text; *p != '\0'; p = CharNextA(p))
        if (*p == ch)
            found = p;
    return found;
}

const char* FileNamePart(const char* path)
{
    const char* name = path;
    for (const char* p = path; *p != '\0'; p = CharNextA(p))
        if (*p == '\\' || *p == '/')
            name = p + 1;
    return name;
}

const char* FindExtensionDot(const char* path)
{
    return FindLastChar(FileNamePart(path), '.');
}
