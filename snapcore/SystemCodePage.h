#ifndef SNAPCORE_SYSTEMCODEPAGE_H
#define SNAPCORE_SYSTEMCODEPAGE_H

#include <cstddef>

namespace snapcore {

// Converts text to the system ANSI code page for GDI's ANSI calls and the skin
// manager. Returns false, leaving out untouched, when the code page lacks one of its
// characters or out is too small; the caller then uses a plain ASCII form instead.
bool ToSystemCodePage(const wchar_t* text, char* out, size_t outSize);

} // namespace snapcore

#endif
