// The 更多 page of the Options sheet, clicked and typed into as a user does, and what
// OK makes of it: the added options, the third hotkey and their file.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "Gbk.h"
#include "KeyInput.h"
#include "RealClick.h"
#include "gui/OptionsSheetFixture.h"
#include "res/resource.h"
#include "util/ModulePath.h"

namespace {

using MorePage = OptionsSheetFixture;

enum Page { kGeneral, kSave, kHotkeys, kAux, kMore };

bool Enabled(HWND sheet, int id)
{
    return IsWindowEnabled(PageItem(sheet, id)) != FALSE;
}

}  // namespace

TEST_F(MorePage, NoDocumentFollowsTheSavePagesAutoSaveAndCopyingAndOkKeepsWhatWasChosen)
{
    std::vector<bool> noDocumentEnabled;
    auto seeNoDocument = [&](HWND sheet) { noDocumentEnabled.push_back(Enabled(sheet, IDC_NO_DOCUMENT)); };
    RunOptions({[&](HWND sheet) { ClickTab(sheet, kMore); },
                [&](HWND sheet) {
                    EXPECT_EQ(ToGbk("更多"), [&] {
                        char text[32] = {};
                        TCITEMA item{};
                        item.mask = TCIF_TEXT;
                        item.pszText = text;
                        item.cchTextMax = sizeof text;
                        SendMessageA(PropSheet_GetTabControl(sheet), TCM_GETITEMA, kMore,
                                     reinterpret_cast<LPARAM>(&item));
                        return std::string(text);
                    }());
                    EXPECT_EQ(ToGbk("无"), ItemText(sheet, IDC_COUNTDOWN));
                    EXPECT_FALSE(Enabled(sheet, IDC_LAST_REGION_HOTKEY));
                    seeNoDocument(sheet);
                    ClickWindow(PageItem(sheet, IDC_COPY_AFTER_CAPTURE));
                },
                [&](HWND sheet) {
                    seeNoDocument(sheet);
                    ClickWindow(PageItem(sheet, IDC_COPY_AFTER_CAPTURE));
                },
                [&](HWND sheet) {
                    seeNoDocument(sheet);
                    ClickTab(sheet, kSave);
                },
                [&](HWND sheet) { ClickWindow(PageItem(sheet, IDC_AUTO_SAVE)); },
                [&](HWND sheet) { ClickTab(sheet, kMore); },
                [&](HWND sheet) {
                    seeNoDocument(sheet);
                    ClickWindow(PageItem(sheet, IDC_NO_DOCUMENT));
                },
                [&](HWND sheet) {
                    // Two steps down the closed list: 5 秒.
                    SetFocus(PageItem(sheet, IDC_COUNTDOWN));
                    PressKeys({VK_DOWN});
                    PressKeys({VK_DOWN});
                },
                [&](HWND sheet) { ClickWindow(PageItem(sheet, IDC_PIN_AFTER_CAPTURE)); },
                [&](HWND sheet) { ClickWindow(PageItem(sheet, IDC_LAST_REGION_HOTKEY_ON)); },
                [&](HWND sheet) {
                    EXPECT_TRUE(Enabled(sheet, IDC_LAST_REGION_HOTKEY));
                    ClickWindow(PageItem(sheet, IDC_LAST_REGION_HOTKEY));
                },
                [&](HWND) { PressKeys({VK_CONTROL, VK_F9}); },
                [&](HWND sheet) { PressOk(sheet); }});
    EXPECT_EQ((std::vector<bool>{false, true, false, true}), noDocumentEnabled);
    EXPECT_TRUE(m_driver.Messages().empty());
    EXPECT_EQ(5, g_settings.m_nCountdownSeconds);
    EXPECT_EQ(0, g_settings.m_bCopyAfterCapture);
    EXPECT_EQ(1, g_settings.m_bNoDocumentAfterCapture);
    EXPECT_EQ(1, g_settings.m_bPinAfterCapture);
    EXPECT_EQ(1, g_settings.m_bAutoSave);
    EXPECT_EQ(1, g_settings.m_bLastRegionHotkey);
    EXPECT_EQ(VK_F9, g_settings.m_wLastRegionKey);
    EXPECT_EQ(HOTKEYF_CONTROL, g_settings.m_wLastRegionMods);
    EXPECT_FALSE(KeysAreFree(MOD_CONTROL, VK_F9)) << "the third hotkey was registered at OK";

    char ini[MAX_PATH];
    ASSERT_TRUE(MakeModuleFilePath("lumigrab.ini", ini));
    EXPECT_EQ(5u, GetPrivateProfileIntA("Options", "Countdown", 0, ini)) << "OK wrote the added options";
}

