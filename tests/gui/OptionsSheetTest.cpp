// The Options command end to end inside the process: the real sheet and pages over
// g_settings, driven with the sheet's own messages, and what OK applies.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "Gbk.h"
#include "RealClick.h"
#include "capture/CaptureEngine.h"
#include "gui/OptionsSheetFixture.h"
#include "res/resource.h"
#include "settings/OptionsSheet.h"
#include "ui/UpdateUI.h"

namespace {

using OptionsSheet = OptionsSheetFixture;

enum Page { kGeneral, kSave, kHotkeys, kAux };

const COptionsSheetDriver::Step kVisitEveryPage = [](HWND sheet) {
    for (int page : {kSave, kHotkeys, kAux, kGeneral})
        ShowPage(sheet, page);
};

std::string TreeItemText(HWND tree, HTREEITEM item)
{
    char buffer[MAX_PATH] = {};
    TVITEMA info = {};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = buffer;
    info.cchTextMax = sizeof buffer;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
    return buffer;
}

void SetHotkey(HWND sheet, int id, BYTE key, BYTE modifiers)
{
    SendDlgItemMessageA(CurrentPage(sheet), id, HKM_SETHOTKEY, MAKEWORD(key, modifiers), 0);
}

RECT ClientRectOf(HWND sheet, int id)
{
    RECT rc;
    GetWindowRect(GetDlgItem(sheet, id), &rc);
    MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

}  // namespace

TEST_F(OptionsSheet, OpensOnGeneralCentredWithTitleAndRestoreDefaultsBesideTheButtons)
{
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 300, 200, 500, 400, nullptr, nullptr,
                                 nullptr, nullptr);
    COptionsSheet sheetObject(g_settings, [] { return g_captureEngine.CreateSkinManager(); });
    INT_PTR result = 0;
    m_driver.Run([&] { result = sheetObject.Run(owner); },
                 {[&](HWND sheet) {
                     char title[64] = {};
                     GetWindowTextA(sheet, title, sizeof title);
                     EXPECT_EQ(ToGbk("选项"), title);
                     EXPECT_EQ(kGeneral, CurrentPageIndex(sheet));
                     EXPECT_EQ(owner, GetWindow(sheet, GW_OWNER));

                     RECT rcSheet, rcOwner;
                     GetWindowRect(sheet, &rcSheet);
                     GetWindowRect(owner, &rcOwner);
                     EXPECT_NEAR((rcOwner.left + rcOwner.right) / 2, (rcSheet.left + rcSheet.right) / 2, 1);
                     EXPECT_NEAR((rcOwner.top + rcOwner.bottom) / 2, (rcSheet.top + rcSheet.bottom) / 2, 1);

                     char text[64] = {};
                     GetDlgItemTextA(sheet, IDC_RESTORE_DEFAULTS, text, sizeof text);
                     EXPECT_EQ(ToGbk("默认设置"), text);
                     const RECT rcButton = ClientRectOf(sheet, IDC_RESTORE_DEFAULTS);
                     const RECT rcCancel = ClientRectOf(sheet, IDCANCEL);
                     EXPECT_EQ(7, rcButton.left);
                     EXPECT_EQ(rcCancel.right - rcCancel.left, rcButton.right - rcButton.left);
                     EXPECT_EQ(rcCancel.top, rcButton.top);
                     EXPECT_EQ(rcCancel.bottom, rcButton.bottom);
                     // No Apply and no Help button.
                     for (int id : {0x3021, IDHELP}) {
                         HWND button = GetDlgItem(sheet, id);
                         EXPECT_TRUE(!button || !IsWindowVisible(button)) << id;
                     }
                     PressCancel(sheet);
                 }});
    DestroyWindow(owner);
    EXPECT_FALSE(m_driver.Hung());
    EXPECT_NE(1, result);
}

TEST_F(OptionsSheet, OkWithoutChangesChangesNothing)
{
    RegisterHotkeys();
    const CSettings before = g_settings;
    // A check mark out of step with the setting shows whether OK touched it.
    g_updateUI.CheckCommand(ID_CAPTURE_INCLUDE_CURSOR, true);
    RunOptions({kVisitEveryPage, PressOk});
    EXPECT_TRUE(g_settings == before);
    EXPECT_EQ(0, g_settings.m_bModified);
    EXPECT_TRUE(g_updateUI.IsChecked(ID_CAPTURE_INCLUDE_CURSOR));
    EXPECT_FALSE(KeysAreFree(MOD_CONTROL, VK_F8));
    EXPECT_FALSE(KeysAreFree(0, VK_F2));
}

