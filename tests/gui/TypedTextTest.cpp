#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <string>

#include "DialogAnswerer.h"
#include "Gbk.h"
#include "KeyInput.h"
#include "PixelReader.h"
#include "RealClick.h"
#include "TempFolder.h"
#include "document/ImageFrame.h"
#include "gui/FrameFixture.h"
#include "imageio/ImageFormats.h"
#include "res/resource.h"
#include "ui/UpdateUI.h"

// A text mark typed the way a user types it, and what the document makes of the
// text while its box is still open.
namespace {
std::wstring Wide(const std::string& gbk)
{
    std::wstring wide(gbk.size(), L'\0');
    wide.resize(static_cast<size_t>(
        MultiByteToWideChar(CP_ACP, 0, gbk.data(), static_cast<int>(gbk.size()), &wide[0], static_cast<int>(wide.size()))));
    return wide;
}

class TypedTextTest : public FrameFixture {
protected:
    void Open(const char* path, bool saved)
    {
        ASSERT_TRUE(m_frame->Documents().CreateImageDocument(MakePatternBitmap(160, 120), path, saved));
        m_document = m_frame->ActiveDocument();
        m_view = GetWindow(m_document, GW_CHILD);
        SetForegroundWindow(*m_frame);
        ASSERT_TRUE(RunLoopUntil([&] { return GetForegroundWindow() == *m_frame; }));
        // A click gives the view the keyboard; the hand moves nothing.
        m_frame->AnnotationTools().SetTool(AnnotationTool::kHand);
        ClickAt(80, 60);
        ASSERT_TRUE(RunLoopUntil([&] { return GetFocus() == m_view; }));
    }

    void ClickAt(int x, int y)
    {
        POINT point{x, y};
        ClientToScreen(m_view, &point);
        ClickAtScreen(point);
    }

    // The text tool, a click at (x, y) of the view, and the text typed into the box.
    void Type(int x, int y, const std::string& gbk)
    {
        PressKeys({'T'});
        ASSERT_TRUE(RunLoopUntil([&] { return m_frame->AnnotationTools().Tool() == AnnotationTool::kText; }));
        ClickAt(x, y);
        ASSERT_TRUE(RunLoopUntil([&] { return TextBox() != nullptr; }));
        TypeText(gbk);
        const size_t length = Wide(gbk).size();
        ASSERT_TRUE(RunLoopUntil([&] { return static_cast<size_t>(GetWindowTextLengthW(TextBox())) == length; }));
    }

    HWND TextBox() const
    {
        HWND focus = GetFocus();
        return focus && GetParent(focus) == m_view ? focus : nullptr;
    }

    CImageDocument& Document()
    {
        CImageFrame* frame = nullptr;
        m_frame->Documents().FindTab(m_document, &frame);
        return frame->View().Document();
    }

    // The texts of the document's marks, one after the other.
    std::wstring MarkTexts()
    {
        std::wstring texts;
        for (const Annotation& mark : Document().Picture().Objects())
            texts += mark.text;
        return texts;
    }