TEST_F(MorePage, EachRefusedHotkeyIsReportedWithItsOwnMessage)
{
    // Held by another window, the keys cannot be typed here: they come stored.
    ASSERT_TRUE(RegisterHotKey(m_other, 1, MOD_CONTROL, VK_F9));
    ASSERT_TRUE(RegisterHotKey(m_other, 2, MOD_CONTROL, VK_F7));
    g_settings.m_wLastRegionKey = VK_F9;
    g_settings.m_wLastRegionMods = HOTKEYF_CONTROL;
    RunOptions({[&](HWND sheet) { ClickTab(sheet, kMore); },
                [&](HWND sheet) { ClickWindow(PageItem(sheet, IDC_LAST_REGION_HOTKEY_ON)); },
                [&](HWND sheet) {
                    EXPECT_FALSE(Enabled(sheet, IDC_MARKUP_HOTKEY)) << "off by default";
                    ClickWindow(PageItem(sheet, IDC_MARKUP_HOTKEY_ON));
                },
                [&](HWND sheet) { PressOk(sheet); }});
    UnregisterHotKey(m_other, 1);
    UnregisterHotKey(m_other, 2);
    EXPECT_EQ((std::vector<std::string>{ToGbk("无法注册上次区域热键！"), ToGbk("无法注册截图并标注热键！")}),
              m_driver.Messages());
    EXPECT_EQ(1, g_settings.m_bLastRegionHotkey) << "the keys stay stored and are tried at the next start";
    EXPECT_EQ(1, g_settings.m_bMarkupHotkey);
    EXPECT_EQ(VK_F7, g_settings.m_wMarkupKey);
}

TEST_F(MorePage, RestoreDefaultsResetsThePageButKeepsTheLastRegion)
{
    g_settings.m_nCountdownSeconds = 10;
    g_settings.m_bCopyAfterCapture = 1;
    g_settings.m_bHasLastRegion = 1;
    g_settings.m_rcLastRegion = {1, 2, 300, 400};
    RunOptions({[&](HWND sheet) { ClickTab(sheet, kMore); },
                [&](HWND sheet) {
                    EXPECT_EQ(ToGbk("10 秒"), ItemText(sheet, IDC_COUNTDOWN));
                    EXPECT_TRUE(Enabled(sheet, IDC_NO_DOCUMENT));
                    PressRestoreDefaults(sheet);
                },
                [&](HWND sheet) {
                    EXPECT_EQ(ToGbk("无"), ItemText(sheet, IDC_COUNTDOWN));
                    EXPECT_FALSE(Enabled(sheet, IDC_NO_DOCUMENT));
                    PressOk(sheet);
                }});
    EXPECT_EQ(0, g_settings.m_nCountdownSeconds);
    EXPECT_EQ(0, g_settings.m_bCopyAfterCapture);
    EXPECT_EQ(1, g_settings.m_bHasLastRegion);
    EXPECT_EQ(400, g_settings.m_rcLastRegion.bottom);
}

namespace {
// The logon entry as the registry has it; empty when there is none.
std::string RunEntry()
{
    char data[MAX_PATH + 16] = "";
    DWORD size = sizeof data;
    if (RegGetValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Lumigrab",
                     RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return "";
    return data;
}

void SetRunEntry(const std::string& data)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Lumigrab", REG_SZ,
                    data.c_str(), static_cast<DWORD>(data.size() + 1));
}

struct RunEntryRemover {
    ~RunEntryRemover()
    {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Lumigrab");
    }
};
}  // namespace

// The box shows the registry, not a stored option; OK puts this program's path there,
// also over an entry of a program that was moved, and unchecked removes the entry.
TEST_F(MorePage, StartWithWindowsShowsTheRegistryAndOkWritesRepairsOrRemovesTheEntry)
{
    RunEntryRemover remover;
    char exe[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    const std::string expected = "\"" + std::string(exe) + "\" /tray";
    auto showMorePage = [](HWND sheet) { ClickTab(sheet, kMore); };
    auto boxChecked = [](HWND sheet) {
        return SendMessageA(PageItem(sheet, IDC_START_WITH_WINDOWS), BM_GETCHECK, 0, 0) == BST_CHECKED;
    };

    SetRunEntry("\"C:\\moved away\\lumigrab.exe\" /tray");
    bool shown = false;
    RunOptions({showMorePage, [&](HWND sheet) {
                    shown = boxChecked(sheet);
                    PressOk(sheet);
                }});
    EXPECT_TRUE(shown);
    EXPECT_EQ(expected, RunEntry()) << "the moved path was repaired";

    RunOptions({showMorePage, [&](HWND sheet) { ClickWindow(PageItem(sheet, IDC_START_WITH_WINDOWS)); },
                [&](HWND sheet) { PressOk(sheet); }});
    EXPECT_EQ("", RunEntry());

    RunOptions({showMorePage, [&](HWND sheet) {
                    shown = boxChecked(sheet);
                    ClickWindow(PageItem(sheet, IDC_START_WITH_WINDOWS));
                },
                [&](HWND sheet) { PressOk(sheet); }});
    EXPECT_FALSE(shown);
    EXPECT_EQ(expected, RunEntry());
    EXPECT_TRUE(m_driver.Messages().empty());
}