TEST_F(OptionsSheet, CancelAfterRestoreDefaultsChangesNothing)
{
    g_settings.m_strNamePrefix = "shot";
    g_settings.m_nCaptureDelay = 5;
    g_settings.m_nMagnification = 7;
    const CSettings before = g_settings;
    std::string shownPrefix;
    RunOptions({kVisitEveryPage, [](HWND sheet) { ShowPage(sheet, kSave); }, PressRestoreDefaults,
                [&](HWND sheet) {
                    shownPrefix = ItemText(sheet, IDC_NAME_PREFIX);
                    PressCancel(sheet);
                }});
    EXPECT_EQ(ToGbk("快照-"), shownPrefix) << "an open page shows the defaults at once";
    EXPECT_TRUE(g_settings == before);
    EXPECT_EQ(0, g_settings.m_bModified);
}

TEST_F(OptionsSheet, RestoreDefaultsThenOkResetsTheHotkeysAndKeepsTheFolder)
{
    g_settings.m_wFullScreenKey = VK_F9;
    g_settings.m_wFullScreenMods = HOTKEYF_ALT;
    g_settings.m_nCaptureDelay = 5;
    RegisterHotkeys();
    LRESULT shownHotkey = 0;
    RunOptions({[](HWND sheet) { ShowPage(sheet, kHotkeys); }, PressRestoreDefaults,
                [&](HWND sheet) {
                    shownHotkey = SendDlgItemMessageA(CurrentPage(sheet), IDC_FULLSCREEN_HOTKEY, HKM_GETHOTKEY, 0, 0);
                    PressOk(sheet);
                }});
    EXPECT_EQ(MAKEWORD(VK_F8, HOTKEYF_CONTROL), LOWORD(shownHotkey));
    EXPECT_EQ(VK_F8, g_settings.m_wFullScreenKey);
    EXPECT_EQ(HOTKEYF_CONTROL, g_settings.m_wFullScreenMods);
    EXPECT_EQ(300u, g_settings.m_nCaptureDelay);
    EXPECT_EQ(m_tempFolder, g_settings.m_strSaveFolder);
    EXPECT_EQ(1, g_settings.m_bModified);
    EXPECT_TRUE(KeysAreFree(MOD_ALT, VK_F9));
    EXPECT_FALSE(KeysAreFree(MOD_CONTROL, VK_F8));
}

TEST_F(OptionsSheet, ChangingOnlyTheFullScreenHotkeyReRegistersOnlyItAndTheCursorCheckFollows)
{
    RegisterHotkeys();
    // Taken away behind the program's back: a re-registration of 101 would bring it back.
    UnregisterHotKey(m_frame, CSettings::kModalHotkeyId);
    g_updateUI.CheckCommand(ID_CAPTURE_INCLUDE_CURSOR, false);
    RunOptions({[](HWND sheet) {
                    Click(sheet, IDC_INCLUDE_CURSOR);
                    ShowPage(sheet, kHotkeys);
                    SetHotkey(sheet, IDC_FULLSCREEN_HOTKEY, VK_F11, HOTKEYF_SHIFT);
                },
                PressOk});
    EXPECT_FALSE(KeysAreFree(MOD_SHIFT, VK_F11));
    EXPECT_TRUE(KeysAreFree(MOD_CONTROL, VK_F8));
    EXPECT_TRUE(KeysAreFree(0, VK_F2)) << "the unchanged hotkey was registered again";
    EXPECT_EQ(1, g_settings.m_bIncludeCursor);
    EXPECT_TRUE(g_updateUI.IsChecked(ID_CAPTURE_INCLUDE_CURSOR));
}

TEST_F(OptionsSheet, GeneralPageRefusesAnEmptyOrTooLongDelayAndReadsItWhileDisabled)
{
    std::vector<int> pages, focused;
    bool delayEnabled = true;
    auto typeThenOk = [](const char* delay) {
        return [delay](HWND sheet) {
            TypeDigits(sheet, IDC_CAPTURE_DELAY, delay);
            ClickWindow(GetDlgItem(sheet, IDOK));
        };
    };
    auto refused = [&](HWND sheet) {
        pages.push_back(CurrentPageIndex(sheet));
        focused.push_back(FocusedId(sheet));
    };
    RunOptions({typeThenOk(""), refused, typeThenOk("10001"), refused,
                [](HWND sheet) {
                    TypeDigits(sheet, IDC_CAPTURE_DELAY, "10000");
                    ClickWindow(PageItem(sheet, IDC_HIDE_MAIN_WINDOW));
                },
                [&](HWND sheet) {
                    delayEnabled = IsWindowEnabled(PageItem(sheet, IDC_CAPTURE_DELAY));
                    ClickWindow(GetDlgItem(sheet, IDOK));
                }});
    EXPECT_EQ(std::vector<int>(2, kGeneral), pages);
    EXPECT_EQ(std::vector<int>(2, IDC_CAPTURE_DELAY), focused);
    EXPECT_TRUE(m_driver.Messages().empty());
    EXPECT_FALSE(delayEnabled);
    EXPECT_EQ(10000u, g_settings.m_nCaptureDelay);
    EXPECT_EQ(0, g_settings.m_bHideMainWindow);
}