    HWND m_document = nullptr;
    HWND m_view = nullptr;
};

// 关闭, 退出 and an external editor while a text is being typed: the document counts
// as changed, so each asks first (to save, or Save As before the editor gets the
// file), and the text is a mark by then.
TEST_F(TypedTextTest, TextBeingTypedIsAChangeThatClosingExitingAndEditorsAskAbout)
{
    for (const UINT command : {UINT(ID_FILE_CLOSE), UINT(ID_APP_EXIT), UINT(ID_EDITOR_FIRST)}) {
        SCOPED_TRACE(command);
        Open("C:\\typed.bmp", true);
        Type(20, 20, ToGbk("标注"));
        EXPECT_TRUE(RunLoopUntil([&] { return TabText(0) == "typed.bmp*"; }, 3000)) << TabText(0);
        {
            CDialogAnswerer answerer({CDialogAnswerer::Press(IDCANCEL)});
            if (command == ID_APP_EXIT)
                SendMessageA(*m_frame, WM_CLOSE, 0, 0);  // what 退出 posts
            else
                SendMessageA(*m_frame, WM_COMMAND, command, 0);
            EXPECT_EQ(1u, answerer.StepsTaken()) << "no prompt";
        }
        ASSERT_TRUE(IsWindow(m_document));
        EXPECT_EQ(Wide(ToGbk("标注")), MarkTexts());
        CDialogAnswerer answerer({CDialogAnswerer::Press(IDNO)});
        SendMessageA(*m_frame, WM_COMMAND, ID_FILE_CLOSE, 0);
        ASSERT_FALSE(IsWindow(m_document));
    }
}

// 全部关闭 with an unsaved capture and a text being typed in a saved image: two images
// with changes, asked about once.
TEST_F(TypedTextTest, CloseAllCountsTheTextBeingTypedAsAChange)
{
    ASSERT_TRUE(m_frame->Documents().CreateImageDocument(MakePatternBitmap(32, 24), ToGbk("快照-1*").c_str(), false));
    Open("C:\\typed.bmp", true);
    Type(20, 20, "ab");
    std::string question;
    {
        CDialogAnswerer answerer({[&](HWND dialog) {
            char shown[256] = {};
            GetDlgItemTextA(dialog, IDC_CLOSE_ALL_TEXT, shown, sizeof shown);
            question = shown;
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }});
        SendMessageA(*m_frame, WM_COMMAND, ID_WINDOW_CLOSE_ALL, 0);
        EXPECT_EQ(1u, answerer.StepsTaken());
    }
    EXPECT_EQ(ToGbk("有 2 个图像尚未保存。\n关闭前要保存它们吗？"), question);
    EXPECT_EQ(2, TabCount());
}

// 复制, then 保存 over the file while the text is being typed: the text is in the
// copy and in the file, and the document is unchanged again.
TEST_F(TypedTextTest, CopyAndSaveOverTheFileTakeTheTextAndLeaveNoStar)
{
    CTempFolder folder;
    const std::string path = folder.PathOf("over.bmp");
    {
        const CBitmapOwner picture(MakePatternBitmap(160, 120));
        ASSERT_TRUE(SaveImageFile(picture.get(), FindImageFormat("bmp"), path.c_str()));
    }
    Open(path.c_str(), true);
    Type(10, 10, ToGbk("覆盖文字"));
    EXPECT_TRUE(g_updateUI.IsEnabled(ID_FILE_SAVE)) << "the typed text is a change to save";
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    SendMessageA(*m_frame, WM_COMMAND, ID_EDIT_COPY, 0);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_DIB)) << "nothing copied";
    EXPECT_EQ(Wide(ToGbk("覆盖文字")), MarkTexts()) << "the copy took the text";
    {
        CDialogAnswerer answerer({[&](HWND dialog) {
                                      SendMessageA(dialog, CDM_SETCONTROLTEXT, cmb13,
                                                   reinterpret_cast<LPARAM>(path.c_str()));
                                      PostMessageA(dialog, WM_COMMAND, IDOK, 0);
                                  },
                                  CDialogAnswerer::Press(IDYES)});
        SendMessageA(*m_frame, WM_COMMAND, ID_FILE_SAVE, 0);
        EXPECT_EQ(2u, answerer.StepsTaken()) << "Save As and the overwrite prompt";
    }
    EXPECT_TRUE(RunLoopUntil([&] { return TabText(0) == "over.bmp"; }, 3000)) << TabText(0);
    char title[MAX_PATH] = {};
    GetWindowTextA(m_document, title, sizeof title);
    EXPECT_EQ(nullptr, strchr(title, '*')) << title;
    EXPECT_FALSE(Document().IsModified());
    EXPECT_EQ(Wide(ToGbk("覆盖文字")), MarkTexts());

    const CBitmapOwner saved(ReadImageFile(path.c_str(), FindImageFormat("bmp")));
    ASSERT_NE(nullptr, saved.get());
    const CPixelReader file(saved.get());
    int changed = 0;
    for (int y = 10; y < 40; ++y)
        for (int x = 10; x < 100; ++x)
            changed += file.At(x, y) != PatternColor(x, y);
    EXPECT_GT(changed, 30) << "the text is in the file";
}

