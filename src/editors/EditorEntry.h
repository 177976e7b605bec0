#pragma once

#include <memory>

// One external editor: the name shown in the menu and the list, the program's path,
// and its small icon in the system image list (-1 when the system has none). The
// entry owns its two strings.
struct EditorEntry {
    std::unique_ptr<char[]> m_pszName;
    std::unique_ptr<char[]> m_pszPath;
    int m_nImage = -1;
};
