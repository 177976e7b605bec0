#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "Gbk.h"
#include "KeyInput.h"
#include "RealClick.h"
#include "editors/AddEditorDialog.h"
#include "editors/EditorList.h"
#include "editors/EditorsDialog.h"
#include "DialogAnswerer.h"
#include "gui/FrameFixture.h"
#include "gui/MenuBarTestHost.h"
#include "res/resource.h"
#include "TempFolder.h"

namespace {

void ClickRow(HWND listView, int row)
{
    RECT rect = {};
    rect.left = LVIR_LABEL;
    SendMessageA(listView, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
    ClickInWindow(listView, rect);
    PumpUntil([&] { return SendMessageA(listView, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED) == row; },
              2000);
}

// Which of up, down, add, remove, rename and close are enabled, as "UDAERC" with
// "-" for a disabled button.
std::string Buttons(HWND dialog)
{
    const int ids[] = {IDC_EDITOR_UP, IDC_EDITOR_DOWN, IDC_EDITOR_ADD, IDC_EDITOR_REMOVE, IDC_EDITOR_RENAME, IDCANCEL};
    const char letters[] = "UDAERC";
    std::string states;
    for (int i = 0; i < 6; ++i)
        states += IsWindowEnabled(GetDlgItem(dialog, ids[i])) ? letters[i] : '-';
    return states;
}

// A user's click on a control of a dialog.
void ClickItem(HWND dialog, int id)
{
    ClickWindow(GetDlgItem(dialog, id));
}

std::string ItemText(HWND listView, int row, int column)
{
    char text[MAX_PATH] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(listView, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](char c) { return static_cast<char>(toupper(c)); });
    return text;
}

std::string ModulePath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::string ModuleFolder()
{
    const std::string path = ModulePath();
    return path.substr(0, path.find_last_of('\\') + 1);
}

struct MenuItem {
    UINT id;
    UINT type;
    std::string text;
    bool operator==(const MenuItem& other) const
    {
        return id == other.id && type == other.type && text == other.text;
    }
};

std::vector<MenuItem> Items(HMENU menu)
{
    std::vector<MenuItem> items;
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        char text[MAX_PATH] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
        items.push_back({info.wID, info.fType, text});
    }
    return items;
}

const std::string kSettings = ToGbk("设置(&S)...");

}  // namespace

TEST(EditorMenu, ListsTheEditorsThenASeparatorAndTheSettingsItem)
{
    CEditorList list;
    list.SetSettingsText(kSettings.c_str());
    list.BuildMenu();
    EXPECT_EQ(Items(list.GetMenu()), (std::vector<MenuItem>{{ID_EDITOR_SETTINGS, MFT_STRING, kSettings}}));

    list.Add("A", "C:\\a.exe", 1);
    list.Add("B", "C:\\b.exe", 2);
    list.Add("C", "C:\\c.exe", -1);
    EXPECT_EQ(1u, Items(list.GetMenu()).size()) << "the menu changes only when rebuilt";
    list.BuildMenu();
    EXPECT_EQ(Items(list.GetMenu()), (std::vector<MenuItem>{{40001, MFT_STRING, "A"},
                                                            {40002, MFT_STRING, "B"},
                                                            {40003, MFT_STRING, "C"},
                                                            {0, MFT_SEPARATOR, ""},
                                                            {ID_EDITOR_SETTINGS, MFT_STRING, kSettings}}));

    HIMAGELIST images = nullptr;
    int index = -1;
    ASSERT_TRUE(list.GetMenuImage(40002, images, index));
    EXPECT_EQ(list.GetSystemImageList(), images);
    EXPECT_EQ(2, index);
    EXPECT_FALSE(list.GetMenuImage(40004, images, index));
    EXPECT_FALSE(list.GetMenuImage(ID_EDITOR_SETTINGS, images, index));
}

