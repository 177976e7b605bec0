#include "settings/HotkeyPage.h"

#include "res/resource.h"
#include "util/AppMessageBox.h"
#include "util/FastString.h"

CHotkeyPage::CHotkeyPage(HotkeyOptions& options) : CPropertyPage(IDD_OPTIONS_HOTKEYS), m_options(options)
{
}

BOOL CHotkeyPage::OnInitDialog()
{
    // List index = capture mode.
    for (UINT id : {IDS_MODE_FULLSCREEN, IDS_MODE_WINDOW, IDS_MODE_REGION, IDS_MODE_OBJECT}) {
        Vorn::CFastString<64> mode;
        mode.LoadString(id);
        AddListEntry(IDC_MODAL_MODE, mode.GetString());
    }
    Load();
    return TRUE;
}

void CHotkeyPage::Load()
{
    const CSettings defaults = CSettings::Defaults();
    ShowFlag(IDC_FULLSCREEN_HOTKEY_ON, m_options.m_bFullScreenHotkey);
    ShowKey(IDC_FULLSCREEN_HOTKEY, m_options.m_wFullScreenKey, m_options.m_wFullScreenMods, defaults.m_wFullScreenKey,
            defaults.m_wFullScreenMods);
    ShowFlag(IDC_MODAL_HOTKEY_ON, m_options.m_bModalHotkey);
    ShowKey(IDC_MODAL_HOTKEY, m_options.m_wModalKey, m_options.m_wModalMods, defaults.m_wModalKey,
            defaults.m_wModalMods);
    ShowSelection(IDC_MODAL_MODE, m_options.m_nModalMode, defaults.m_nModalMode);
    EnableFullScreen();
    EnableModal();
}

bool CHotkeyPage::OnCommand(WORD id, WORD, HWND)
{
    switch (id) {
    case IDC_FULLSCREEN_HOTKEY_ON:
        EnableFullScreen();
        return true;
    case IDC_MODAL_HOTKEY_ON:
        EnableModal();
        return true;
    }
    return false;
}

bool CHotkeyPage::OnKillActive()
{
    m_options.m_bFullScreenHotkey = GetCheck(IDC_FULLSCREEN_HOTKEY_ON);
    GetHotkey(IDC_FULLSCREEN_HOTKEY, m_options.m_wFullScreenKey, m_options.m_wFullScreenMods);
    m_options.m_bModalHotkey = GetCheck(IDC_MODAL_HOTKEY_ON);
    GetHotkey(IDC_MODAL_HOTKEY, m_options.m_wModalKey, m_options.m_wModalMods);
    m_options.m_nModalMode = GetSelection(IDC_MODAL_MODE);
    if (m_options.m_nModalMode < 0)
        return Refuse(IDC_MODAL_MODE);

    // Both keys are needed even for a disabled hotkey: enabling it later must not
    // register an empty key.
    const int emptyKey = m_options.m_wFullScreenKey == 0 ? IDC_FULLSCREEN_HOTKEY
                       : m_options.m_wModalKey == 0      ? IDC_MODAL_HOTKEY
                                                         : 0;
    if (emptyKey == 0)
        return true;
    AppMessageBox(Handle(), IDS_HOTKEY_REQUIRED, MB_OK | MB_ICONINFORMATION);
    SetFocus(Item(emptyKey));
    return false;
}

void CHotkeyPage::ShowKey(int id, uint16_t& key, uint16_t& modifiers, uint16_t defaultKey, uint16_t defaultModifiers)
{
    // The control holds the low byte only; without it there is no key to leave the page with.
    if (LOBYTE(key) == 0) {
        key = defaultKey;
        modifiers = defaultModifiers;
    }
    SetHotkey(id, key, modifiers);
}

void CHotkeyPage::EnableFullScreen()
{
    EnableItem(IDC_FULLSCREEN_HOTKEY, GetCheck(IDC_FULLSCREEN_HOTKEY_ON) == BST_CHECKED);
}

void CHotkeyPage::EnableModal()
{
    const bool enable = GetCheck(IDC_MODAL_HOTKEY_ON) == BST_CHECKED;
    EnableItem(IDC_MODAL_HOTKEY, enable);
    EnableItem(IDC_MODAL_MODE, enable);
}
