#include "ocr/OcrText.h"

#include <algorithm>

namespace {

// A full-width mark's cell, from its left neighbour's ink to its right one's, is about as
// wide as a Chinese character is high; a Latin mark and a space take little more than half.
constexpr int kFullCellPercent = 85;

wchar_t FullWidthOf(wchar_t c)
{
    switch (c) {
    case L',': return L'\xFF0C';
    case L':': return L'\xFF1A';
    case L';': return L'\xFF1B';
    case L'?': return L'\xFF1F';
    case L'!': return L'\xFF01';
    default: return 0;
    }
}

bool IsFullWidthPunctuation(wchar_t c)
{
    return (c >= 0x3001 && c <= 0x303F) || (c >= 0xFE10 && c <= 0xFE19) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF01 && c <= 0xFF0F) || (c >= 0xFF1A && c <= 0xFF20) || (c >= 0xFF3B && c <= 0xFF40) ||
           (c >= 0xFF5B && c <= 0xFF65);
}

// Curly quotes share their code with English ones; they are Chinese, and full-width, when
// they touch a Chinese character.
bool FullWidthPunctuationAt(const std::wstring& line, size_t at)
{
    const wchar_t c = line[at];
    if (IsFullWidthPunctuation(c))
        return true;
    if (c != L'\x201C' && c != L'\x201D' && c != L'\x2018' && c != L'\x2019')
        return false;
    return (at > 0 && IsIdeograph(line[at - 1])) || (at + 1 < line.size() && IsIdeograph(line[at + 1]));
}

}  // namespace

bool IsCjkCharacter(wchar_t c)
{
    return (c >= 0x2E80 && c <= 0x9FFF) ||  // radicals, CJK punctuation, kana, ideographs
           (c >= 0xF900 && c <= 0xFAFF) ||  // compatibility ideographs
           (c >= 0xFE30 && c <= 0xFE4F) ||  // vertical forms of CJK punctuation
           (c >= 0xFF00 && c <= 0xFFEF);    // full-width forms
}

bool IsIdeograph(wchar_t c)
{
    return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF);
}

std::wstring WidenPunctuation(const std::wstring& line, const std::vector<SOcrSymbol>& symbols)
{
    std::vector<LONG> heights;
    for (const SOcrSymbol& symbol : symbols)
        if (symbol.text.size() == 1 && IsIdeograph(symbol.text[0]))
            heights.push_back(symbol.box.bottom - symbol.box.top);
    if (heights.empty())
        return line;
    std::nth_element(heights.begin(), heights.begin() + heights.size() / 2, heights.end());
    const LONG ideographHeight = heights[heights.size() / 2];
    std::wstring wide = line;
    size_t at = 0;
    for (size_t i = 0; i < symbols.size(); ++i) {
        const std::wstring& text = symbols[i].text;
        while (at < wide.size() && wide[at] == L' ')
            ++at;
        if (wide.compare(at, text.size(), text) != 0)
            return line;  // the symbols are not the line's: leave it as read
        const wchar_t full = text.size() == 1 ? FullWidthOf(text[0]) : 0;
        const auto ideographAt = [&](size_t k) {
            return k < symbols.size() && symbols[k].text.size() == 1 && IsIdeograph(symbols[k].text[0]);
        };
        const bool besideIdeograph = (i > 0 && ideographAt(i - 1)) || ideographAt(i + 1);
        if (full && (besideIdeograph || (i > 0 && i + 1 < symbols.size() &&
                                        (symbols[i + 1].box.left - symbols[i - 1].box.right) * 100 >=
                                            kFullCellPercent * ideographHeight)))
            wide[at] = full;
        at += text.size();
    }
    return wide;
}

std::wstring PairBrackets(const std::wstring& line)
{
    static const std::wstring openers = L"({[\x300A", closers = L")}]\x300B";
    std::wstring paired = line;
    std::vector<size_t> open;
    for (size_t at = 0; at < paired.size(); ++at) {
        if (openers.find(paired[at]) != std::wstring::npos) {
            open.push_back(at);
            continue;
        }
        const size_t kind = closers.find(paired[at]);
        if (kind == std::wstring::npos || open.empty())
            continue;
        wchar_t& opener = paired[open.back()];
        open.pop_back();
        if (openers.find(opener) != kind && (opener == L'(' || paired[at] == L')')) {
            opener = L'(';
            paired[at] = L')';
        }
    }
    return paired;
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
        const bool betweenCjk = i > 0 && IsCjkCharacter(line[i - 1]) && next < line.size() && IsCjkCharacter(line[next]);
        const bool besidePunctuation = (i > 0 && FullWidthPunctuationAt(line, i - 1)) ||
                                       (next < line.size() && FullWidthPunctuationAt(line, next));
        if (!betweenCjk && !besidePunctuation)
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
