#include "ocr/OcrText.h"

bool IsCjkCharacter(wchar_t c)
{
    return (c >= 0x2E80 && c <= 0x9FFF) ||  // radicals, CJK punctuation, kana, ideographs
           (c >= 0xF900 && c <= 0xFAFF) ||  // compatibility ideographs
           (c >= 0xFE30 && c <= 0xFE4F) ||  // vertical forms of CJK punctuation
           (c >= 0xFF00 && c <= 0xFFEF);    // full-width forms
}

std::wstring TidyOcrLine(const std::wstring& line)
{
    std::wstring tidy;
    tidy.reserve(line.size());
    for (size_t i = 0; i < line.size();) {
        if (line[i] != L' ') {
            tidy += line[i++];
            continue;
        }
        size_t next = i;
        while (next < line.size() && line[next] == L' ')
            ++next;
        const bool betweenCjk = !tidy.empty() && IsCjkCharacter(tidy.back()) && next < line.size() && IsCjkCharacter(line[next]);
        if (!betweenCjk)
            tidy.append(line, i, next - i);
        i = next;
    }
    while (!tidy.empty() && (tidy.back() == L' ' || tidy.back() == L'\n' || tidy.back() == L'\r'))
        tidy.pop_back();
    return tidy;
}

std::wstring JoinOcrLines(const std::vector<std::wstring>& lines)
{
    std::wstring text;
    for (const std::wstring& line : lines) {
        if (!text.empty())
            text += L"\r\n";
        text += TidyOcrLine(line);
    }
    return text;
}
