#pragma once

#include "settings/Settings.h"
#include "ui/PropertyPage.h"

// The third page of the Options sheet: the two global hotkeys and the mode that
// the mode-capture hotkey starts.
class CHotkeyPage : public CPropertyPage {
public:
    explicit CHotkeyPage(HotkeyOptions& options);

    // Shows the options again (after restore defaults).
    void Load();

private:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND hControl) override;
    bool OnKillActive() override;

    // Each key field counts only while its hotkey is enabled.
    void EnableFullScreen();
    void EnableModal();

    HotkeyOptions& m_options;
};
