#pragma once
#include <cstddef>

// The number of USER objects (windows, menus, icons and cursors, accelerator tables)
// this process holds now, for leak checks.
size_t LiveUserObjects();
