#include "settings/MorePage.h"

#include <commctrl.h>

#include <cstdio>

#include "res/resource.h"
#include "util/AppMessageBox.h"
#include "util/FastString.h"

namespace {
// The countdown list, in list order.
const int32_t kCountdownChoices[] = {0, 3, 5, 10};
const int kCountdownChoiceCount = sizeof kCountdownChoices / sizeof kCountdownChoices[0];

int CountdownIndex(int32_t seconds)
{
    for (int index = 0; index < kCountdownChoiceCount; ++index)
        if (kCountdownChoices[index] == seconds)
            return index;
    return 0;
}
}  // namespace

CMorePage::CMorePage(MoreOptions& options, const SaveOptions& saveState, bool& startWithWindows)
    : CPropertyPage(IDD_OPTIONS_MORE), m_options(options), m_saveState(saveState), m_bStartWithWindows(startWithWindows)
{
}

BOOL CMorePage::OnInitDialog()
{
    for (int32_t seconds : kCountdownChoices) {
        Vorn::CFastString<32> text;
        if (seconds == 0) {
            text.LoadString(IDS_COUNTDOWN_NONE);
            AddListEntry(IDC_COUNTDOWN, text.GetString());
            continue;
        }
        text.LoadString(IDS_COUNTDOWN_SECONDS);
        char entry[32];
        std::snprintf(entry, sizeof entry, text.GetString(), static_cast<int>(seconds));
        AddListEntry(IDC_COUNTDOWN, entry);
    }
    Load();
    // Not one of the program's options: 默认设置, which loads the page again, leaves it.
    SetCheck(IDC_START_WITH_WINDOWS, m_bStartWithWindows ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CMorePage::Load()
{
    SetSelection(IDC_COUNTDOWN, CountdownIndex(m_options.m_nCountdownSeconds));
    ShowFlag(IDC_COPY_AFTER_CAPTURE, m_options.m_bCopyAfterCapture);
    ShowFlag(IDC_NO_DOCUMENT, m_options.m_bNoDocumentAfterCapture);
    ShowFlag(IDC_PIN_AFTER_CAPTURE, m_options.m_bPinAfterCapture);
    ShowFlag(IDC_LAST_REGION_HOTKEY_ON, m_options.m_bLastRegionHotkey);
    SetHotkey(IDC_LAST_REGION_HOTKEY, m_options.m_wLastRegionKey, m_options.m_wLastRegionMods);
    EnableNoDocument();
    EnableHotkey();
}

bool CMorePage::OnCommand(WORD id, WORD, HWND)
{
    switch (id) {
    case IDC_COPY_AFTER_CAPTURE:
        EnableNoDocument();
        return true;
    case IDC_LAST_REGION_HOTKEY_ON:
        EnableHotkey();
        return true;
    }
    return false;
}

bool CMorePage::OnNotify(const NMHDR& header, LRESULT& result)
{
    // The 保存 page may have turned auto-save on or off since this page was last shown.
    if (header.code == static_cast<UINT>(PSN_SETACTIVE))
        EnableNoDocument();
    return CPropertyPage::OnNotify(header, result);
}

bool CMorePage::OnKillActive()
{
    const int countdown = GetSelection(IDC_COUNTDOWN);
    if (countdown < 0)
        return Refuse(IDC_COUNTDOWN);
    uint16_t key = 0;
    uint16_t modifiers = 0;
    GetHotkey(IDC_LAST_REGION_HOTKEY, key, modifiers);
    const int32_t hotkeyOn = GetCheck(IDC_LAST_REGION_HOTKEY_ON);
    // Unlike the two specified hotkeys this one starts without keys: only an enabled
    // one needs them.
    if (hotkeyOn && key == 0) {
        AppMessageBox(Handle(), IDS_HOTKEY_REQUIRED, MB_OK | MB_ICONINFORMATION);
        SetFocus(Item(IDC_LAST_REGION_HOTKEY));
        return false;
    }
    m_options.m_nCountdownSeconds = kCountdownChoices[countdown];
    m_options.m_bCopyAfterCapture = GetCheck(IDC_COPY_AFTER_CAPTURE);
    m_options.m_bNoDocumentAfterCapture = GetCheck(IDC_NO_DOCUMENT);
    m_options.m_bPinAfterCapture = GetCheck(IDC_PIN_AFTER_CAPTURE);
    m_options.m_bLastRegionHotkey = hotkeyOn;
    m_options.m_wLastRegionKey = key;
    m_options.m_wLastRegionMods = modifiers;
    m_bStartWithWindows = GetCheck(IDC_START_WITH_WINDOWS) == BST_CHECKED;
    return true;
}

void CMorePage::EnableNoDocument()
{
    EnableItem(IDC_NO_DOCUMENT, m_saveState.m_bAutoSave || GetCheck(IDC_COPY_AFTER_CAPTURE) == BST_CHECKED);
}

void CMorePage::EnableHotkey()
{
    EnableItem(IDC_LAST_REGION_HOTKEY, GetCheck(IDC_LAST_REGION_HOTKEY_ON) == BST_CHECKED);
}
