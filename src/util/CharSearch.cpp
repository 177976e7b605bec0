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
    const char* backslash = FindLastChar(path, '\\');
    return backslash ? backslash + 1 : path;
}
