#include "app/CommandLineFiles.h"

#include <windows.h>
#include <shellapi.h>

#include "util/AnsiPath.h"

namespace {
// Made full in wide characters, where the name is still whole, then given to the
// program as its file functions take it.
std::string FullAnsiPath(const wchar_t* path)
{
    const DWORD size = GetFullPathNameW(path, 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    const DWORD length = size ? GetFullPathNameW(path, size, &full[0], nullptr) : 0;
    if (length == 0 || length >= size)
        return AnsiPathOf(path);
    full.resize(length);
    return AnsiPathOf(full.c_str());
}

bool IsSwitch(const wchar_t* argument, const wchar_t* name)
{
    return (argument[0] == L'/' || argument[0] == L'-') && lstrcmpiW(argument + 1, name) == 0;
}
}

CommandLineRequest ReadCommandLine(const wchar_t* commandLine)
{
    CommandLineRequest request;
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(commandLine, &count);
    if (!arguments)
        return request;
    for (int i = 1; i < count; ++i) {
        if (IsSwitch(arguments[i], L"new")) {
            request.newCopy = true;
            continue;
        }
        if (IsSwitch(arguments[i], L"tray")) {
            request.tray = true;
            continue;
        }
        if (arguments[i][0])
            request.files.push_back(FullAnsiPath(arguments[i]));
    }
    LocalFree(arguments);
    return request;
}
