#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <map>
#include <string>

#include "DialogAnswerer.h"
#include "Gbk.h"
#include "KeyInput.h"
#include "TempFolder.h"
#include "gui/FrameFixture.h"
#include "res/resource.h"

// 关闭 (Ctrl+W) and 全部关闭 (Alt+W, L) typed by the user, with the questions about
// unsaved images answered as a user answers them.
namespace {
class CloseAllTest : public FrameFixture {
protected:
    HWND OpenCapture(int number)
    {
        const std::string name = ToGbk("快照-") + std::to_string(number) + "*";
        EXPECT_TRUE(m_frame->Documents().CreateImageDocument(MakePatternBitmap(32, 24), name.c_str(), false));
        return m_frame->ActiveDocument();
    }

    void CloseAllFromTheMenu()
    {
        SetForegroundWindow(*m_frame);
        PressKeys({VK_MENU, 'W'});
        PressKeys({'L'});
    }
};

// Presses a button of the close-all question after reading its text.
CDialogAnswerer::Step AnswerCloseAll(int button, std::string& text)
{
    return [button, &text](HWND dialog) {
        char shown[256] = {};
        GetDlgItemTextA(dialog, IDC_CLOSE_ALL_TEXT, shown, sizeof shown);
        text = shown;
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    };
}

TEST_F(CloseAllTest, CtrlWClosesTheActiveImageAskingOnlyForAnUnsavedOne)
{
    ASSERT_TRUE(m_frame->Documents().CreateImageDocument(MakePatternBitmap(32, 24), "C:\\a.bmp", true));
    HWND saved = m_frame->ActiveDocument();
    HWND capture = OpenCapture(1);
    SetForegroundWindow(*m_frame);
    {
        std::string question;
        CDialogAnswerer answerer({CDialogAnswerer::Press(IDNO, &question)});
        PressKeys({VK_CONTROL, 'W'});
        ASSERT_TRUE(RunLoopUntil([&] { return !IsWindow(capture); }));
        EXPECT_EQ(ToGbk("要保存图象“快照-1”吗？"), question);
    }
    EXPECT_TRUE(IsWindow(saved));
    EXPECT_EQ(saved, m_frame->ActiveDocument());
    PressKeys({VK_CONTROL, 'W'});
    ASSERT_TRUE(RunLoopUntil([&] { return !IsWindow(saved); })) << "a saved image closes without a question";
    EXPECT_EQ(0, TabCount());
}

TEST_F(CloseAllTest, ThreeUnsavedImagesAreAskedAboutOnce)
{
    HWND images[] = {OpenCapture(1), OpenCapture(2), OpenCapture(3)};
    std::string text;
    {
        CDialogAnswerer answerer({AnswerCloseAll(IDCANCEL, text)});
        CloseAllFromTheMenu();
        ASSERT_TRUE(RunLoopUntil([&] { return answerer.StepsTaken() == 1; }));
        Pump();
    }
    EXPECT_EQ(ToGbk("有 3 个图像尚未保存。\n关闭前要保存它们吗？"), text);
    EXPECT_EQ(3, TabCount()) << "取消 keeps every image";
    {
        CDialogAnswerer answerer({AnswerCloseAll(IDC_DISCARD_ALL, text), CDialogAnswerer::Press(IDCANCEL)});
        CloseAllFromTheMenu();
        ASSERT_TRUE(RunLoopUntil([&] { return TabCount() == 0; }));
        Pump();
        EXPECT_EQ(1u, answerer.StepsTaken()) << "全部不保存 asks nothing more";
    }
    for (HWND image : images)
        EXPECT_FALSE(IsWindow(image));
}

// 全部保存 names each unsaved image in turn; the user cancels the second Save As,
// which keeps it and the image after it open.
TEST_F(CloseAllTest, SaveAllStopsWhereTheUserCancels)
{
    OpenCapture(1);
    HWND second = OpenCapture(2);
    ASSERT_TRUE(m_frame->Documents().CreateImageDocument(MakePatternBitmap(32, 24), "C:\\c.bmp", true));
    HWND third = m_frame->ActiveDocument();
    OpenCapture(4);
    CTempFolder folder;
    const std::string target = folder.PathOf("first.bmp");
    std::string text;
    CDialogAnswerer answerer({AnswerCloseAll(IDC_SAVE_ALL, text),
                              [&](HWND dialog) {
                                  SendMessageA(dialog, CDM_SETCONTROLTEXT, cmb13,
                                               reinterpret_cast<LPARAM>(target.c_str()));
                                  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
                              },
                              CDialogAnswerer::Press(IDCANCEL)});
    CloseAllFromTheMenu();
    // Until no dialog holds the frame disabled any more: no question follows the cancel.
    ASSERT_TRUE(RunLoopUntil([&] { return answerer.StepsTaken() == 3 && IsWindowEnabled(*m_frame); }));
    Pump();
    EXPECT_EQ(ToGbk("有 3 个图像尚未保存。\n关闭前要保存它们吗？"), text);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(target.c_str()));
    EXPECT_EQ(3, TabCount());
    EXPECT_TRUE(IsWindow(second));
    EXPECT_TRUE(IsWindow(third));
    EXPECT_EQ(second, m_frame->ActiveDocument()) << "the image whose Save As was cancelled is shown";
}