namespace {
// A frame whose editor list starts from no file, with one image document open.
class EditorsInFrame : public FrameFixture {
protected:
    void SetUp() override
    {
        m_configPath = ModuleFolder() + "oteditor.cfg";
        DeleteFileA(m_configPath.c_str());
        FrameFixture::SetUp();
        ASSERT_TRUE(m_frame->Documents().CreateImageDocument(MakePatternBitmap(64, 48), "C:\\pics\\a.bmp", true));
        Pump();
    }
    void TearDown() override
    {
        FrameFixture::TearDown();
        DeleteFileA(m_configPath.c_str());
    }

    HWND ListView(HWND dialog) const { return GetDlgItem(dialog, IDC_EDITOR_LIST); }
    // The frame's list holding A, B and C, its menu built.
    CEditorList& EditorsABC()
    {
        CEditorList& editors = m_frame->EditorList();
        editors.Add("A", "C:\\a.exe", -1);
        editors.Add("B", "C:\\b.exe", -1);
        editors.Add("C", "C:\\c.exe", -1);
        editors.BuildMenu();
        return editors;
    }
    int RowCount(HWND dialog) const { return static_cast<int>(SendMessageA(ListView(dialog), LVM_GETITEMCOUNT, 0, 0)); }

    void RunEditorsDialog(std::vector<CDialogAnswerer::Step> steps)
    {
        const size_t count = steps.size();
        CDialogAnswerer answerer(std::move(steps));
        CEditorsDlg(m_frame->EditorList()).DoModal(*m_frame);
        EXPECT_EQ(count, answerer.StepsTaken());
    }

    std::string m_configPath;
};
}  // namespace