TEST_F(OptionsSheet, SavePageRefusesBadPrefixesAndFoldersOnThePage)
{
    std::vector<int> focused;
    auto refused = [&](HWND sheet) {
        EXPECT_EQ(kSave, CurrentPageIndex(sheet));
        focused.push_back(FocusedId(sheet));
    };
    const std::string tooLong(65, 'x');
    // Trail bytes 0x5C and 0x7C are a backslash and a bar only outside a double-byte character.
    const std::string doubleBytePrefix = ToGbk("乗亅-");
    RunOptions({[&](HWND sheet) {
                    ShowPage(sheet, kSave);
                    SetItemText(sheet, IDC_NAME_PREFIX, tooLong.c_str());
                    PressOk(sheet);
                },
                refused,
                [](HWND sheet) {
                    SetItemText(sheet, IDC_NAME_PREFIX, "a:b");
                    PressOk(sheet);
                },
                refused,
                [&](HWND sheet) {
                    SetItemText(sheet, IDC_NAME_PREFIX, doubleBytePrefix.c_str());
                    Click(sheet, IDC_AUTO_SAVE);
                    SetItemText(sheet, IDC_SAVE_FOLDER, "");
                    PressOk(sheet);
                },
                refused,
                [&](HWND sheet) {
                    SetItemText(sheet, IDC_SAVE_FOLDER, m_tempFolder.c_str());
                    SendDlgItemMessageA(CurrentPage(sheet), IDC_SAVE_TYPE, CB_SETCURSEL, 2, 0);
                    PressOk(sheet);
                }});
    EXPECT_EQ((std::vector<int>{IDC_NAME_PREFIX, IDC_NAME_PREFIX, IDC_SAVE_FOLDER}), focused);
    EXPECT_EQ((std::vector<std::string>{ToGbk("图象名前缀中不能包含在文件名中无效的字符！"), ToGbk("无效的路径！")}),
              m_driver.Messages());
    EXPECT_EQ(doubleBytePrefix, g_settings.m_strNamePrefix);
    EXPECT_EQ(1, g_settings.m_bAutoSave);
    EXPECT_EQ(2, g_settings.m_nSaveType);
}

TEST_F(OptionsSheet, SavePageListsTheFormatsAndTheExampleFollowsThePrefix)
{
    std::vector<std::string> formats, examples;
    RunOptions({[&](HWND sheet) {
                    ShowPage(sheet, kSave);
                    HWND list = GetDlgItem(CurrentPage(sheet), IDC_SAVE_TYPE);
                    for (int i = 0; i < SendMessageA(list, CB_GETCOUNT, 0, 0); ++i) {
                        char name[32] = {};
                        SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name));
                        formats.push_back(name);
                    }
                    examples.push_back(ItemText(sheet, IDC_NAME_EXAMPLE));
                    SetItemText(sheet, IDC_NAME_PREFIX, "");
                    examples.push_back(ItemText(sheet, IDC_NAME_EXAMPLE));
                    SetFocus(GetDlgItem(CurrentPage(sheet), IDC_NAME_PREFIX));
                    // Typed as a user types it.
                    INPUT keys[4] = {};
                    for (int i = 0; i < 4; ++i) {
                        keys[i].type = INPUT_KEYBOARD;
                        keys[i].ki.wVk = i < 2 ? 'A' : 'B';
                        keys[i].ki.dwFlags = i % 2 ? KEYEVENTF_KEYUP : 0;
                    }
                    SendInput(4, keys, sizeof(INPUT));
                },
                [&](HWND sheet) {
                    examples.push_back(ItemText(sheet, IDC_NAME_EXAMPLE));
                    PressCancel(sheet);
                }});
    EXPECT_EQ((std::vector<std::string>{"JPEG", "BMP", "PNG"}), formats);
    EXPECT_EQ((std::vector<std::string>{ToGbk("快照-1"), "1", "ab1"}), examples);
}

