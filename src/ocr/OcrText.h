#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The recognised text as a person would type it. The engine puts a space between every
// two Chinese characters; a Chinese writer puts none, while English words keep theirs,
// also where they meet Chinese ("使用 Windows 10 系统").

// Whether c is written without spaces around it: CJK characters and full-width punctuation.
bool IsCjkCharacter(wchar_t c);
// Whether c is a Chinese character proper, not punctuation.
bool IsIdeograph(wchar_t c);

// One character as the engine read it, and its ink's box.
struct SOcrSymbol {
    std::wstring text;
    RECT box;
};
// The line, as the engine gave it, with each Latin punctuation mark (, : ; ? !) in its
// full-width form where it touches a Chinese character, as Chinese is typed, or takes a
// Chinese character's whole cell between its neighbours: the engine reads the shape but not
// the width, and its character boxes are too loose to measure a mark's own cell. Brackets
// stay: a menu's "文件(F)" has narrow ones in wide cells. symbols are the line's characters
// in order.
std::wstring WidenPunctuation(const std::wstring& line, const std::vector<SOcrSymbol>& symbols);

// The line with each bracket pair of two kinds, one of them round, made round: the engine
// reads a small "(" as "{" or "《" ("文件{F)"), and round brackets are by far the most common.
std::wstring PairBrackets(const std::wstring& line);

// The line without spaces between two CJK characters, beside full-width punctuation (a
// Chinese writer types none there: "大小：3.5", "（48.6 MB）"), and without trailing spaces
// or line breaks; other spaces stay as recognised.
std::wstring TidyOcrLine(const std::wstring& line);

// The lines, each tidied, one per text line, joined by CR LF.
std::wstring JoinOcrLines(const std::vector<std::wstring>& lines);
