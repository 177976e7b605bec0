#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <string>

#include "Gbk.h"
#include "e2e/ProgramUnderTest.h"
#include "res/resource.h"

namespace {
std::string FileStart(const std::string& path)
{
    char bytes[2] = {};
    DWORD read = 0;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        ReadFile(file, bytes, 2, &read, nullptr);
        CloseHandle(file);
    }
    return std::string(bytes, read);
}

class DocumentsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_program.Start());
        m_frame = m_program.MainFrame();
        ASSERT_NE(nullptr, m_frame);
        m_tabs = FindWindowExA(m_frame, nullptr, WC_TABCONTROLA, nullptr);
        m_status = FindWindowExA(m_frame, nullptr, STATUSCLASSNAMEA, nullptr);
        ASSERT_NE(nullptr, m_tabs);
        ASSERT_NE(nullptr, m_status);
    }

    void TearDown() override
    {
        PostMessageA(m_frame, WM_CLOSE, 0, 0);
        DWORD exitCode = 0;
        EXPECT_TRUE(m_program.WaitForExit(10000, &exitCode));
        EXPECT_EQ(1u, exitCode);
    }

    int TabCount() const { return static_cast<int>(SendMessageA(m_tabs, TCM_GETITEMCOUNT, 0, 0)); }

    HWND OpenDialogFor(int command)
    {
        CProgramUnderTest::PostCommand(m_frame, command);
        return m_program.WaitForMessageBox(10000);
    }

    void OpenThroughDialog(const std::string& path)
    {
        HWND dialog = OpenDialogFor(ID_FILE_OPEN);
        ASSERT_NE(nullptr, dialog) << "no Open dialog";
        CProgramUnderTest::SetFileNameBox(dialog, path);
        ASSERT_TRUE(CProgramUnderTest::PressButton(dialog, IDOK));
    }

    bool PaneBecomes(int part, const std::string& text)
    {
        return PumpUntil([&] { return m_program.StatusPaneText(m_status, part) == text; }, 5000);
    }

    CProgramUnderTest m_program;
    HWND m_frame = nullptr;
    HWND m_tabs = nullptr;
    HWND m_status = nullptr;
};

TEST_F(DocumentsTest, OpenZoomAndSaveAsTheOtherFormat)
{
    const std::string bmp = m_program.PathOf("shot.bmp");
    const std::string jpeg = m_program.PathOf("photo.jpg");
    ASSERT_TRUE(WriteBlankImage(bmp, 320, 200, 1));
    ASSERT_TRUE(WriteBlankImage(jpeg, 160, 120, 0));

    OpenThroughDialog(bmp);
    ASSERT_TRUE(PumpUntil([&] { return TabCount() == 1; }, 10000));
    EXPECT_EQ("shot.bmp", m_program.TabText(m_tabs, 0));
    EXPECT_NE(std::string::npos, WindowText(m_frame).find("shot.bmp")) << WindowText(m_frame);
    EXPECT_TRUE(PaneBecomes(1, ToGbk(" 实际尺寸: 320 x 200")));
    EXPECT_TRUE(PaneBecomes(2, ToGbk(" 缩放比例: 100%")));
    CProgramUnderTest::PostCommand(m_frame, ID_ZOOM_IN);
    EXPECT_TRUE(PaneBecomes(2, ToGbk(" 缩放比例: 150%")));

    OpenThroughDialog(jpeg);
    ASSERT_TRUE(PumpUntil([&] { return TabCount() == 2; }, 10000));
    EXPECT_EQ("photo.jpg", m_program.TabText(m_tabs, 1));
    EXPECT_TRUE(PaneBecomes(1, ToGbk(" 实际尺寸: 160 x 120")));

    // Save As proposes the title; choosing BMP rewrites the extension.
    HWND dialog = OpenDialogFor(ID_FILE_SAVE_AS);
    ASSERT_NE(nullptr, dialog) << "no Save As dialog";
    EXPECT_EQ("photo.jpg", CProgramUnderTest::FileNameBox(dialog));
    HWND types = GetDlgItem(dialog, cmb1);
    SendMessageA(types, CB_SETCURSEL, 1, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
    EXPECT_EQ("photo.bmp", CProgramUnderTest::FileNameBox(dialog));
    const std::string copy = m_program.PathOf("photo.bmp");
    CProgramUnderTest::SetFileNameBox(dialog, copy);
    ASSERT_TRUE(CProgramUnderTest::PressButton(dialog, IDOK));
    EXPECT_TRUE(PumpUntil([&] { return FileStart(copy) == "BM"; }, 5000));
    // The opened file was not modified, so the document keeps its name.
    EXPECT_EQ("photo.jpg", m_program.TabText(m_tabs, 1));
}

TEST_F(DocumentsTest, PngOpensUnderAllFilesAndSavesAsPng)
{
    const std::string png = m_program.PathOf("diagram.png");
    ASSERT_TRUE(WriteBlankImage(png, 200, 150, 2));

    HWND dialog = OpenDialogFor(ID_FILE_OPEN);
    ASSERT_NE(nullptr, dialog) << "no Open dialog";
    HWND types = GetDlgItem(dialog, cmb1);
    EXPECT_EQ(5, SendMessageA(types, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(4, SendMessageA(types, CB_GETCURSEL, 0, 0)) << "all files stays the first choice";
    CProgramUnderTest::SetFileNameBox(dialog, png);
    ASSERT_TRUE(CProgramUnderTest::PressButton(dialog, IDOK));
    ASSERT_TRUE(PumpUntil([&] { return TabCount() == 1; }, 10000));
    EXPECT_EQ("diagram.png", m_program.TabText(m_tabs, 0));
    EXPECT_TRUE(PaneBecomes(1, ToGbk(" 实际尺寸: 200 x 150")));

    // Choosing BMP and then PNG again renames the proposal each time.
    dialog = OpenDialogFor(ID_FILE_SAVE_AS);
    ASSERT_NE(nullptr, dialog) << "no Save As dialog";
    types = GetDlgItem(dialog, cmb1);
    EXPECT_EQ(2, SendMessageA(types, CB_GETCURSEL, 0, 0)) << "a PNG is saved as PNG unless the user says otherwise";
    for (int code : {1, 2}) {
        SendMessageA(types, CB_SETCURSEL, code, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
    }
    EXPECT_EQ("diagram.png", CProgramUnderTest::FileNameBox(dialog));
    const std::string copy = m_program.PathOf("copy.png");
    CProgramUnderTest::SetFileNameBox(dialog, copy);
    ASSERT_TRUE(CProgramUnderTest::PressButton(dialog, IDOK));
    EXPECT_TRUE(PumpUntil([&] { return FileStart(copy) == "\x89P"; }, 5000));
}

TEST_F(DocumentsTest, UnsupportedFileTypesAreRefusedWithAMessage)
{
    const std::string tif = m_program.PathOf("notes.tif");
    HANDLE file = CreateFileA(tif.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);

    OpenThroughDialog(tif);
    HWND box = m_program.WaitForWindow("#32770", 10000, ToGbk("加载文件失败").c_str());
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(ToGbk("不支持的文件类型！"), MessageBoxText(box));
    EXPECT_EQ(m_frame, GetWindow(box, GW_OWNER));
    ASSERT_TRUE(CProgramUnderTest::PressButton(box, IDOK));
    EXPECT_EQ(0, TabCount());
}
}