// The box shows the text as the mark will look: the mark's colour, and its size at
// the zoom; it grows with its lines and stays over the mark's place as the view
// zooms and scrolls.
TEST_F(TypedTextTest, BoxLooksLikeTheMarkGrowsWithItsLinesAndFollowsTheView)
{
    Open("C:\\box.bmp", true);
    Type(20, 20, "ab");
    HWND box = TextBox();
    // Each key as a user types it, the box drawn in between.
    for (const char* line : {"cd", "ef"}) {
        const int length = GetWindowTextLengthW(box);
        PressKeys({VK_RETURN});
        ASSERT_TRUE(RunLoopUntil([&] { return GetWindowTextLengthW(box) == length + 2; }));  // CR LF
        Pump();
        TypeText(line);
        ASSERT_TRUE(RunLoopUntil([&] { return GetWindowTextLengthW(box) == length + 4; }));
    }
    EXPECT_EQ(0, SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0)) << "the first line stays in sight";
    const int firstTop = static_cast<short>(HIWORD(SendMessageW(box, EM_POSFROMCHAR, 0, 0)));
    const int lastTop = static_cast<short>(HIWORD(SendMessageW(box, EM_POSFROMCHAR, 8, 0)));
    RECT client{};
    GetClientRect(box, &client);
    EXPECT_LE(lastTop + (lastTop - firstTop) / 2, client.bottom) << "the third line shows whole";

    const AnnotationStyle style = m_frame->AnnotationTools().StyleFor(AnnotationKind::kText);
    Pump();
    const int lineHeight = (lastTop - firstTop) / 2;
    const CPixelReader shown(box);
    for (int line = 0; line < 3; ++line) {
        int inColour = 0;
        for (int y = firstTop + line * lineHeight; y < firstTop + (line + 1) * lineHeight; ++y)
            for (int x = 0; x < 60; ++x) {
                const COLORREF c = shown.At(x, y);
                inColour += abs(GetRValue(c) - GetRValue(style.colour)) < 40 &&
                            abs(GetGValue(c) - GetGValue(style.colour)) < 40 &&
                            abs(GetBValue(c) - GetBValue(style.colour)) < 40;
            }
        EXPECT_GT(inColour, 5) << "the letters of line " << line << " show in the mark's colour";
    }

    auto fontHeight = [&] {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)), sizeof font, &font);
        return static_cast<float>(-font.lfHeight);
    };
    auto boxAt = [&] {
        RECT rect{};
        GetWindowRect(box, &rect);
        MapWindowPoints(nullptr, m_view, reinterpret_cast<POINT*>(&rect), 2);
        return POINT{rect.left, rect.top};
    };
    EXPECT_FLOAT_EQ(style.fontSize, fontHeight());
    auto& view = *static_cast<CImageView*>(CWindow::FromHandle(m_view));
    SendMessageA(*m_frame, WM_COMMAND, ID_ZOOM_200, 0);
    ASSERT_EQ(box, TextBox()) << "the box stays open";
    EXPECT_FLOAT_EQ(style.fontSize * 2, fontHeight());
    EXPECT_EQ(40, boxAt().x);
    EXPECT_EQ(40, boxAt().y);
    SendMessageA(*m_frame, WM_COMMAND, ID_ZOOM_800, 0);
    SendMessageA(m_view, WM_VSCROLL, SB_LINEDOWN, 0);
    ASSERT_GT(view.ScrollOffset().y, 0);
    EXPECT_EQ(160 - view.ScrollOffset().y, boxAt().y) << "the box scrolls with the picture";
    EXPECT_EQ(3, SendMessageW(box, EM_GETLINECOUNT, 0, 0));
}
}
