#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "Gbk.h"
#include "RealClick.h"
#include "imageio/ImageFormats.h"
#include "e2e/ProgramUnderTest.h"
#include "res/resource.h"

namespace {
bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The stand-in editor sits in a folder whose name has a space; so does the image.
class EditorsEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_editorFolder = m_program.PathOf("my editor\\");
        m_editor = m_editorFolder + "recorder.exe";
        m_record = m_editorFolder + "command-line.txt";
        ASSERT_TRUE(CreateDirectoryA(m_editorFolder.c_str(), nullptr));
        ASSERT_TRUE(CopyFileA(BesideTestProgram("command_line_recorder.exe").c_str(), m_editor.c_str(), FALSE));
        ASSERT_TRUE(m_program.Start());
        m_frame = m_program.MainFrame();
        ASSERT_NE(nullptr, m_frame);
        // The main toolbar is the rebar's toolbar with the 编辑 button.
        HWND rebar = FindWindowExA(m_frame, nullptr, REBARCLASSNAMEA, nullptr);
        do
            m_toolBar = FindWindowExA(rebar, m_toolBar, TOOLBARCLASSNAMEA, nullptr);
        while (m_toolBar && SendMessageA(m_toolBar, TB_COMMANDTOINDEX, ID_EDITORS, 0) < 0);
        ASSERT_NE(nullptr, m_toolBar);
    }

    void TearDown() override
    {
        PostMessageA(m_frame, WM_CLOSE, 0, 0);
        DWORD exitCode = 0;
        EXPECT_TRUE(m_program.WaitForExit(10000, &exitCode));
    }

    // Through the list dialog and the add dialog, as a user adds an editor.
    void AddEditor(const std::string& program)
    {
        CProgramUnderTest::PostCommand(m_frame, ID_EDITOR_SETTINGS);
        HWND list = m_program.WaitForWindow("#32770", 10000, ToGbk("外部图象编辑器").c_str());
        ASSERT_NE(nullptr, list);
        PostMessageA(list, WM_COMMAND, IDC_EDITOR_ADD, 0);
        HWND add = m_program.WaitForWindow("#32770", 10000, ToGbk("添加图象编辑器").c_str());
        ASSERT_NE(nullptr, add);
        SendMessageA(GetDlgItem(add, IDC_EDITOR_PATH), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(program.c_str()));
        ASSERT_TRUE(CProgramUnderTest::PressButton(add, IDOK));
        EXPECT_EQ(1, SendMessageA(GetDlgItem(list, IDC_EDITOR_LIST), LVM_GETITEMCOUNT, 0, 0));
        ASSERT_TRUE(CProgramUnderTest::PressButton(list, IDCANCEL));
    }

    void OpenImage(const std::string& path)
    {
        CProgramUnderTest::PostCommand(m_frame, ID_FILE_OPEN);
        HWND dialog = m_program.WaitForMessageBox(10000);
        ASSERT_NE(nullptr, dialog) << "no Open dialog";
        CProgramUnderTest::SetFileNameBox(dialog, path);
        ASSERT_TRUE(CProgramUnderTest::PressButton(dialog, IDOK));
    }

    // A click on the 编辑 button, then the first item of its menu from the keyboard.
    void ChooseFirstEditor()
    {
        ASSERT_TRUE(PumpUntil([&] { return SendMessageA(m_toolBar, TB_ISBUTTONENABLED, ID_EDITORS, 0) != 0; }, 5000));
        const RECT button = m_program.ToolBarButtonRect(m_toolBar, ID_EDITORS);
        ClickInWindow(m_toolBar, button);
        HWND menu = m_program.WaitForWindow("#32768", 10000);
        ASSERT_NE(nullptr, menu) << "the drop-down did not open";
        PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    }

    CProgramUnderTest m_program;
    HWND m_frame = nullptr;
    HWND m_toolBar = nullptr;
    std::string m_editorFolder;
    std::string m_editor;
    std::string m_record;
};
}  // namespace

TEST_F(EditorsEndToEnd, TheEditorGetsTheQuotedPathMaximisedAndAMissingOneIsReported)
{
    AddEditor(m_editor);
    const std::string image = m_program.PathOf("my pictures\\shot one.bmp");
    ASSERT_TRUE(CreateDirectoryA(m_program.PathOf("my pictures").c_str(), nullptr));
    HBITMAP bitmap = CreateBitmap(8, 8, 1, 32, nullptr);
    ASSERT_TRUE(SaveImageFile(bitmap, 1, image.c_str()));
    DeleteObject(bitmap);
    OpenImage(image);

    ChooseFirstEditor();
    ASSERT_TRUE(PumpUntil([&] { return ReadFileBytes(m_record).find('\n') != std::string::npos; }, 10000))
        << "the editor was not started";
    const std::string record = ReadFileBytes(m_record);
    EXPECT_EQ(std::to_string(SW_SHOWMAXIMIZED), record.substr(0, record.find('\n')));
    const std::string commandLine = record.substr(record.find('\n') + 1);
    const std::string quotedImage = "\"" + image + "\"";
    ASSERT_GE(commandLine.size(), quotedImage.size());
    EXPECT_EQ(quotedImage, commandLine.substr(commandLine.size() - quotedImage.size())) << commandLine;

    // The editor is removed from the disk (once it has exited and its file is free):
    // choosing it again says so.
    ASSERT_TRUE(PumpUntil([&] { return DeleteFileA(m_editor.c_str()) != FALSE; }, 10000));
    ASSERT_TRUE(DeleteFileA(m_record.c_str()));
    ChooseFirstEditor();
    HWND box = m_program.WaitForMessageBox(10000);
    ASSERT_NE(nullptr, box);
    EXPECT_NE(std::string::npos, MessageBoxText(box).find(m_editor))
        << MessageBoxText(box);
    EXPECT_EQ(m_frame, GetWindow(box, GW_OWNER));
    EXPECT_TRUE(CProgramUnderTest::PressButton(box, IDOK));
    EXPECT_FALSE(Exists(m_record));

    // The list survives the run.
    PostMessageA(m_frame, WM_CLOSE, 0, 0);
    DWORD exitCode = 0;
    ASSERT_TRUE(m_program.WaitForExit(10000, &exitCode));
    const std::string expected = std::string("\x01\0\0\0", 4);
    EXPECT_EQ(expected, ReadFileBytes(m_program.PathOf("oteditor.cfg")).substr(0, 4));
}
