#include "util/AnsiPath.h"

#include <windows.h>

#include <cstring>

#include "util/CharSearch.h"

namespace {
// False when some character had no form in the code page.
bool ToAnsi(const wchar_t* text, std::string& ansi)
{
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, &lossy);
    ansi.clear();
    if (size <= 1)
        return true;
    ansi.resize(static_cast<size_t>(size));
    WideCharToMultiByte(CP_ACP, 0, text, -1, &ansi[0], size, nullptr, nullptr);
    ansi.resize(static_cast<size_t>(size - 1));
    return !lossy;
}
}  // namespace

std::string AnsiPathOf(const wchar_t* path)
{
    std::string ansi;
    if (ToAnsi(path, ansi))
        return ansi;
    const DWORD size = GetShortPathNameW(path, nullptr, 0);
    if (size == 0)
        return ansi;
    std::wstring shortPath(size, L'\0');
    const DWORD length = GetShortPathNameW(path, &shortPath[0], size);
    if (length == 0 || length >= size)
        return ansi;
    shortPath.resize(length);
    std::string shortAnsi;
    return ToAnsi(shortPath.c_str(), shortAnsi) ? shortAnsi : ansi;
}

bool HasUnusableName(const char* path)
{
    const char* rest = std::strncmp(path, "\\\\?\\", 4) == 0 ? path + 4 : path;
    return FindLastChar(rest, '?') != nullptr;
}
