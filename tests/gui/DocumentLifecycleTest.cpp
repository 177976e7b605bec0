#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <malloc.h>

#include <string>
#include <vector>

#include "Gbk.h"
#include "gui/DialogAnswerer.h"
#include "gui/FrameFixture.h"
#include "res/resource.h"
#include "settings/Settings.h"
#include "util/ModulePath.h"

// Documents coming and going with the frame: a creation that fails, the window
// list, and the end of the user's session.
namespace {
class DocumentLifecycleTest : public FrameFixture {
protected:
    HWND Open(const char* name, bool saved)
    {
        EXPECT_TRUE(m_frame->CreateImageDocument(MakePatternBitmap(32, 24), name, saved));
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
    HBITMAP bitmap = MakePatternBitmap(16, 16);
    HHOOK hook = SetWindowsHookExA(WH_CBT, RefuseImageViews, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    const bool created = m_frame->CreateImageDocument(bitmap, "C:\\a.bmp", true);
    UnhookWindowsHookEx(hook);

    EXPECT_FALSE(created);
    EXPECT_EQ(nullptr, m_frame->ActiveDocument());
    EXPECT_EQ(0, TabCount());
    BITMAP info{};
    EXPECT_EQ(static_cast<int>(sizeof info), GetObjectA(bitmap, sizeof info, &info)) << "the caller keeps the bitmap";
    DeleteObject(bitmap);
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
