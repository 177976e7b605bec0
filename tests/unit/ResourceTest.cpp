// The resources linked into the program: texts byte for byte as the Chinese ANSI
// code page delivers them, dialog templates, menus and accelerators.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "Gbk.h"

#include <cstring>
#include <ostream>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "ResourceTestSupport.h"
#include "res/resource.h"
#include "scoped/ScopedHandles.h"

namespace {

std::string LoadText(UINT id)
{
    char buffer[512];
    const int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    return std::string(buffer, length);
}

TEST_F(ResourceTest, QuotedStringsLoadByteForByte)
{
    const std::pair<UINT, const char*> strings[] = {
        {IDR_MAINFRAME, "Lumigrab"},
        {IDS_DEFAULT_PREFIX, "快照-"},
        {IDS_OPEN_FILTER_ALL, "所有文件 (*.*)|*.*"},
        {IDS_EDITOR_FILTER, "图象编辑程序 (*.exe)|*.exe"},
        {IDS_OPTIONS_TITLE, "选项"},
        {IDS_RESTORE_DEFAULTS, "默认设置"},
        {IDS_MODE_FULLSCREEN, "全屏捕捉"},
        {IDS_MODE_WINDOW, "窗口捕捉"},
        {IDS_MODE_REGION, "区域捕捉"},
        {IDS_MODE_OBJECT, "对象捕捉"},
        {IDS_AUX_WINDOW, "辅助窗口"},
        {IDS_CHOOSE_FOLDER, "选择文件夹"},
        {IDS_SAVE_PROMPT, "要保存图象“%s”吗？"},
        {IDS_EDITOR_NAME, "显示名称"},
        {IDS_EDITOR_PATH, "目标路径"},
        {IDS_ADD_EDITOR, "添加图象编辑器"},
        {IDS_CONFIG_READ_FAILED, "无法读取配置信息！"},
        {IDS_CONFIG_WRITE_FAILED, "无法写入配置信息！"},
        {IDS_HOTKEY_FULLSCREEN_FAILED, "无法注册全屏捕捉热键！"},
        {IDS_HOTKEY_MODAL_FAILED, "无法注册模式捕捉热键！"},
        {IDS_ENGINE_MISSING, "无法加载图像捕捉模块 \"snapcore.dll\"。"},
        {IDS_HOTKEY_REQUIRED, "必须输入快捷键！"},
        {IDS_PREFIX_INVALID, "图象名前缀中不能包含在文件名中无效的字符！"},
        {IDS_PATH_INVALID, "无效的路径！"},
        {IDS_UNSUPPORTED_TYPE, "不支持的文件类型！"},
        {IDS_OPEN_FAILED, "加载文件失败"},
        {ID_VIEW_OPTIONS, "查看和修改程序设置\n设置"},
        {ID_INDICATOR_SIZE, " 实际尺寸: 1600 x 1200 "},
        {ID_INDICATOR_ZOOM, " 缩放比例: 3200% "},
        {ID_EDITORS, "打开和设置图象编辑器\n编辑"},
        {ID_EDITOR_SETTINGS, "设置(&S)..."},
        {IDS_READY, "就绪"},
        {IDS_COPY_FAILED, "无法将图像复制到剪贴板，剪贴板可能正被其他程序使用。"},
        {IDS_NO_SKIN_PREVIEW, "未加载图像捕捉模块 \"snapcore.dll\"，无法预览窗口皮肤。"},
        {IDS_FOLDER_TOO_LONG, "所选文件夹的路径太长（最多 259 个字节），请选择路径较短的文件夹。"},
        {IDS_EDITOR_NOT_FOUND, "文件“%s”不存在。"},
    };
    for (const auto& [id, text] : strings)
        EXPECT_EQ(ToGbk(text), LoadText(id)) << "string " << id;
}

// A dialog template or one of its controls as the extended template stores it; a
// class given as an ordinal (0x80 button ... 0x85 combo box) is written "#128" etc.,
// a class name as the resource compiler stores it, in capitals.
struct TemplateEntry {
    std::string className;
    int id;
    std::string text;
    DWORD style;
    DWORD exStyle;
    bool operator==(const TemplateEntry& o) const
    {
        return className == o.className && id == o.id && text == o.text && style == o.style && exStyle == o.exStyle;
    }
};

std::ostream& operator<<(std::ostream& out, const TemplateEntry& e)
{
    return out << "{" << e.className << ", " << e.id << ", \"" << e.text << "\", 0x" << std::hex << e.style << ", 0x"
               << e.exStyle << std::dec << "}";
}

// Reads a text-or-ordinal field, in the system code page, and moves past it.
std::string TemplateText(const BYTE*& at)
{
    const WORD first = Read<WORD>(at, 0);
    if (first == 0xFFFF) {
        const WORD ordinal = Read<WORD>(at, 2);
        at += 4;
        return "#" + std::to_string(ordinal);
    }
    const auto* wide = reinterpret_cast<const WCHAR*>(at);
    const int length = lstrlenW(wide);
    at += 2 * (length + 1);
    char text[512] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, length, text, sizeof text - 1, nullptr, nullptr);
    return text;
}

