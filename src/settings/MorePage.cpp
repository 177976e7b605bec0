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
    ShowFlag(IDC_DESK_FOR_ALL_CAPTURES, m_options.m_bDeskForAllCaptures);
    ShowFlag(IDC_LAST_REGION_HOTKEY_ON, m_options.m_bLastRegionHotkey);
    SetHotkey(IDC_LAST_REGION_HOTKEY, m_options.m_wLastRegionKey, m_options.m_wLastRegionMods);
    ShowFlag(IDC_MARKUP_HOTKEY_ON, m_options.m_bMarkupHotkey);
    SetHotkey(IDC_MARKUP_HOTKEY, m_options.m_wMarkupKey, m_options.m_wMarkupMods);
    EnableNoDocument();
    EnableHotkeys();
}

bool CMorePage::OnCommand(WORD id, WORD, HWND)
{
    switch (id) {
    case IDC_COPY_AFTER_CAPTURE:
        EnableNoDocument();
        return true;
    case IDC_LAST_REGION_HOTKEY_ON:
    case IDC_MARKUP_HOTKEY_ON:
        EnableHotkeys();
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
    const PageHotkey lastRegion = ReadHotkey(IDC_LAST_REGION_HOTKEY_ON, IDC_LAST_REGION_HOTKEY);
    if (!lastRegion.complete)
        return false;
    const PageHotkey markup = ReadHotkey(IDC_MARKUP_HOTKEY_ON, IDC_MARKUP_HOTKEY);
    if (!markup.complete)
        return false;
    m_options.m_nCountdownSeconds = kCountdownChoices[countdown];
    m_options.m_bCopyAfterCapture = GetCheck(IDC_COPY_AFTER_CAPTURE);
    m_options.m_bNoDocumentAfterCapture = GetCheck(IDC_NO_DOCUMENT);
    m_options.m_bPinAfterCapture = GetCheck(IDC_PIN_AFTER_CAPTURE);
    m_options.m_bDeskForAllCaptures = GetCheck(IDC_DESK_FOR_ALL_CAPTURES);
    m_options.m_bLastRegionHotkey = lastRegion.enabled;
    m_options.m_wLastRegionKey = lastRegion.key;
    m_options.m_wLastRegionMods = lastRegion.modifiers;
    m_options.m_bMarkupHotkey = markup.enabled;
    m_options.m_wMarkupKey = markup.key;
    m_options.m_wMarkupMods = markup.modifiers;
    m_bStartWithWindows = GetCheck(IDC_START_WITH_WINDOWS) == BST_CHECKED;
    return true;
}

void CMorePage::EnableNoDocument()
{
    EnableItem(IDC_NO_DOCUMENT, m_saveState.m_bAutoSave || GetCheck(IDC_COPY_AFTER_CAPTURE) == BST_CHECKED);
}

void CMorePage::EnableHotkeys()
{
    EnableItem(IDC_LAST_REGION_HOTKEY, GetCheck(IDC_LAST_REGION_HOTKEY_ON) == BST_CHECKED);
    EnableItem(IDC_MARKUP_HOTKEY, GetCheck(IDC_MARKUP_HOTKEY_ON) == BST_CHECKED);
}

// Unlike the two specified hotkeys these may be cleared: only an enabled one needs keys,
// and one without them is refused where the user can type them.
CMorePage::PageHotkey CMorePage::ReadHotkey(int checkId, int hotkeyId)
{
    PageHotkey hotkey;
    GetHotkey(hotkeyId, hotkey.key, hotkey.modifiers);
    hotkey.enabled = GetCheck(checkId);
    if (hotkey.enabled && hotkey.key == 0) {
        AppMessageBox(Handle(), IDS_HOTKEY_REQUIRED, MB_OK | MB_ICONINFORMATION);
        SetFocus(Item(hotkeyId));
        hotkey.complete = false;
    }
    return hotkey;
}
