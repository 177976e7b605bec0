#include "app/CommandLineFiles.h"

#include <windows.h>
#include <shellapi.h>

namespace {
std::string ToAnsi(const wchar_t* text)
{
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string ansi(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &ansi[0], size, nullptr, nullptr);
    ansi.resize(static_cast<size_t>(size - 1));
    return ansi;
}

std::string FullPath(const std::string& path)
{
    const DWORD size = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return path;
    std::string full(size, '\0');
    const DWORD length = GetFullPathNameA(path.c_str(), size, &full[0], nullptr);
    if (length == 0 || length >= size)
        return path;
    full.resize(length);
    return full;
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
        const std::string path = ToAnsi(arguments[i]);
        if (!path.empty())
            request.files.push_back(FullPath(path));
    }
    LocalFree(arguments);
    return request;
}