TEST_F(OptionsSheet, HotkeysPageWantsBothKeysEvenForADisabledHotkey)
{
    RegisterHotkeys();
    int pageAfterOk = -1;
    RunOptions({[](HWND sheet) {
                    ShowPage(sheet, kHotkeys);
                    Click(sheet, IDC_FULLSCREEN_HOTKEY_ON);
                    SetHotkey(sheet, IDC_FULLSCREEN_HOTKEY, 0, 0);
                    PressOk(sheet);
                },
                [&](HWND sheet) {
                    pageAfterOk = CurrentPageIndex(sheet);
                    SetHotkey(sheet, IDC_FULLSCREEN_HOTKEY, VK_F8, HOTKEYF_CONTROL);
                    PressOk(sheet);
                }});
    EXPECT_EQ(kHotkeys, pageAfterOk);
    EXPECT_EQ(std::vector<std::string>{ToGbk("必须输入快捷键！")}, m_driver.Messages());
    EXPECT_EQ(0, g_settings.m_bFullScreenHotkey);
    EXPECT_TRUE(KeysAreFree(MOD_CONTROL, VK_F8)) << "a disabled hotkey is given up";
}

TEST_F(OptionsSheet, StoredValuesAPageWouldRefuseAreShownAsDefaultsSoEveryPageCanBeLeft)
{
    // What a damaged lumigrab.cfg can hold; the delay edit and the save folder, type and
    // browse button are disabled, so none of them could be corrected on the page.
    g_settings.m_bHideMainWindow = 0;
    g_settings.m_nCaptureDelay = 20000;
    g_settings.m_strNamePrefix = "a:b";
    g_settings.m_bAutoSave = 0;
    g_settings.m_strSaveFolder = "C:\\" + std::string(300, 'x');
    g_settings.m_nSaveType = 7;
    g_settings.m_wFullScreenKey = 0x100;
    g_settings.m_wFullScreenMods = HOTKEYF_ALT;
    g_settings.m_nModalMode = -5;
    g_settings.m_nMagnification = 0;
    g_settings.m_nSkin = 99;
    std::vector<int> pagesReached;
    std::vector<std::string> shown;
    auto record = [&](int id) { return [&, id](HWND sheet) { shown.push_back(ItemText(sheet, id)); }; };
    auto next = [&](int page) {
        return [&, page](HWND sheet) {
            pagesReached.push_back(CurrentPageIndex(sheet));
            ClickTab(sheet, page);
        };
    };
    RunOptions({[&](HWND sheet) {
                    record(IDC_CAPTURE_DELAY)(sheet);
                    ClickTab(sheet, kSave);
                },
                [&](HWND sheet) {
                    for (int id : {IDC_NAME_PREFIX, IDC_SAVE_FOLDER, IDC_SAVE_TYPE})
                        record(id)(sheet);
                    next(kHotkeys)(sheet);
                },
                [&](HWND sheet) {
                    record(IDC_MODAL_MODE)(sheet);
                    shown.push_back(std::to_string(
                        SendMessageA(PageItem(sheet, IDC_FULLSCREEN_HOTKEY), HKM_GETHOTKEY, 0, 0)));
                    next(kAux)(sheet);
                },
                [&](HWND sheet) {
                    record(IDC_MAGNIFICATION)(sheet);
                    shown.push_back(std::to_string(SendMessageA(PageItem(sheet, IDC_SKIN_LIST), LB_GETCURSEL, 0, 0)));
                    next(kGeneral)(sheet);
                },
                [&](HWND sheet) {
                    pagesReached.push_back(CurrentPageIndex(sheet));
                    ClickWindow(GetDlgItem(sheet, IDOK));
                }});
    EXPECT_EQ((std::vector<int>{kSave, kHotkeys, kAux, kGeneral}), pagesReached);
    EXPECT_TRUE(m_driver.Messages().empty());
    EXPECT_EQ((std::vector<std::string>{"300", ToGbk("快照-"), "", "JPEG", ToGbk("窗口捕捉"),
                                        std::to_string(MAKEWORD(VK_F8, HOTKEYF_CONTROL)), "2", "0"}),
              shown);
    const CSettings defaults = CSettings::Defaults();
    EXPECT_EQ(300u, g_settings.m_nCaptureDelay);
    EXPECT_EQ(defaults.m_strNamePrefix, g_settings.m_strNamePrefix);
    EXPECT_EQ("", g_settings.m_strSaveFolder);
    EXPECT_EQ(0, g_settings.m_nSaveType);
    EXPECT_EQ(VK_F8, g_settings.m_wFullScreenKey);
    EXPECT_EQ(1, g_settings.m_nModalMode);
    EXPECT_EQ(2, g_settings.m_nMagnification);
    EXPECT_EQ(0, g_settings.m_nSkin);
}

