#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "ui/Window.h"

namespace {
const char kClass[] = "WindowTestClass";

class CProbeWindow : public CWindow {
public:
    std::vector<UINT> m_seen;
    bool m_finalCalled = false;
    HWND m_handleAtFinal = reinterpret_cast<HWND>(1);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        m_seen.push_back(msg);
        if (msg == WM_APP)
            return 42;
        return DefaultProc(msg, wParam, lParam);
    }
    void OnFinalMessage() override
    {
        m_finalCalled = true;
        m_handleAtFinal = Handle();
    }
};

HWND CreateEdit()
{
    return CreateWindowExA(0, "EDIT", "text", WS_OVERLAPPED, 0, 0, 50, 20, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

bool Contains(const std::vector<UINT>& seen, UINT msg)
{
    return std::find(seen.begin(), seen.end(), msg) != seen.end();
}
}

TEST(Window, ObjectReceivesEveryMessageFromCreationToDestruction)
{
    WNDCLASSEXA wc{};
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    CWindow::RegisterClass(wc);

    CProbeWindow window;
    HWND hWnd = window.Create(kClass, "probe", WS_OVERLAPPEDWINDOW, 0, 0, 0, 100, 100, nullptr, nullptr);
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(window.Handle(), hWnd);
    EXPECT_EQ(CWindow::FromHandle(hWnd), &window);
    ASSERT_FALSE(window.m_seen.empty());
    // The messages sent before CreateWindowEx returns reach the object too.
    EXPECT_TRUE(Contains(window.m_seen, WM_NCCREATE));
    EXPECT_TRUE(Contains(window.m_seen, WM_CREATE));
    EXPECT_EQ(SendMessageA(hWnd, WM_APP, 0, 0), 42);

    EXPECT_TRUE(window.DestroyWindow());
    EXPECT_TRUE(window.m_finalCalled);
    EXPECT_EQ(window.m_handleAtFinal, nullptr);
    EXPECT_EQ(window.Handle(), nullptr);
    EXPECT_EQ(CWindow::FromHandle(hWnd), nullptr);
}

TEST(Window, SubclassRoutesMessagesThroughTheObjectAndUnsubclassRestores)
{
    HWND edit = CreateEdit();
    ASSERT_NE(edit, nullptr);
    WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(edit, GWLP_WNDPROC));
    {
        CProbeWindow window;
        ASSERT_TRUE(window.Subclass(edit));
        EXPECT_FALSE(window.Subclass(edit)) << "one window per object";
        EXPECT_EQ(SendMessageA(edit, WM_APP, 0, 0), 42);
        // Everything else still reaches the control's own procedure.
        SetWindowTextA(edit, "changed");
        char text[32] = "";
        GetWindowTextA(edit, text, sizeof text);
        EXPECT_STREQ(text, "changed");
        EXPECT_TRUE(Contains(window.m_seen, WM_SETTEXT));
    }
    // The object is gone: the control has its own procedure back.
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(edit, GWLP_WNDPROC)), original);
    EXPECT_EQ(CWindow::FromHandle(edit), nullptr);
    DestroyWindow(edit);
}

TEST(Window, SubclassedWindowDestroyedFirstReleasesTheObject)
{
    HWND edit = CreateEdit();
    CProbeWindow window;
    ASSERT_TRUE(window.Subclass(edit));
    DestroyWindow(edit);
    EXPECT_TRUE(window.m_finalCalled);
    EXPECT_EQ(window.Handle(), nullptr);
    EXPECT_TRUE(Contains(window.m_seen, WM_NCDESTROY));
}
