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

    // Shows a hotkey; one without a key (which the page would refuse) as the default one.
    void ShowKey(int id, uint16_t& key, uint16_t& modifiers, uint16_t defaultKey, uint16_t defaultModifiers);
    // Each key field counts only while its hotkey is enabled.
    void EnableFullScreen();
    void EnableModal();

    HotkeyOptions& m_options;
};
