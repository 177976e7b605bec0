#include "settings/OptionsSheet.h"
#include "settings/Settings.h"

#include "res/resource.h"
#include "ui/MainFrameHandle.h"
#include "ui/UpdateUI.h"

void CSettings::ShowOptions(const std::function<ISkinManager*()>& createSkinManager)
{
    COptionsSheet sheet(*this, createSkinManager);
    if (sheet.Run(GetActiveWindow()) != 1 || sheet.Settings() == *this)
        return;

    const CSettings before(*this);
    *this = sheet.Settings();
    m_bModified = 1;
    // A refused registration is reported; the new keys stay stored and are tried
    // again at the next start.
    UpdateHotkey(g_hMainFrame, kFullScreenHotkeyId, before);
    UpdateHotkey(g_hMainFrame, kModalHotkeyId, before);
    UpdateHotkey(g_hMainFrame, kLastRegionHotkeyId, before);
    g_updateUI.CheckCommand(ID_CAPTURE_INCLUDE_CURSOR, m_bIncludeCursor != 0);
    // Written now as well as at exit: a crash or a killed process keeps what the
    // user chose.
    Save();
}
