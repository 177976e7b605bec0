#include "settings/OptionsSheet.h"
#include "settings/Settings.h"

#include "res/resource.h"
#include "settings/StartWithWindows.h"
#include "ui/MainFrameHandle.h"
#include "ui/UpdateUI.h"
#include "util/AppMessageBox.h"
#include "util/SystemReason.h"

void CSettings::ShowOptions(const std::function<ISkinManager*()>& createSkinManager)
{
    COptionsSheet sheet(*this, createSkinManager);
    if (sheet.Run(GetActiveWindow()) != 1)
        return;
    // Every OK writes the logon entry, so that a moved program is found there again.
    const LSTATUS status = CStartWithWindows::ForThisProgram().Apply(sheet.StartWithWindows());
    if (status != ERROR_SUCCESS)
        AppMessageBox(g_hMainFrame, IDS_START_WITH_WINDOWS_FAILED, MB_OK | MB_ICONEXCLAMATION,
                      SystemReason(static_cast<DWORD>(status)).c_str());
    if (sheet.Settings() == *this)
        return;

    const CSettings before(*this);
    *this = sheet.Settings();
    m_bModified = 1;
    // A refused registration is reported; the new keys stay stored and are tried
    // again at the next start.
    UpdateHotkey(g_hMainFrame, kFullScreenHotkeyId, before);
    UpdateHotkey(g_hMainFrame, kModalHotkeyId, before);
    UpdateHotkey(g_hMainFrame, kLastRegionHotkeyId, before);
    UpdateHotkey(g_hMainFrame, kMarkupHotkeyId, before);
    g_updateUI.CheckCommand(ID_CAPTURE_INCLUDE_CURSOR, m_bIncludeCursor != 0);
    // Written now as well as at exit: a crash or a killed process keeps what the
    // user chose.
    Save();
}
