#pragma once
#include <cstddef>
#include <optional>

// The number of GDI objects this process holds now, for leak checks.
size_t LiveGdiObjects();

// The bytes of pixels held by the DIB sections this process has now; nothing where the
// process's GDI handle table cannot be read (it can under 64-bit Wine).
std::optional<size_t> LiveDibSectionBytes();
