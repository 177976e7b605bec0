#include "util/ModulePath.h"

#include <cstring>

#include "util/CharSearch.h"

bool MakeModuleFilePath(const char* fileName, char (&path)[MAX_PATH])
{
    char szModule[MAX_PATH];
    DWORD dwLength = ::GetModuleFileNameA(nullptr, szModule, MAX_PATH);
    // A full buffer means the path was cut short (and may lack its terminator).
    if (dwLength == 0 || dwLength >= MAX_PATH)
        return false;
    return MakeSiblingPath(szModule, fileName, path);
}

bool MakeSiblingPath(const char* modulePath, const char* fileName, char (&path)[MAX_PATH])
{
    const char* backslash = FindLastChar(modulePath, '\\');
    if (backslash == nullptr)
        return false;
    const char* folderEnd = backslash + 1;

    size_t folderLength = static_cast<size_t>(folderEnd - modulePath);
    size_t nameLength = std::strlen(fileName);
    if (folderLength + nameLength >= MAX_PATH)
        return false;
    std::memcpy(path, modulePath, folderLength);
    std::memcpy(path + folderLength, fileName, nameLength + 1);
    return true;
}