// The frames and pictures each window was sent to draw, kept past the window's end.
struct Paints {
    static LRESULT CALLBACK Count(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
    {
        if (msg == WM_NCPAINT || msg == WM_PAINT)
            ++*reinterpret_cast<int*>(data);
        return DefSubclassProc(window, msg, wParam, lParam);
    }
    void Watch(HWND window) { SetWindowSubclass(window, Count, 1, reinterpret_cast<DWORD_PTR>(&counts[window])); }
    std::map<HWND, int> counts;
};

// Closing the shown image draws the one that shows next; closing them all draws none
// of them on their way out.
TEST_F(CloseAllTest, ClosingDrawsTheImageThatShowsNextAndClosingAllDrawsNone)
{
    HWND images[4] = {};
    for (HWND& image : images) {
        ASSERT_TRUE(m_frame->Documents().CreateImageDocument(MakePatternBitmap(32, 24), "C:\a.bmp", true));
        image = m_frame->ActiveDocument();
    }
    Pump();
    Paints paints;
    for (HWND image : images)
        paints.Watch(image);
    SendMessageA(*m_frame, WM_COMMAND, ID_FILE_CLOSE, 0);
    Pump();
    HWND shown = m_frame->ActiveDocument();
    ASSERT_NE(nullptr, shown);
    EXPECT_GT(paints.counts[shown], 0) << "the image that shows now is drawn";

    for (auto& [image, count] : paints.counts)
        count = 0;
    ASSERT_TRUE(m_frame->Documents().CloseAll());
    Pump();
    EXPECT_EQ(0, TabCount());
    for (const auto& [image, count] : paints.counts)
        EXPECT_EQ(0, count) << "an image was drawn on its way out";
}

// Exit still asks about each unsaved image on its own; 取消 on the third keeps it.
TEST_F(CloseAllTest, ExitAsksOncePerUnsavedImage)
{
    OpenCapture(1);
    OpenCapture(2);
    HWND last = OpenCapture(3);
    SetForegroundWindow(*m_frame);
    CDialogAnswerer answerer(
        {CDialogAnswerer::Press(IDNO), CDialogAnswerer::Press(IDNO), CDialogAnswerer::Press(IDCANCEL)});
    PressKeys({VK_MENU, VK_F4});
    ASSERT_TRUE(RunLoopUntil([&] { return answerer.StepsTaken() == 3; }));
    Pump();
    EXPECT_EQ(1, TabCount());
    EXPECT_TRUE(IsWindow(*m_frame));
    EXPECT_TRUE(IsWindow(m_frame->ActiveDocument()));
    (void)last;
}
}
