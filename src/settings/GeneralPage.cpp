#include "settings/GeneralPage.h"

#include <utility>

#include "res/resource.h"

namespace {
// Longer pauses are refused: the frame stays hidden for the whole pause.
const uint32_t kMaxCaptureDelay = 10000;
}  // namespace

CGeneralPage::CGeneralPage(GeneralOptions& options, SheetSetUp setUpSheet)
    : CPropertyPage(IDD_OPTIONS_GENERAL), m_options(options), m_setUpSheet(std::move(setUpSheet))
{
}

BOOL CGeneralPage::OnInitDialog()
{
    m_setUpSheet(Sheet());
    Load();
    return TRUE;
}

void CGeneralPage::Load()
{
    ShowFlag(IDC_INCLUDE_CURSOR, m_options.m_bIncludeCursor);
    ShowFlag(IDC_PLAY_SOUND, m_options.m_bPlaySound);
    ShowFlag(IDC_HIDE_MAIN_WINDOW, m_options.m_bHideMainWindow);
    if (m_options.m_nCaptureDelay > kMaxCaptureDelay)
        m_options.m_nCaptureDelay = CSettings::Defaults().m_nCaptureDelay;
    SetUnsigned(IDC_CAPTURE_DELAY, m_options.m_nCaptureDelay);
    ShowFlag(IDC_SHOW_AFTER_CAPTURE, m_options.m_bShowAfterCapture);
    ShowFlag(IDC_SIMULATE_PRINTSCREEN, m_options.m_bSimulatePrintScreen);
    EnableDelay();
}

bool CGeneralPage::OnCommand(WORD id, WORD, HWND)
{
    if (id != IDC_HIDE_MAIN_WINDOW)
        return false;
    EnableDelay();
    return true;
}

bool CGeneralPage::OnKillActive()
{
    m_options.m_bIncludeCursor = GetCheck(IDC_INCLUDE_CURSOR);
    m_options.m_bPlaySound = GetCheck(IDC_PLAY_SOUND);
    m_options.m_bHideMainWindow = GetCheck(IDC_HIDE_MAIN_WINDOW);
    // Read even while disabled: the value stays for when hiding is turned on again.
    uint32_t delay = 0;
    if (!GetUnsigned(IDC_CAPTURE_DELAY, delay) || delay > kMaxCaptureDelay)
        return Refuse(IDC_CAPTURE_DELAY);
    m_options.m_nCaptureDelay = delay;
    m_options.m_bShowAfterCapture = GetCheck(IDC_SHOW_AFTER_CAPTURE);
    m_options.m_bSimulatePrintScreen = GetCheck(IDC_SIMULATE_PRINTSCREEN);
    return true;
}

void CGeneralPage::EnableDelay()
{
    EnableItem(IDC_CAPTURE_DELAY, GetCheck(IDC_HIDE_MAIN_WINDOW) == BST_CHECKED);
}
