#pragma once
#include <windows.h>

class CStatusBar;

// The enable, check and text states of the commands whose look the program keeps
// itself. Popup menus read the states when they open; toolbar buttons and status
// panes are pushed only when an entry changed (from the idle handler).
class CUpdateUI {
public:
    enum Kind : unsigned { kMenu = 1, kToolBar = 2, kStatusBar = 4 };

    CUpdateUI();

    void AttachToolBar(HWND toolBar) { m_hToolBar = toolBar; }
    void AttachStatusBar(CStatusBar* statusBar) { m_pStatusBar = statusBar; }

    void EnableCommand(UINT id, bool enable);
    void CheckCommand(UINT id, bool checked);
    void SetCommandText(UINT id, const char* text);

    bool IsEnabled(UINT id) const;
    bool IsChecked(UINT id) const;
    const char* GetCommandText(UINT id) const;

    // For WM_INITMENUPOPUP: every menu entry, dirty or not.
    void UpdateMenu(HMENU popup) const;
    // For the idle handler: only what changed since the last push.
    void UpdateToolBar();
    void UpdateStatusBar();

private:
    struct Entry {
        UINT id;
        unsigned kinds;
        bool enabled;
        bool checked;
        char text[64];
        unsigned dirty;
    };
    static constexpr int kEntries = 16;

    Entry* Find(UINT id);
    const Entry* Find(UINT id) const;
    void MarkDirty(Entry& entry);

    Entry m_entries[kEntries];
    unsigned m_dirtyKinds = 0;
    HWND m_hToolBar = nullptr;
    CStatusBar* m_pStatusBar = nullptr;
};

extern CUpdateUI g_updateUI;
