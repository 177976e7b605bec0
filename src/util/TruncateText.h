#pragma once

#include <cstddef>
#include <string>

// The longest start of an ANSI-code-page text that fits maxBytes without splitting
// a double-byte character.
std::string TruncateToWholeChars(const char* text, size_t maxBytes);