// The dialog itself (class: its size "WxH", id: the font size) followed by its controls.
std::vector<TemplateEntry> DialogTemplate(UINT id)
{
    const auto [bytes, size] = ResourceBytes(MAKEINTRESOURCEA(id), RT_DIALOG);
    std::vector<TemplateEntry> entries;
    if (!bytes || size < 26 || Read<WORD>(bytes, 2) != 0xFFFF) {
        ADD_FAILURE() << "dialog " << id << " is missing or not an extended template";
        return entries;
    }
    const DWORD style = Read<DWORD>(bytes, 12);
    const WORD count = Read<WORD>(bytes, 16);
    const std::string extent = std::to_string(Read<short>(bytes, 22)) + "x" + std::to_string(Read<short>(bytes, 24));
    const BYTE* at = bytes + 26;
    TemplateText(at);  // menu
    TemplateText(at);  // class
    const std::string caption = TemplateText(at);
    const int points = Read<WORD>(at, 0);
    at += 6;
    entries.push_back({extent, points, caption + " / " + TemplateText(at), style, Read<DWORD>(bytes, 8)});
    for (WORD i = 0; i < count; ++i) {
        at = bytes + ((at - bytes + 3) & ~size_t(3));
        const DWORD exStyle = Read<DWORD>(at, 4), controlStyle = Read<DWORD>(at, 8);
        const int controlId = static_cast<int>(Read<DWORD>(at, 20));
        at += 24;
        const std::string className = TemplateText(at);
        const std::string text = TemplateText(at);
        at += 2 + Read<WORD>(at, 0);
        entries.push_back({className, controlId, text, controlStyle, exStyle});
    }
    return entries;
}

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kCheck = kChild | BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kText = kChild | SS_LEFT | WS_GROUP;
constexpr DWORD kEdit = kChild | ES_LEFT | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kButton = kChild | BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD kList = kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
constexpr DWORD kPage = WS_CHILD | WS_CAPTION | WS_DISABLED | DS_SETFONT;
constexpr DWORD kModal = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT;
const char* const kButtonClass = "#128";
const char* const kEditClass = "#129";
const char* const kStaticClass = "#130";
const char* const kComboClass = "#133";

