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
}

std::vector<std::string> CommandLineFiles(const wchar_t* commandLine)
{
    std::vector<std::string> files;
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(commandLine, &count);
    if (!arguments)
        return files;
    for (int i = 1; i < count; ++i) {
        const std::string path = ToAnsi(arguments[i]);
        if (!path.empty())
            files.push_back(FullPath(path));
    }
    LocalFree(arguments);
    return files;
}