TEST_F(OptionsSheet, EachCheckBoxEnablesTheControlsThatDependOnIt)
{
    g_settings.m_bFullScreenHotkey = 0;
    using Enabled = std::vector<bool>;
    std::vector<Enabled> states;
    auto enabled = [&](HWND sheet, std::initializer_list<int> ids) {
        Enabled state;
        for (int id : ids)
            state.push_back(IsWindowEnabled(PageItem(sheet, id)) != FALSE);
        states.push_back(state);
    };
    const auto general = {IDC_CAPTURE_DELAY};
    const auto save = {IDC_SAVE_FOLDER, IDC_BROWSE_FOLDER, IDC_SAVE_TYPE};
    const auto hotkeys = {IDC_FULLSCREEN_HOTKEY, IDC_MODAL_HOTKEY, IDC_MODAL_MODE};
    auto clickThenShow = [](int id, int page) {
        return [id, page](HWND sheet) {
            ClickWindow(PageItem(sheet, id));
            if (page >= 0)
                ClickTab(sheet, page);
        };
    };
    RunOptions({[&](HWND sheet) {
                    enabled(sheet, general);
                    ClickWindow(PageItem(sheet, IDC_HIDE_MAIN_WINDOW));
                },
                [&](HWND sheet) {
                    enabled(sheet, general);
                    ClickTab(sheet, kSave);
                },
                [&](HWND sheet) {
                    enabled(sheet, save);
                    ClickWindow(PageItem(sheet, IDC_AUTO_SAVE));
                },
                [&](HWND sheet) {
                    enabled(sheet, save);
                    clickThenShow(IDC_AUTO_SAVE, kHotkeys)(sheet);
                },
                [&](HWND sheet) {
                    enabled(sheet, hotkeys);
                    ClickWindow(PageItem(sheet, IDC_FULLSCREEN_HOTKEY_ON));
                },
                [&](HWND sheet) {
                    enabled(sheet, hotkeys);
                    ClickWindow(PageItem(sheet, IDC_MODAL_HOTKEY_ON));
                },
                [&](HWND sheet) {
                    enabled(sheet, hotkeys);
                    PressCancel(sheet);
                }});
    EXPECT_EQ((std::vector<Enabled>{{true}, {false}, {false, false, false}, {true, true, true},
                                     {false, true, true}, {true, true, true}, {true, false, false}}),
              states);
}

TEST_F(OptionsSheet, BrowseShowsTheTreeFromTheDesktopWithTheStoredFolderSelected)
{
    g_settings.m_bAutoSave = 1;
    std::string selected, root;
    int depth = 0;
    RunOptions({[](HWND sheet) { ClickTab(sheet, kSave); },
                [](HWND sheet) {
                    // What is being typed does not move the browser.
                    SetItemText(sheet, IDC_SAVE_FOLDER, "C:\\");
                    ClickWindow(PageItem(sheet, IDC_BROWSE_FOLDER));
                },
                [&](HWND sheet) {
                    EXPECT_EQ(m_tempFolder.substr(0, m_tempFolder.size() - 1), ItemText(sheet, IDC_SAVE_FOLDER));
                    PressCancel(sheet);
                }},
               {[&](HWND browser) {
                   HWND tree = FindWindowExA(browser, nullptr, WC_TREEVIEWA, nullptr);
                   auto text = [tree](HTREEITEM item) { return TreeItemText(tree, item); };
                   HTREEITEM item = TreeView_GetSelection(tree);
                   selected = text(item);
                   while (HTREEITEM parent = TreeView_GetParent(tree, item)) {
                       item = parent;
                       ++depth;
                   }
                   root = text(item);
                   ClickWindow(GetDlgItem(browser, IDOK));
               }});
    ITEMIDLIST* desktop = nullptr;
    ASSERT_EQ(S_OK, SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktop));
    SHFILEINFOA info = {};
    SHGetFileInfoA(reinterpret_cast<const char*>(desktop), 0, &info, sizeof info, SHGFI_PIDL | SHGFI_DISPLAYNAME);
    CoTaskMemFree(desktop);
    EXPECT_EQ(std::string(info.szDisplayName), root);
    EXPECT_EQ(std::string(PathFindFileNameA(m_tempFolder.substr(0, m_tempFolder.size() - 1).c_str())), selected);
    EXPECT_GE(depth, 3) << "desktop, computer, drive and on down to the folder";
}
