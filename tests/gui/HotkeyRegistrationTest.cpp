// The global hotkeys as the system sees them: a second window asks for the same keys
// and is refused exactly while the program holds them.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "DialogAnswerer.h"
#include "settings/Settings.h"

namespace {

constexpr int kProbeId = 0x7000;

class CProbeWindow {
public:
    CProbeWindow()
        : m_hWnd(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr))
    {
    }
    ~CProbeWindow() { DestroyWindow(m_hWnd); }
    CProbeWindow(const CProbeWindow&) = delete;
    CProbeWindow& operator=(const CProbeWindow&) = delete;
    operator HWND() const { return m_hWnd; }

    // Whether the keys are free: takes them and gives them back at once.
    bool CanTake(UINT modifiers, UINT key) const
    {
        if (!RegisterHotKey(m_hWnd, kProbeId, modifiers, key))
            return false;
        UnregisterHotKey(m_hWnd, kProbeId);
        return true;
    }

private:
    HWND m_hWnd;
};

class HotkeyRegistration : public ::testing::Test {
protected:
    void SetUp() override { m_settings.SetDefaults(); }

    CSettings m_settings;
    CProbeWindow m_frame;
    CProbeWindow m_other;
};

TEST_F(HotkeyRegistration, ModifiersAreConvertedAndDisabledHotkeysLeftAlone)
{
    m_settings.m_wFullScreenKey = VK_F9;
    m_settings.m_wFullScreenMods = HOTKEYF_ALT | HOTKEYF_SHIFT | HOTKEYF_EXT;
    m_settings.m_wModalKey = 'K';
    m_settings.m_wModalMods = HOTKEYF_CONTROL | HOTKEYF_SHIFT;
    m_settings.RegisterHotkeys(m_frame);
    EXPECT_FALSE(m_other.CanTake(MOD_ALT | MOD_SHIFT, VK_F9));
    EXPECT_FALSE(m_other.CanTake(MOD_CONTROL | MOD_SHIFT, 'K'));
    m_settings.UnregisterHotkeys(m_frame);

    m_settings.m_bFullScreenHotkey = 0;
    m_settings.RegisterHotkeys(m_frame);
    EXPECT_TRUE(m_other.CanTake(MOD_ALT | MOD_SHIFT, VK_F9));
    EXPECT_FALSE(m_other.CanTake(MOD_CONTROL | MOD_SHIFT, 'K'));
    m_settings.UnregisterHotkeys(m_frame);
    EXPECT_TRUE(m_other.CanTake(MOD_CONTROL | MOD_SHIFT, 'K'));
}

TEST_F(HotkeyRegistration, UpdateMovesOnlyTheHotkeyThatChanged)
{
    const CSettings before = m_settings;
    before.RegisterHotkeys(m_frame);
    m_settings.m_wFullScreenKey = VK_F11;
    m_settings.m_bModalHotkey = 0;

    m_settings.UpdateHotkey(m_frame, CSettings::kFullScreenHotkeyId, before);
    EXPECT_TRUE(m_other.CanTake(MOD_CONTROL, VK_F8));
    EXPECT_FALSE(m_other.CanTake(MOD_CONTROL, VK_F11));
    EXPECT_FALSE(m_other.CanTake(0, VK_F2)) << "the other hotkey is not touched";

    m_settings.UpdateHotkey(m_frame, CSettings::kModalHotkeyId, before);
    EXPECT_TRUE(m_other.CanTake(0, VK_F2)) << "switched off";

    // An unchanged hotkey is not registered again, so it cannot be refused either.
    ASSERT_TRUE(RegisterHotKey(m_other, 1, 0, VK_F2));
    CDialogAnswerer answerer({CDialogAnswerer::Press(IDOK)});
    before.UpdateHotkey(m_frame, CSettings::kModalHotkeyId, before);
    EXPECT_EQ(answerer.StepsTaken(), 0u);
    UnregisterHotKey(m_other, 1);
    m_settings.UnregisterHotkeys(m_frame);
}

}  // namespace

TEST_F(HotkeyRegistration, TheAddedHotkeysAreOffByDefaultAndOtherwiseHeldAndRestoredLikeTheOthers)
{
    m_settings.m_wLastRegionKey = 'L';
    m_settings.m_wLastRegionMods = HOTKEYF_CONTROL | HOTKEYF_ALT;
    struct Added {
        int32_t& enabled;
        UINT modifiers;
        UINT key;
    };
    // Capture-and-mark-up's keys are there from the start, Ctrl+F7.
    const Added added[] = {{m_settings.m_bLastRegionHotkey, MOD_CONTROL | MOD_ALT, 'L'},
                           {m_settings.m_bMarkupHotkey, MOD_CONTROL, VK_F7}};
    for (const Added& hotkey : added) {
        SCOPED_TRACE(hotkey.key);
        m_settings.RegisterHotkeys(m_frame);
        EXPECT_TRUE(m_other.CanTake(hotkey.modifiers, hotkey.key)) << "off by default";
        m_settings.UnregisterHotkeys(m_frame);

        hotkey.enabled = 1;
        m_settings.RegisterHotkeys(m_frame);
        EXPECT_FALSE(m_other.CanTake(hotkey.modifiers, hotkey.key));
        m_settings.UnregisterHotkeys(m_frame);
        EXPECT_TRUE(m_other.CanTake(hotkey.modifiers, hotkey.key));
        m_settings.RestoreHotkeys(m_frame);
        EXPECT_FALSE(m_other.CanTake(hotkey.modifiers, hotkey.key));
        m_settings.UnregisterHotkeys(m_frame);
        hotkey.enabled = 0;
    }
}