TEST_F(ResourceTest, DialogTemplatesHoldTheirControlsInTabOrder)
{
    const std::vector<std::pair<UINT, std::vector<TemplateEntry>>> dialogs = {
        {IDD_ABOUTBOX, {
            {"204x113", 8, "关于 / Tahoma", kModal, 0},
            {kButtonClass, IDOK, "OK", kChild | BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 0},
            {kStaticClass, -1, "Lumigrab\n\t\tv2.0", kText, 0},
            {kStaticClass, -1, "#128", kChild | SS_ICON, 0},
            {kStaticClass, -1, "Lumigrab 开发组", kText, 0},
            {kStaticClass, IDC_CONTACT_LINK, "support@lumigrab.example", kText | WS_TABSTOP, 0},
            {kStaticClass, -1, "本程序按“原样”提供，不附带任何担保。\n您可以免费使用和复制本程序，但不得出售。", kText, 0},
            {"STATIC", -1, "", kChild | SS_ETCHEDHORZ, 0},
        }},
        {IDD_OPTIONS_GENERAL, {
            {"235x156", 8, "常规 / Tahoma", kPage, 0},
            {kButtonClass, IDC_INCLUDE_CURSOR, "捕捉时包含光标(&C)", kCheck | WS_GROUP, 0},
            {kButtonClass, IDC_PLAY_SOUND, "捕捉时播放声音(&S)", kCheck, 0},
            {kButtonClass, IDC_HIDE_MAIN_WINDOW, "捕捉时隐藏主窗口(&H)", kCheck, 0},
            {kStaticClass, -1, "延迟", kText, 0},
            {kEditClass, IDC_CAPTURE_DELAY, "", kEdit | ES_NUMBER, 0},
            {kStaticClass, -1, "ms 后开始捕捉", kText, 0},
            {kButtonClass, IDC_SHOW_AFTER_CAPTURE, "完成捕捉后显示主窗口(&M)", kCheck, 0},
            {kButtonClass, IDC_SIMULATE_PRINTSCREEN, "模拟 PrintScreen 按键进行捕捉(&P)", kCheck, 0},
            {kStaticClass, -1, "(能够捕捉某些特殊窗口，但可能与其它捕捉程序发生冲突 )", kText, 0},
        }},
        {IDD_OPTIONS_SAVE, {
            {"235x156", 8, "保存 / Tahoma", kPage, 0},
            {kButtonClass, IDC_AUTO_SAVE, "自动保存捕捉的图象(&S)", kCheck, 0},
            {kEditClass, IDC_SAVE_FOLDER, "", kEdit, 0},
            {kButtonClass, IDC_BROWSE_FOLDER, "浏览(&B)", kButton, 0},
            {kComboClass, IDC_SAVE_TYPE, "", kList, 0},
            {kStaticClass, -1, "类型", kText, 0},
            {kStaticClass, -1, "路径", kText, 0},
            {kStaticClass, -1, "图象名前缀", kText, 0},
            {kEditClass, IDC_NAME_PREFIX, "", kEdit, 0},
            {kStaticClass, -1, "示例", kText, 0},
            {kStaticClass, IDC_NAME_EXAMPLE, "", kText, 0},
        }},
        {IDD_OPTIONS_HOTKEYS, {
            {"235x156", 8, "热键 / Tahoma", kPage, 0},
            {kButtonClass, -1, "全屏捕捉", kChild | BS_GROUPBOX, 0},
            {kButtonClass, IDC_FULLSCREEN_HOTKEY_ON, "启用热键(&F)", kCheck, 0},
            {"MSCTLS_HOTKEY32", IDC_FULLSCREEN_HOTKEY, "", kChild | WS_BORDER | WS_TABSTOP, 0},
            {kButtonClass, -1, "模式捕捉", kChild | BS_GROUPBOX, 0},
            {kButtonClass, IDC_MODAL_HOTKEY_ON, "启用热键(&M)", kCheck, 0},
            {"MSCTLS_HOTKEY32", IDC_MODAL_HOTKEY, "", kChild | WS_BORDER | WS_TABSTOP, 0},
            {kStaticClass, -1, "缺省捕捉模式", kText, 0},
            {kComboClass, IDC_MODAL_MODE, "", kList, 0},
        }},
        {IDD_OPTIONS_AUX, {
            {"235x156", 8, "辅助 / Tahoma", kPage, 0},
            {"LISTBOX", IDC_SKIN_LIST, "",
             kChild | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_BORDER | WS_VSCROLL | WS_TABSTOP, 0},
            {kEditClass, IDC_MAGNIFICATION, "", kChild | ES_LEFT | WS_BORDER | WS_TABSTOP | ES_NUMBER, 0},
            // The page draws the preview's outline itself.
            {"STATIC", IDC_SKIN_PREVIEW, "", kChild | SS_LEFT, 0},
            {kStaticClass, -1, "窗口皮肤", kText, 0},
            {kStaticClass, -1, "(1 - 32)", kText, 0},
            {kStaticClass, -1, "预览放大倍数", kText, 0},
        }},
        {IDD_EDITORS, {
            {"290x180", 8, "外部图象编辑器 / Tahoma", kModal, 0},
            {"SYSLISTVIEW32", IDC_EDITOR_LIST, "", kChild | LVS_OWNERDATA | WS_BORDER | WS_TABSTOP, 0},
            {kButtonClass, IDC_EDITOR_UP, "上移(&U)", kButton, 0},
            {kButtonClass, IDC_EDITOR_DOWN, "下移(&D)", kButton, 0},
            {kButtonClass, IDC_EDITOR_ADD, "添加(&A)", kButton, 0},
            {kButtonClass, IDC_EDITOR_REMOVE, "删除(&E)", kButton, 0},
            {kButtonClass, IDC_EDITOR_RENAME, "重命名(&R)", kButton, 0},
            {kButtonClass, IDCANCEL, "关闭", kButton, 0},
        }},
        {IDD_ADD_EDITOR, {
            {"272x60", 8, " / Tahoma", kModal, 0},
            {kStaticClass, IDC_EDITOR_PROMPT, "", kText, 0},
            {kEditClass, IDC_EDITOR_PATH, "", kEdit, 0},
            {kButtonClass, IDC_BROWSE_EDITOR, "...", kButton, 0},
            {kButtonClass, IDOK, "确定", kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
            {kButtonClass, IDCANCEL, "取消", kButton, 0},
            {kButtonClass, IDC_SYSTEM_PAINT, "Windows 画板", kButton, 0},
        }},
    };
    for (const auto& [id, expected] : dialogs) {
        std::vector<TemplateEntry> gbk = expected;
        for (TemplateEntry& entry : gbk)
            entry.text = ToGbk(entry.text.c_str());
        const std::vector<TemplateEntry> actual = DialogTemplate(id);
        ASSERT_EQ(gbk.size(), actual.size()) << "dialog " << id;
        for (size_t i = 0; i < gbk.size(); ++i)
            EXPECT_EQ(gbk[i], actual[i]) << "dialog " << id << ", entry " << i;
    }
}

// Menu items walked from the loaded menu resource.
struct MenuEntry {
    const char* text;  // nullptr: a separator
    UINT id;
    std::vector<MenuEntry> popup;
};

MenuEntry Item(const char* text, UINT id) { return {text, id, {}}; }
MenuEntry Popup(const char* text, std::vector<MenuEntry> items) { return {text, 0, std::move(items)}; }
const MenuEntry separator{nullptr, 0, {}};

void ExpectMenu(HMENU menu, const std::vector<MenuEntry>& expected, const std::string& where)
{
    ASSERT_EQ(static_cast<int>(expected.size()), GetMenuItemCount(menu)) << where;
    for (UINT i = 0; i < expected.size(); ++i) {
        const MenuEntry& entry = expected[i];
        const std::string item = where + " / " + (entry.text ? entry.text : "separator");
        char text[256] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = sizeof text;
        ASSERT_TRUE(GetMenuItemInfoA(menu, i, TRUE, &info)) << item;
        if (!entry.text) {
            EXPECT_TRUE(info.fType & MFT_SEPARATOR) << item;
            continue;
        }
        EXPECT_FALSE(info.fType & MFT_SEPARATOR) << item;
        EXPECT_EQ(ToGbk(entry.text), std::string(text)) << item;
        if (entry.popup.empty()) {
            EXPECT_EQ(nullptr, info.hSubMenu) << item;
            EXPECT_EQ(entry.id, info.wID) << item;
        } else {
            ASSERT_NE(nullptr, info.hSubMenu) << item;
            ExpectMenu(info.hSubMenu, entry.popup, item);
        }
    }
}

CMenuOwner LoadMenuResource(UINT id)
{
    CMenuOwner menu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)));
    EXPECT_NE(nullptr, menu) << "menu " << id;
    return menu;
}

