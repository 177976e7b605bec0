// The real program on a screen of 144 DPI (the prefix's LogPixels, which Wine reads at
// each program's start; set for the test and put back after it, failed or not).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "Gbk.h"
#include "e2e/ProgramUnderTest.h"
#include "res/resource.h"

namespace {

const char kDesktopKey[] = "Control Panel\\Desktop";

std::vector<HWND> ChildWindows(HWND parent)
{
    std::vector<HWND> children;
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

class DpiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &m_hKey));
        DWORD size = sizeof m_savedDpi;
        m_bHadDpi = RegQueryValueExA(m_hKey, "LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&m_savedDpi),
                                     &size) == ERROR_SUCCESS;
        const DWORD dpi = 144;
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(m_hKey, "LogPixels", 0, REG_DWORD,
                                                reinterpret_cast<const BYTE*>(&dpi), sizeof dpi));
    }

    void TearDown() override
    {
        if (m_frame) {
            EXPECT_TRUE(m_program.CloseLettingCapturesGo(m_frame));
        }
        if (!m_hKey)
            return;
        if (m_bHadDpi)
            RegSetValueExA(m_hKey, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&m_savedDpi),
                           sizeof m_savedDpi);
        else
            RegDeleteValueA(m_hKey, "LogPixels");
        RegCloseKey(m_hKey);
    }

    HWND AnnotationToolBar() const
    {
        for (HWND child : ChildWindows(m_frame))
            if (WindowClass(child) == TOOLBARCLASSNAMEA && WindowText(child) == ToGbk("标注工具栏"))
                return child;
        return nullptr;
    }

    CProgramUnderTest m_program;
    HWND m_frame = nullptr;
    HKEY m_hKey = nullptr;
    DWORD m_savedDpi = 96;
    bool m_bHadDpi = false;
};

TEST_F(DpiTest, At144DpiPicturesAre24PixelsPagesHoldTheirControlsAndCapturesKeepThePixels)
{
    ASSERT_TRUE(m_program.Start());
    m_frame = m_program.MainFrame();
    ASSERT_NE(nullptr, m_frame);

    // A full-screen capture has every pixel of the screen; with it comes the
    // annotation bar.
    HWND tabs = FindWindowExA(m_frame, nullptr, WC_TABCONTROLA, nullptr);
    CProgramUnderTest::PostCommand(m_frame, ID_CAPTURE_FULLSCREEN);
    ASSERT_TRUE(PumpUntil([&] { return SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0) == 1; }, 15000));
    HWND status = FindWindowExA(m_frame, nullptr, STATUSCLASSNAMEA, nullptr);
    const std::string size = ToGbk(" 实际尺寸: ") + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + " x " +
                             std::to_string(GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(PumpUntil([&] { return m_program.StatusPaneText(status, 1) == size; }, 5000))
        << m_program.StatusPaneText(status, 1);

    // The annotation bar's buttons are its pictures and the padding round them.
    HWND annotation = AnnotationToolBar();
    ASSERT_NE(nullptr, annotation);
    const auto padding = static_cast<DWORD>(SendMessageA(annotation, TB_GETPADDING, 0, 0));
    const auto button = static_cast<DWORD>(SendMessageA(annotation, TB_GETBUTTONSIZE, 0, 0));
    EXPECT_EQ(24 + LOWORD(padding), LOWORD(button));
    EXPECT_EQ(22 + HIWORD(padding), HIWORD(button));
    // The main toolbar's last button is on the screen: the frame is wide enough for it.
    HWND toolBar = GetDlgItem(FindWindowExA(m_frame, nullptr, REBARCLASSNAMEA, nullptr), ID_VIEW_TOOLBAR);
    ASSERT_NE(nullptr, toolBar);
    RECT last = m_program.ToolBarButtonRect(toolBar, ID_VIEW_OPTIONS), shown{};
    GetClientRect(toolBar, &shown);
    EXPECT_LE(last.right, shown.right);
    EXPECT_GE(last.bottom - last.top, 22 + HIWORD(padding)) << "room for the 24-pixel pictures and the label";

    CProgramUnderTest::PostCommand(m_frame, ID_VIEW_OPTIONS);
    HWND sheet = m_program.WaitForWindow("#32770", 10000, ToGbk("选项").c_str());
    ASSERT_NE(nullptr, sheet);
    for (int index = 0; index < 5; ++index) {
        SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
        HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        ASSERT_NE(nullptr, page) << "page " << index;
        RECT pageRect{};
        GetWindowRect(page, &pageRect);
        for (HWND control : ChildWindows(page)) {
            RECT rect{}, inside{};
            GetWindowRect(control, &rect);
            IntersectRect(&inside, &rect, &pageRect);
            EXPECT_TRUE(EqualRect(&inside, &rect))
                << "page " << index << ": control " << GetDlgCtrlID(control) << " \"" << WindowText(control)
                << "\" reaches out of the page";
        }
    }
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    ASSERT_TRUE(PumpUntil([sheet] { return !IsWindow(sheet); }, 5000));
}

}  // namespace