TEST_F(EditorsInFrame, TheDropDownOpensBelowTheButtonUncoveredAndItsLastItemOpensTheList)
{
    m_frame->EditorList().Add("Tool", ModulePath().c_str(), -1);
    m_frame->EditorList().BuildMenu();

    HWND toolBar = m_frame->ToolBar();
    const LRESULT index = SendMessageA(toolBar, TB_COMMANDTOINDEX, ID_EDITORS, 0);
    RECT button = {};
    SendMessageA(toolBar, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
    POINT below = {button.left, button.bottom};
    ClientToScreen(toolBar, &below);

    // The button's tooltip, due when the click comes, must not show over the open menu.
    HWND tips = reinterpret_cast<HWND>(SendMessageA(toolBar, TB_GETTOOLTIPS, 0, 0));
    const DWORD tipDelay = static_cast<DWORD>(SendMessageA(tips, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
    DWORD opened = 0;
    bool tipShown = true;
    RECT popup = {};
    int rowsShown = -1;
    CTimedSteps menu({{[] { return FindPopupMenuWindow() != nullptr; }, [&] { opened = GetTickCount(); }},
                      {[&] { return GetTickCount() - opened > tipDelay + 500; },
                       [&] {
                           tipShown = IsWindowVisible(tips) != FALSE;
                           GetWindowRect(FindPopupMenuWindow(), &popup);
                           PostMenuKey(VK_UP);  // from nothing highlighted to the last item
                           PostMenuKey(VK_RETURN);
                       }}},
                     10000);
    CDialogAnswerer list({[&](HWND dialog) {
        rowsShown = RowCount(dialog);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }});
    ClickInWindow(toolBar, button);
    PumpUntil([&] { return list.StepsTaken() == 1 && !FindPopupMenuWindow(); }, 10000);
    Pump();

    EXPECT_TRUE(menu.Finished());
    EXPECT_EQ(below.x, popup.left);
    EXPECT_EQ(below.y, popup.top);
    EXPECT_EQ(1, rowsShown) << "the settings item opened the editor list";
    EXPECT_FALSE(tipShown);
}

TEST_F(EditorsInFrame, ButtonsFollowTheSelectionAndMovesCarryIt)
{
    CEditorList& editors = EditorsABC();
    std::vector<std::string> seen;
    RunEditorsDialog({[&](HWND dialog) {
        HWND listView = ListView(dialog);
        seen.push_back(Buttons(dialog));
        ClickRow(listView, 0);
        seen.push_back(Buttons(dialog));
        ClickRow(listView, 2);
        seen.push_back(Buttons(dialog));
        SendMessageA(dialog, WM_COMMAND, IDC_EDITOR_UP, 0);
        seen.push_back(Buttons(dialog));
        seen.push_back(ItemText(listView, 1, 0) + ItemText(listView, 2, 0) + ItemText(listView, 2, 1));
        SendMessageA(dialog, WM_COMMAND, IDC_EDITOR_REMOVE, 0);
        seen.push_back(Buttons(dialog) + std::to_string(RowCount(dialog)));
        ClickRow(listView, 1);
        SendMessageA(dialog, WM_COMMAND, IDC_EDITOR_REMOVE, 0);
        ClickRow(listView, 0);
        seen.push_back(Buttons(dialog));
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }});
    const std::vector<std::string> expected = {
        "--A--C",   // nothing selected
        "-DAERC",   // the first row
        "U-AERC",   // the last row
        "UDAERC",   // C moved up to the middle and stays selected
        "CBC:\\b.exe",  // ... and both rows show the exchange, B with its own path
        "--A--C2",  // the selected row removed
        "--AERC",   // one row left
    };
    EXPECT_EQ(expected, seen);
    ASSERT_EQ(1, editors.GetCount());
    EXPECT_EQ((std::vector<MenuItem>{{40001, MFT_STRING, "A"}, {0, MFT_SEPARATOR, ""}, {ID_EDITOR_SETTINGS, MFT_STRING, kSettings}}),
              Items(editors.GetMenu()))
        << "the menu is rebuilt on closing after a change";
}

// Every kind of change in the list reaches the 编辑 drop-down, in the list's order and
// with nothing left of the old entries.
TEST_F(EditorsInFrame, TheMenuIsRebuiltFromTheChangedListOnClosing)
{
    CEditorList& editors = EditorsABC();
    std::string added;
    RunEditorsDialog({
        [&](HWND dialog) {
            HWND listView = ListView(dialog);
            ClickRow(listView, 2);
            ClickItem(dialog, IDC_EDITOR_UP);  // A C B
            PumpUntil([&] { return ItemText(listView, 1, 0) == "C"; }, 2000);
            ClickRow(listView, 0);
            ClickItem(dialog, IDC_EDITOR_REMOVE);  // C B
            PumpUntil([&] { return RowCount(dialog) == 2; }, 2000);
            SendMessageA(dialog, WM_COMMAND, IDC_EDITOR_ADD, 0);  // C B program
            added = ItemText(listView, 2, 0);
            ClickRow(listView, 1);
            SendMessageA(dialog, WM_COMMAND, IDC_EDITOR_RENAME, 0);
            SetWindowTextA(reinterpret_cast<HWND>(SendMessageA(listView, LVM_GETEDITCONTROL, 0, 0)), "B2");
            SetFocus(GetDlgItem(dialog, IDCANCEL));  // leaving the label takes the text
            ClickItem(dialog, IDCANCEL);
        },
        [](HWND add) {
            SetDlgItemTextA(add, IDC_EDITOR_PATH, ModulePath().c_str());
            PostMessageA(add, WM_COMMAND, IDOK, 0);
        },
    });
    ASSERT_FALSE(added.empty());
    EXPECT_EQ((std::vector<MenuItem>{{40001, MFT_STRING, "C"},
                                     {40002, MFT_STRING, "B2"},
                                     {40003, MFT_STRING, added},
                                     {0, MFT_SEPARATOR, ""},
                                     {ID_EDITOR_SETTINGS, MFT_STRING, kSettings}}),
              Items(editors.GetMenu()));
}

TEST_F(EditorsInFrame, AProgramIsAddedOnceWhateverItsCaseAndRenamedInPlace)
{
    const std::string program = ModulePath();
    char shellName[MAX_PATH] = {};
    int limit = 0;
    std::string renamed;
    auto addProgram = [](const std::string& path) {
        return [path](HWND dialog) {
            SetDlgItemTextA(dialog, IDC_EDITOR_PATH, path.c_str());
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        };
    };
    // The add dialog runs inside the list's step and is answered by the next steps.
    RunEditorsDialog({
        [&](HWND dialog) {
            SendMessageA(dialog, WM_COMMAND, IDC_EDITOR_ADD, 0);
            SendMessageA(dialog, WM_COMMAND, IDC_EDITOR_ADD, 0);
            HWND listView = ListView(dialog);
            lstrcpynA(shellName, ItemText(listView, 0, 0).c_str(), MAX_PATH);
            ClickRow(listView, 0);
            SendMessageA(dialog, WM_COMMAND, IDC_EDITOR_RENAME, 0);
            HWND edit = reinterpret_cast<HWND>(SendMessageA(listView, LVM_GETEDITCONTROL, 0, 0));
            limit = static_cast<int>(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0));
            SetWindowTextA(edit, "My tool");
            SetFocus(GetDlgItem(dialog, IDCANCEL));  // leaving the label takes the text
            renamed = ItemText(listView, 0, 0);
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        },
        addProgram(program),
        addProgram(Upper(program)),
    });
    CEditorList& editors = m_frame->EditorList();
    ASSERT_EQ(1, editors.GetCount());
    char path[MAX_PATH] = {};
    editors.GetAt(0, nullptr, path, nullptr);
    EXPECT_EQ(program, path);
    EXPECT_STRNE("", shellName) << "named as the shell shows the file";
    EXPECT_EQ(259, limit);
    EXPECT_EQ("My tool", renamed);
    EXPECT_EQ("My tool", Items(editors.GetMenu()).at(0).text);
}

TEST_F(EditorsInFrame, TheProgramMustBeAnExistingExeFile)
{
    const std::string folder = ModuleFolder();
    const std::string shortcut = folder + "editor-test.exe.lnk";
    const std::string noDot = folder + "editor-test";
    const std::string upper = folder + "EDITOR-TEST.EXE";
    for (const std::string& file : {shortcut, noDot, upper})
        WriteFileBytes(file, "x");

    std::vector<bool> stillOpen;
    std::string paint, fileType;
    CAddEditorDlg add;
    // The file is finally chosen in the Open dialog that "..." runs inside the first step.
    CDialogAnswerer answerer({[&](HWND dialog) {
        for (const std::string& refused : {shortcut, noDot, std::string()}) {
            SetDlgItemTextA(dialog, IDC_EDITOR_PATH, refused.c_str());
            SendMessageA(dialog, WM_COMMAND, IDOK, 0);
            stillOpen.push_back(IsWindowVisible(dialog) != FALSE);
        }
        SendMessageA(dialog, WM_COMMAND, IDC_SYSTEM_PAINT, 0);
        char text[MAX_PATH] = {};
        GetDlgItemTextA(dialog, IDC_EDITOR_PATH, text, MAX_PATH);
        paint = text;
        SendMessageA(dialog, WM_COMMAND, IDC_BROWSE_EDITOR, 0);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    },
    [&](HWND open) {
        char text[MAX_PATH] = {};
        GetDlgItemTextA(open, 0x470, text, MAX_PATH);  // the file type list
        fileType = text;
        SendMessageA(open, CDM_SETCONTROLTEXT, 0x47c, reinterpret_cast<LPARAM>(upper.c_str()));
        PostMessageA(open, WM_COMMAND, IDOK, 0);
    }});
    EXPECT_EQ(IDOK, add.DoModal(*m_frame));
    EXPECT_EQ(std::vector<bool>(3, true), stillOpen);
    EXPECT_EQ(upper, add.Path());
    EXPECT_EQ(ToGbk("图象编辑程序 (*.exe)"), fileType);

    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(std::string(system) + "\\mspaint.exe", paint);
    for (const std::string& file : {shortcut, noDot, upper})
        DeleteFileA(file.c_str());
}

// Under Wine the system has no Paint: its button fills in a path that 确定 names as
// missing, and the path is selected for typing a program that is there.
TEST_F(EditorsInFrame, AMissingProgramIsNamedAndItsPathSelectedForRetyping)
{
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    const std::string paint = std::string(system) + "\\mspaint.exe";
    ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(paint.c_str())) << "this system has Paint";
    const std::string program = ModulePath();

    std::string message;
    bool pathFocused = false;
    CAddEditorDlg add;
    // The message box runs inside the first step and is answered by the second; a
    // third box means the typed path was not taken.
    CDialogAnswerer answerer({[&](HWND dialog) {
        ClickItem(dialog, IDC_SYSTEM_PAINT);
        ClickItem(dialog, IDOK);
        if (!PumpUntil([&] { return !message.empty() && IsWindowEnabled(dialog); })) {
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);  // 确定 said nothing
            return;
        }
        pathFocused = GetFocus() == GetDlgItem(dialog, IDC_EDITOR_PATH);
        TypeText(program);
        PressKeys({VK_RETURN});
    },
    CDialogAnswerer::Press(IDOK, &message),
    [](HWND box) {
        PostMessageA(GetWindow(box, GW_OWNER), WM_COMMAND, IDCANCEL, 0);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }});
    EXPECT_EQ(IDOK, add.DoModal(*m_frame));
    EXPECT_EQ(ToGbk("文件“") + paint + ToGbk("”不存在。"), message);
    EXPECT_TRUE(pathFocused);
    EXPECT_EQ(program, add.Path());
    EXPECT_EQ(2u, answerer.StepsTaken());
}

