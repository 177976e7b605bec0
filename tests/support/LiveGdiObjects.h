#pragma once
#include <cstddef>

// The number of GDI objects this process holds now, for leak checks.
size_t LiveGdiObjects();
