#pragma once

#include "settings/AuxPage.h"
#include "settings/GeneralPage.h"
#include "settings/HotkeyPage.h"
#include "settings/MorePage.h"
#include "settings/SavePage.h"
#include "settings/Settings.h"
#include "ui/Window.h"

// The modal Options sheet over a working copy of the settings. Each page edits its
// own group of the copy; a page that is never shown never touches its group. The
// sheet window is subclassed while it runs for its restore-defaults button.
class COptionsSheet : public CWindow {
public:
    COptionsSheet(const CSettings& settings, CAuxPage::SkinManagerSource skinManagerSource);

    // Runs the sheet with hParent as its parent: 1 when it was closed with OK.
    INT_PTR Run(HWND hParent);

    const CSettings& Settings() const { return m_settings; }
    // Whether the program is to start with Windows: the registry's state when the sheet
    // was made, as the 更多 page left it.
    bool StartWithWindows() const { return m_bStartWithWindows; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // Done when the first page starts, the earliest moment the sheet has its size
    // and buttons.
    void SetUp(HWND hSheet);
    void AddRestoreDefaultsButton();
    // Defaults in the working copy (the folder stays) and in every page made so far;
    // nothing is applied until OK. Starting with Windows is the session's, not one of
    // the program's options, and stays as it is.
    void RestoreDefaults();

    CSettings m_settings;
    bool m_bStartWithWindows;
    CGeneralPage m_generalPage;
    CSavePage m_savePage;
    CHotkeyPage m_hotkeyPage;
    CAuxPage m_auxPage;
    CMorePage m_morePage;
};