// The stand-in editor beside the test program records how it was started.
TEST_F(EditorsInFrame, ANeverSavedCaptureIsSavedFirstAndNothingStartsWithoutAFile)
{
    const std::string record = ModuleFolder() + "command-line.txt";
    const std::string target = ModuleFolder() + "editor-capture.bmp";
    DeleteFileA(record.c_str());
    DeleteFileA(target.c_str());
    m_frame->EditorList().Add("Recorder", (ModuleFolder() + "command_line_recorder.exe").c_str(), -1);
    ASSERT_TRUE(m_frame->Documents().CreateImageDocument(MakePatternBitmap(16, 16), ToGbk("快照-1*").c_str(), false));
    auto recorded = [&](DWORD timeoutMs) {
        return PumpUntil([&] { return GetFileAttributesA(record.c_str()) != INVALID_FILE_ATTRIBUTES; }, timeoutMs);
    };
    {
        CDialogAnswerer answerer({CDialogAnswerer::Press(IDCANCEL)});
        SendMessageA(*m_frame, WM_COMMAND, ID_EDITOR_FIRST, 0);
        EXPECT_EQ(1u, answerer.StepsTaken()) << "Save As was asked first";
    }
    EXPECT_FALSE(recorded(1500)) << "a cancelled save starts nothing";
    {
        CDialogAnswerer answerer({[&](HWND dialog) {
            SendMessageA(dialog, CDM_SETCONTROLTEXT, 0x47c, reinterpret_cast<LPARAM>(target.c_str()));
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        }});
        SendMessageA(*m_frame, WM_COMMAND, ID_EDITOR_FIRST, 0);
    }
    ASSERT_TRUE(recorded(10000));
    // The record exists from its opening on; its line follows.
    EXPECT_TRUE(PumpUntil([&] { return ReadFileBytes(record).find(" \"" + target + "\"") != std::string::npos; }))
        << ReadFileBytes(record);
    DeleteFileA(record.c_str());
    DeleteFileA(target.c_str());

    // A document that has no file on disk (only a name) hands nothing over.
    ASSERT_TRUE(m_frame->Documents().CreateImageDocument(MakePatternBitmap(16, 16), "untitled", true));
    CDialogAnswerer none({});
    SendMessageA(*m_frame, WM_COMMAND, ID_EDITOR_FIRST, 0);
    EXPECT_FALSE(recorded(1500));
}