const MenuEntry capturePopup = Popup("捕捉(&C)", {
    Item("全屏幕(&F)", ID_CAPTURE_FULLSCREEN),
    Item("窗口(&W)", ID_CAPTURE_WINDOW),
    Item("区域(&R)", ID_CAPTURE_REGION),
    Item("对象(&O)", ID_CAPTURE_OBJECT),
    Item("上次区域(&L)", ID_CAPTURE_LAST_REGION),
    Item("截图并标注(&S)", ID_CAPTURE_MARKUP),
    Item("长截图(&G)", ID_CAPTURE_LONGSHOT),
    Item("录制动图(&A)", ID_CAPTURE_RECORD_GIF),
    separator,
    Item("包含光标(&C)", ID_CAPTURE_INCLUDE_CURSOR),
    Popup("延时(&D)", {
        Item("无", ID_CAPTURE_DELAY_NONE),
        Item("3 秒", ID_CAPTURE_DELAY_3),
        Item("5 秒", ID_CAPTURE_DELAY_5),
        Item("10 秒", ID_CAPTURE_DELAY_10),
    }),
});
const MenuEntry viewPopup = Popup("查看(&V)", {
    Item("工具栏(&T)", ID_VIEW_TOOLBAR),
    Item("状态栏(&S)", ID_VIEW_STATUS_BAR),
    separator,
    Item("选项(&O)...", ID_VIEW_OPTIONS),
});
const MenuEntry helpPopup = Popup("帮助(&H)", {
    Item("主题(&T)", ID_HELP_TOPICS),
    separator,
    Item("关于(&A)...", ID_APP_ABOUT),
});

