#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>
#include <malloc.h>

#include <string>
#include <vector>

#include "Gbk.h"
#include "KeyInput.h"
#include "DialogAnswerer.h"
#include "PixelReader.h"
#include "gui/FrameFixture.h"
#include "res/resource.h"
#include "settings/Settings.h"
#include "TempFolder.h"
#include "util/ModulePath.h"

// Documents coming and going with the frame: a creation that fails, the window
// list, and the end of the user's session.
namespace {
class DocumentLifecycleTest : public FrameFixture {
protected:
    HWND Open(const char* name, bool saved)
    {
        EXPECT_TRUE(m_frame->Documents().CreateImageDocument(MakePatternBitmap(32, 24), name, saved));
        return m_frame->ActiveDocument();
    }

    void Close(HWND document)
    {
        SendMessageA(m_frame->MdiClient(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(document), 0);
    }

    int TabCount() const { return static_cast<int>(SendMessageA(m_frame->TabStrip(), TCM_GETITEMCOUNT, 0, 0)); }

    // The entries the MDI client listed under 窗口 of the menu bar's menu.
    std::vector<std::string> WindowList()
    {
        HMENU menu = m_frame->MenuBar().GetMenu();
        HMENU windowMenu = GetSubMenu(menu, GetMenuItemCount(menu) - 2);
        std::vector<std::string> entries;
        for (int position = 0; position < GetMenuItemCount(windowMenu); ++position) {
            const UINT id = GetMenuItemID(windowMenu, position);
            if (id < 0xFF00 || id == static_cast<UINT>(-1))
                continue;
            char text[MAX_PATH] = {};
            GetMenuStringA(windowMenu, position, text, sizeof text, MF_BYPOSITION);
            entries.push_back(text);
        }
        return entries;
    }
};

// Answers the Save As dialog as a user does: the BMP type, then the name.
CDialogAnswerer::Step SaveAsBmp(const std::string& path)
{
    return [path](HWND dialog) {
        HWND types = GetDlgItem(dialog, cmb1);
        SendMessageA(types, CB_SETCURSEL, 1, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
        SendMessageA(dialog, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(path.c_str()));
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    };
}

// The system refuses the view's window, as it does when window handles run out.
LRESULT CALLBACK RefuseImageViews(int code, WPARAM wParam, LPARAM lParam)
{
    char className[32] = {};
    if (code == HCBT_CREATEWND && GetClassNameA(reinterpret_cast<HWND>(wParam), className, sizeof className) &&
        lstrcmpA(className, "ImageView") == 0)
        return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(DocumentLifecycleTest, DocumentWhoseViewCannotBeCreatedFailsOnceAndCleanly)
{
    CBitmapOwner bitmap = MakePatternBitmap(16, 16);
    const HBITMAP handle = bitmap.get();
    HHOOK hook = SetWindowsHookExA(WH_CBT, RefuseImageViews, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    const bool created = m_frame->Documents().CreateImageDocument(std::move(bitmap), "C:\\a.bmp", true);
    UnhookWindowsHookEx(hook);

    EXPECT_FALSE(created);
    EXPECT_EQ(nullptr, m_frame->ActiveDocument());
    EXPECT_EQ(0, TabCount());
    BITMAP info{};
    EXPECT_EQ(0, GetObjectA(handle, sizeof info, &info)) << "the refused bitmap is released once";
    for (HANDLE heap : {GetProcessHeap(), reinterpret_cast<HANDLE>(_get_heap_handle())})
        EXPECT_TRUE(HeapValidate(heap, 0, nullptr));

    HWND next = Open("C:\\b.bmp", true);
    EXPECT_NE(nullptr, next);
    EXPECT_EQ(1, TabCount());
}

TEST_F(DocumentLifecycleTest, WindowMenuListsTheDocumentsFromTheFirstOneOn)
{
    HWND first = Open("C:\\a.bmp", true);
    EXPECT_EQ(std::vector<std::string>{"&1 a.bmp"}, WindowList());
    HWND second = Open("C:\\b.bmp", true);
    EXPECT_EQ((std::vector<std::string>{"&1 a.bmp", "&2 b.bmp"}), WindowList());
    Close(second);
    EXPECT_EQ(std::vector<std::string>{"&1 a.bmp"}, WindowList());
    Close(first);
    Open("C:\\c.bmp", true);
    EXPECT_EQ(std::vector<std::string>{"&1 c.bmp"}, WindowList());
}

// Ctrl+S names a capture; its entry under 窗口 takes the new name with the tab.
TEST_F(DocumentLifecycleTest, SavingACaptureUnderANameRenamesItsWindowListEntry)
{
    Open("C:\\a.bmp", true);
    HWND capture = Open(ToGbk("快照-1*").c_str(), false);
    CTempFolder folder;
    const std::string target = folder.PathOf("renamed.bmp");
    SetForegroundWindow(*m_frame);
    {
        CDialogAnswerer answerer({SaveAsBmp(target)});
        PressKeys({VK_CONTROL, 'S'});
        ASSERT_TRUE(RunLoopUntil([&] { return TabText(1) == "renamed.bmp"; }));
    }
    EXPECT_EQ((std::vector<std::string>{"&1 a.bmp", "&2 " + target}), WindowList());
    EXPECT_TRUE(IsWindow(capture));
}

// Closing an unsaved capture with Ctrl+F4, the user answers 是 and names a file: the
// picture is in the file and the document is gone.
TEST_F(DocumentLifecycleTest, ClosePromptYesSavesThePictureAndCloses)
{
    HWND capture = Open(ToGbk("快照-2*").c_str(), false);
    CTempFolder folder;
    const std::string target = folder.PathOf("closed.bmp");
    SetForegroundWindow(*m_frame);
    {
        CDialogAnswerer answerer({CDialogAnswerer::Press(IDYES), SaveAsBmp(target)});
        PressKeys({VK_CONTROL, VK_F4});
        ASSERT_TRUE(RunLoopUntil([&] { return !IsWindow(capture); }));
        EXPECT_EQ(2u, answerer.StepsTaken());
    }
    EXPECT_EQ(0, TabCount());

    auto image = static_cast<HBITMAP>(
        LoadImageA(nullptr, target.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    ASSERT_NE(nullptr, image) << "no picture in " << target;
    BITMAP info{};
    GetObjectA(image, sizeof info, &info);
    EXPECT_EQ(32, info.bmWidth);
    EXPECT_EQ(24, info.bmHeight);
    int wrong = 0;
    {
        const CPixelReader file(image);
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 32; ++x)
                wrong += file.At(x, y) != PatternColor(x, y);
    }
    DeleteObject(image);
    EXPECT_EQ(0, wrong) << "pixels of the file that differ from the image";
}

// Logging off asks about unsaved images as closing does; a real end writes the
// settings file as closing does.
TEST_F(DocumentLifecycleTest, SessionEndAsksLikeClosingAndSavesTheSettings)
{
    HWND document = Open(ToGbk("快照-1*").c_str(), false);
    {
        CDialogAnswerer answerer({CDialogAnswerer::Press(IDCANCEL)});
        EXPECT_FALSE(SendMessageA(*m_frame, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
        EXPECT_EQ(1u, answerer.StepsTaken());
    }
    EXPECT_TRUE(IsWindow(document)) << "cancel keeps the session and the image";
    {
        CDialogAnswerer answerer({CDialogAnswerer::Press(IDNO)});
        EXPECT_TRUE(SendMessageA(*m_frame, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    }
    EXPECT_FALSE(IsWindow(document));

    char path[MAX_PATH];
    ASSERT_TRUE(MakeModuleFilePath("lumigrab.cfg", path));
    DeleteFileA(path);
    const CSettings saved = g_settings;
    SendMessageA(*m_frame, WM_COMMAND, ID_CAPTURE_INCLUDE_CURSOR, 0);
    SendMessageA(*m_frame, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path)) << "the session goes on";
    SendMessageA(*m_frame, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path));
    DeleteFileA(path);
    g_settings = saved;
    g_settings.m_bModified = 0;
}
}
