#pragma once

#include <memory>

// One external editor: the name shown in the menu and the list, the program's path,
// and its small icon in the system image list (-1 when the system has none). The
// entry owns its two strings.
struct EditorEntry {
    // The icon is asked for when the entry is first shown, not when it is read: a
    // long list on disk then costs no calls to the shell.
    static constexpr int kImageNotAsked = -2;

    std::unique_ptr<char[]> m_pszName;
    std::unique_ptr<char[]> m_pszPath;
    mutable int m_nImage = -1;
};