TEST_F(ResourceTest, FrameMenuWithoutDocument)
{
    CMenuOwner menu = LoadMenuResource(IDR_MAINFRAME);
    ASSERT_NE(nullptr, menu);
    ExpectMenu(menu.get(), {
        Popup("文件(&F)", {
            Item("打开(&O)...\tCtrl+O", ID_FILE_OPEN),
            separator,
            Item("退出(&X)", ID_APP_EXIT),
        }),
        capturePopup,
        viewPopup,
        helpPopup,
    }, "menu 128");
}

TEST_F(ResourceTest, ImageDocumentMenuHasZoomLevelsAndWindowList)
{
    CMenuOwner menu = LoadMenuResource(IDR_IMAGETYPE);
    ASSERT_NE(nullptr, menu);
    ExpectMenu(menu.get(), {
        Popup("文件(&F)", {
            Item("打开(&O)...\tCtrl+O", ID_FILE_OPEN),
            Item("关闭(&C)\tCtrl+W", ID_FILE_CLOSE),
            Item("保存(&S)\tCtrl+S", ID_FILE_SAVE),
            Item("另存为(&A)...", ID_FILE_SAVE_AS),
            separator,
            Item("打印(&P)...\tCtrl+P", ID_FILE_PRINT),
            separator,
            Item("退出(&X)", ID_APP_EXIT),
        }),
        capturePopup,
        Popup("图像(&I)", {
            Item("放大(&I)\t+", ID_ZOOM_IN),
            Item("缩小(&O)\t-", ID_ZOOM_OUT),
            Popup("缩放(&Z)", {
                Item("10%", ID_ZOOM_10), Item("25%", ID_ZOOM_25), Item("50%", ID_ZOOM_50),
                Item("75%", ID_ZOOM_75), Item("100%", ID_ZOOM_100), Item("150%", ID_ZOOM_150),
                Item("200%", ID_ZOOM_200), Item("400%", ID_ZOOM_400), Item("600%", ID_ZOOM_600),
                Item("800%", ID_ZOOM_800), Item("1200%", ID_ZOOM_1200), Item("1600%", ID_ZOOM_1600),
                Item("3200%", ID_ZOOM_3200),
            }),
            separator,
            Item("适合窗口(&F)", ID_ZOOM_FIT),
            Item("原始大小(&R)", ID_ZOOM_ACTUAL),
            separator,
            Item("复制(&C)\tCtrl+C", ID_EDIT_COPY),
            Item("贴到屏幕(&P)", ID_IMAGE_PIN),
            Item("识别文字(&T)\tCtrl+T", ID_IMAGE_READ_TEXT),
        }),
        Popup("标注(&A)", {
            Item("撤销(&U)\tCtrl+Z", ID_ANNOTATE_UNDO),
            Item("重做(&R)\tCtrl+Y", ID_ANNOTATE_REDO),
            separator,
            Item("手形\tH", ID_TOOL_HAND),
            Item("选择\tV", ID_TOOL_SELECT),
            separator,
            Item("箭头\tA", ID_TOOL_ARROW),
            Item("直线\tL", ID_TOOL_LINE),
            Item("矩形\tR", ID_TOOL_RECTANGLE),
            Item("椭圆\tE", ID_TOOL_ELLIPSE),
            Item("画笔\tP", ID_TOOL_PEN),
            Item("荧光笔\tI", ID_TOOL_HIGHLIGHTER),
            Item("文字\tT", ID_TOOL_TEXT),
            Item("序号\tN", ID_TOOL_STEP),
            separator,
            Item("遮盖\tX", ID_TOOL_REDACT),
            Item("马赛克\tM", ID_TOOL_MOSAIC),
            Item("裁剪\tC", ID_TOOL_CROP),
        }),
        viewPopup,
        // The MDI window list is attached to this popup, found by its text.
        Popup("窗口(&W)", {
            Item("层叠(&C)", ID_WINDOW_CASCADE),
            Item("平铺(&T)", ID_WINDOW_TILE_HORZ),
            Item("排列图标(&A)", ID_WINDOW_ARRANGE),
            Item("全部关闭(&L)", ID_WINDOW_CLOSE_ALL),
        }),
        helpPopup,
    }, "menu 129");
}

