#pragma once
#include <windows.h>

#include <string>

// The program reads and shows text in code page 936. Returns the GBK bytes of text,
// or "(not GBK)" when some character has no GBK form.
inline std::string ToGbk(const std::wstring& text)
{
    BOOL lossy = FALSE;
    const int length = WideCharToMultiByte(936, 0, text.c_str(), -1, nullptr, 0, nullptr, &lossy);
    std::string gbk(length, '\0');
    WideCharToMultiByte(936, 0, text.c_str(), -1, &gbk[0], length, nullptr, &lossy);
    if (lossy || length == 0)
        return "(not GBK)";
    gbk.resize(length - 1);
    return gbk;
}

// Expected texts are written in the tests in UTF-8.
inline std::string ToGbk(const char* utf8)
{
    const int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, nullptr, 0);
    std::wstring wide(wideLength, L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, &wide[0], wideLength);
    if (wideLength > 0)
        wide.resize(wideLength - 1);
    return ToGbk(wide);
}
