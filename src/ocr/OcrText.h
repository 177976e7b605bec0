#pragma once
#include <string>
#include <vector>

// The recognised text as a person would type it. The engine puts a space between every
// two Chinese characters; a Chinese writer puts none, while English words keep theirs,
// also where they meet Chinese ("使用 Windows 10 系统").

// Whether c is written without spaces around it: CJK characters and full-width punctuation.
bool IsCjkCharacter(wchar_t c);

// The line without spaces between two CJK characters (full-width punctuation counts as
// CJK) and without trailing spaces or line breaks; other spaces stay as recognised.
std::wstring TidyOcrLine(const std::wstring& line);

// The lines, each tidied, one per text line, joined by CR LF.
std::wstring JoinOcrLines(const std::vector<std::wstring>& lines);