TEST_F(ResourceTest, TrayMenuIsTheFirstPopup)
{
    CMenuOwner menu = LoadMenuResource(IDR_TRAYMENU);
    ASSERT_NE(nullptr, menu);
    ExpectMenu(menu.get(), {
        Popup("-tray-", {
            Item("显示主窗口(&S)", ID_TRAY_SHOW),
            separator,
            Item("全屏捕捉(&F)", ID_CAPTURE_FULLSCREEN),
            Item("窗口捕捉(&W)", ID_CAPTURE_WINDOW),
            Item("区域捕捉(&R)", ID_CAPTURE_REGION),
            Item("对象捕捉(&O)", ID_CAPTURE_OBJECT),
            Item("上次区域(&L)", ID_CAPTURE_LAST_REGION),
            Item("截图并标注(&K)", ID_CAPTURE_MARKUP),
            separator,
            Item("包含光标(&C)", ID_CAPTURE_INCLUDE_CURSOR),
            Item("取消延时(&D)", ID_TRAY_CANCEL_DELAY),
            separator,
            Item("退出(&X)", ID_TRAY_EXIT),
        }),
    }, "menu 150");
}

TEST_F(ResourceTest, PinMenuIsTheFirstPopup)
{
    CMenuOwner menu = LoadMenuResource(IDR_PINMENU);
    ASSERT_NE(nullptr, menu);
    ExpectMenu(menu.get(), {
        Popup("-pin-", {
            Item("复制(&C)", ID_EDIT_COPY),
            Item("另存为(&A)...", ID_FILE_SAVE_AS),
            Item("打开为文档(&O)", ID_PIN_OPEN_AS_DOCUMENT),
            separator,
            Item("关闭(&X)", ID_PIN_CLOSE),
            Item("关闭全部贴图(&L)", ID_PIN_CLOSE_ALL),
        }),
    }, "menu 157");
}

void CollectCommands(HMENU menu, std::set<UINT>& commands)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (HMENU popup = GetSubMenu(menu, i))
            CollectCommands(popup, commands);
        else if (!(GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR))
            commands.insert(GetMenuItemID(menu, i));
    }
}

TEST_F(ResourceTest, EveryCommandHasHelpTextAndLabel)
{
    // The toolbar's labels and tooltips are the part after the line feed.
    const std::pair<UINT, const char*> toolbar[] = {
        {ID_FILE_OPEN, "打开"},
        {ID_FILE_SAVE, "保存"},
        {ID_CAPTURE_FULLSCREEN, "全屏捕捉"},
        {ID_CAPTURE_WINDOW, "窗口捕捉"},
        {ID_CAPTURE_REGION, "区域捕捉"},
        {ID_CAPTURE_OBJECT, "对象捕捉"},
        {ID_CAPTURE_LAST_REGION, "上次区域"},
        {ID_CAPTURE_MARKUP, "截图标注"},
        {ID_CAPTURE_LONGSHOT, "长截图"},
        {ID_CAPTURE_RECORD_GIF, "录制动图"},
        {ID_CAPTURE_INCLUDE_CURSOR, "包含光标"},
        {ID_ZOOM_IN, "放大"},
        {ID_ZOOM_OUT, "缩小"},
        {ID_EDITORS, "编辑"},
        {ID_ZOOM_FIT, "适合窗口"},
        {ID_ZOOM_ACTUAL, "原始大小"},
        {ID_VIEW_OPTIONS, "设置"},
    };
    std::set<UINT> commands;
    for (const auto& [id, label] : toolbar) {
        commands.insert(id);
        const std::string text = LoadText(id);
        const size_t lineFeed = text.find('\n');
        EXPECT_EQ(ToGbk(label), lineFeed == std::string::npos ? "" : text.substr(lineFeed + 1))
            << "toolbar command " << id;
    }
    for (UINT menu : {IDR_MAINFRAME, IDR_IMAGETYPE, IDR_TRAYMENU}) {
        CMenuOwner loaded = LoadMenuResource(menu);
        if (loaded)
            CollectCommands(loaded.get(), commands);
    }
    // The annotation toolbar's buttons and the items of its drop-down menus.
    for (UINT id = ID_TOOL_HAND; id <= ID_TOOL_CROP; ++id)
        commands.insert(id);
    for (UINT id = ID_ANNOTATE_COLOUR; id <= ID_ANNOTATE_MOSAIC_LAST; ++id)
        commands.insert(id);
    for (UINT id : commands) {
        const std::string text = LoadText(id);
        const size_t lineFeed = text.find('\n');
        ASSERT_NE(std::string::npos, lineFeed) << "command " << id << " has no \"help\\nlabel\" string";
        EXPECT_GT(lineFeed, 0u) << "command " << id << " has no status-bar help";
        EXPECT_LT(lineFeed + 1, text.size()) << "command " << id << " has no label";
        EXPECT_EQ(std::string::npos, text.find('\n', lineFeed + 1)) << "command " << id;
    }
}

TEST_F(ResourceTest, AcceleratorsAreTheThirteenVirtualKeys)
{
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(nullptr, table);
    ACCEL entries[16];
    const int count = CopyAcceleratorTableA(table, entries, 16);
    using Key = std::tuple<BYTE, WORD, WORD>;
    std::multiset<Key> actual;
    for (int i = 0; i < count; ++i)
        actual.insert(Key(entries[i].fVirt, entries[i].key, entries[i].cmd));
    const BYTE plain = FVIRTKEY | FNOINVERT;
    const std::multiset<Key> expected = {
        Key(plain | FCONTROL, 'O', ID_FILE_OPEN),
        Key(plain | FCONTROL, 'P', ID_FILE_PRINT),
        Key(plain | FCONTROL, 'S', ID_FILE_SAVE),
        Key(plain | FCONTROL, 'W', ID_FILE_CLOSE),
        Key(plain | FCONTROL, 'C', ID_EDIT_COPY),
        Key(plain | FCONTROL, 'T', ID_IMAGE_READ_TEXT),
        Key(plain | FCONTROL, 'Z', ID_ANNOTATE_UNDO),
        Key(plain | FCONTROL, 'Y', ID_ANNOTATE_REDO),
        Key(plain | FCONTROL | FSHIFT, 'Z', ID_ANNOTATE_REDO),
        Key(plain, VK_ADD, ID_ZOOM_IN),
        Key(plain, VK_SUBTRACT, ID_ZOOM_OUT),
        Key(plain, VK_F6, ID_NEXT_PANE),
        Key(plain | FSHIFT, VK_F6, ID_PREV_PANE),
    };
    EXPECT_EQ(expected, actual);
}

}  // namespace
