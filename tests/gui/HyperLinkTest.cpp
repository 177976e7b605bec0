#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <fstream>
#include <string>
#include <vector>

#include "LiveGdiObjects.h"
#include "MessagePump.h"
#include "ThreadWindows.h"
#include "res/resource.h"
#include "ui/HyperLink.h"
#include "util/ModulePath.h"

namespace {

const char kLinkColorsKey[] = "Software\\Microsoft\\Internet Explorer\\Settings";

// The About box's template hosts the link here, but the dialog procedure is the
// test's own, so the link can point at a harmless batch file that leaves a marker.
// The batch file lives for the whole suite: a batch file that has just run may still
// be open, and deleting it then would only take effect once it is closed.
class LinkInDialog : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(MakeModuleFilePath("hyperlink-test.bat", s_szBatch));
        std::ofstream(s_szBatch, std::ios::binary) << "@echo opened> \"%~dp0hyperlink-opened.txt\"\r\n";
    }

    static void TearDownTestSuite() { DeleteFileA(s_szBatch); }

    void SetUp() override
    {
        ASSERT_TRUE(MakeModuleFilePath("hyperlink-opened.txt", m_szMarker));
        DeleteFileA(m_szMarker);

        m_hDlg = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUTBOX), nullptr, DialogProc,
                                    reinterpret_cast<LPARAM>(this));
        ASSERT_NE(nullptr, m_hDlg);
        ShowWindow(m_hDlg, SW_SHOW);
        // Earlier tests in this process may have left the activation elsewhere.
        SetForegroundWindow(m_hDlg);
        SetFocus(GetDlgItem(m_hDlg, IDOK));
        m_hLink = GetDlgItem(m_hDlg, IDC_CONTACT_LINK);
        ASSERT_TRUE(m_link.SubclassStatic(m_hLink, s_szBatch));
    }

    void TearDown() override
    {
        if (m_hDlg)
            DestroyWindow(m_hDlg);
        DeleteFileA(m_szMarker);
    }

    static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg == WM_INITDIALOG)
            SetWindowLongPtrA(hDlg, DWLP_USER, lParam);
        auto* self = reinterpret_cast<LinkInDialog*>(GetWindowLongPtrA(hDlg, DWLP_USER));
        if (msg == WM_COMMAND && self)
            self->m_commands.push_back(LOWORD(wParam));
        return msg == WM_INITDIALOG;
    }

    bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 15000)
    {
        return ::PumpUntil(done, timeoutMs, m_hDlg);
    }

    void PressKey(UINT vk)
    {
        HWND hFocus = GetFocus();
        PostMessageA(hFocus, WM_KEYDOWN, vk, 1);
        PostMessageA(hFocus, WM_KEYUP, vk, 0xC0000001);
    }

    bool Opened() const { return GetFileAttributesA(m_szMarker) != INVALID_FILE_ATTRIBUTES; }

    // Waits for the shell to run the target, then clears the marker for the next time.
    bool WaitUntilOpened()
    {
        bool bOpened = PumpUntil([this] { return Opened(); });
        // The batch file may still hold the marker open.
        EXPECT_TRUE(PumpUntil([this] { return DeleteFileA(m_szMarker) || !Opened(); }));
        return bOpened;
    }

    static char s_szBatch[MAX_PATH];
    char m_szMarker[MAX_PATH] = {};
    HWND m_hDlg = nullptr;
    HWND m_hLink = nullptr;
    CHyperLink m_link;
    std::vector<WORD> m_commands;
};

char LinkInDialog::s_szBatch[MAX_PATH] = {};

// The link painted into a 32-bit bitmap of its size.
struct Painted {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, top row first

    explicit Painted(HWND hWnd)
    {
        RECT rc;
        GetClientRect(hWnd, &rc);
        width = rc.right;
        height = rc.bottom;
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HDC hDC = CreateCompatibleDC(nullptr);
        HBITMAP hBitmap = CreateDIBSection(hDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ hOld = SelectObject(hDC, hBitmap);
        SendMessageA(hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hDC), PRF_CLIENT);
        GdiFlush();
        const uint32_t* p = static_cast<const uint32_t*>(bits);
        pixels.assign(p, p + width * height);
        SelectObject(hDC, hOld);
        DeleteObject(hBitmap);
        DeleteDC(hDC);
    }

    // The longest horizontal run of exactly this colour, over all rows.
    int LongestRun(COLORREF color) const
    {
        const uint32_t wanted = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
        int longest = 0;
        for (int y = 0; y < height; ++y) {
            int run = 0;
            for (int x = 0; x < width; ++x) {
                run = pixels[y * width + x] == wanted ? run + 1 : 0;
                longest = std::max(longest, run);
            }
        }
        return longest;
    }
};

int TextWidth(HWND hWnd)
{
    char szText[256] = {};
    GetWindowTextA(hWnd, szText, sizeof szText);
    HDC hDC = GetDC(hWnd);
    HGDIOBJ hOld = SelectObject(hDC, reinterpret_cast<HGDIOBJ>(SendMessageA(hWnd, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32A(hDC, szText, lstrlenA(szText), &size);
    SelectObject(hDC, hOld);
    ReleaseDC(hWnd, hDC);
    return size.cx;
}

// Sets the browser's link colours for one test and puts the old values back.
class CLinkColors {
public:
    CLinkColors(const char* link, const char* visited)
    {
        RegCreateKeyExA(HKEY_CURRENT_USER, kLinkColorsKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                        &m_hKey, nullptr);
        Replace("Anchor Color", link);
        Replace("Anchor Color Visited", visited);
    }
    ~CLinkColors()
    {
        for (const Saved& saved : m_saved) {
            if (saved.bExisted)
                RegSetValueExA(m_hKey, saved.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(saved.value.c_str()),
                               static_cast<DWORD>(saved.value.size() + 1));
            else
                RegDeleteValueA(m_hKey, saved.name);
        }
        RegCloseKey(m_hKey);
    }

private:
    struct Saved {
        const char* name;
        bool bExisted;
        std::string value;
    };

    void Replace(const char* name, const char* value)
    {
        char szOld[64] = {};
        DWORD dwSize = sizeof szOld - 1;
        bool bExisted = RegQueryValueExA(m_hKey, name, nullptr, nullptr, reinterpret_cast<BYTE*>(szOld), &dwSize) ==
                        ERROR_SUCCESS;
        m_saved.push_back({name, bExisted, szOld});
        RegSetValueExA(m_hKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), lstrlenA(value) + 1);
    }

    HKEY m_hKey = nullptr;
    std::vector<Saved> m_saved;
};

}  // namespace

TEST_F(LinkInDialog, IsDrawnUnderlinedInTheLinkColourAndThenTheVisitedColour)
{
    const int textWidth = TextWidth(m_hLink);
    ASSERT_GT(textWidth, 20);
    const COLORREF crLink = m_link.TextColor();
    EXPECT_GE(Painted(m_hLink).LongestRun(crLink), textWidth - 2) << "no underline in the link colour";

    PressKey(VK_TAB);  // from OK to the link
    ASSERT_TRUE(PumpUntil([this] { return GetFocus() == m_hLink; }));
    PressKey(VK_SPACE);
    ASSERT_TRUE(WaitUntilOpened());
    EXPECT_TRUE(m_link.IsVisited());
    EXPECT_NE(crLink, m_link.TextColor());
    const Painted visited(m_hLink);
    EXPECT_GE(visited.LongestRun(m_link.TextColor()), textWidth - 2) << "no underline in the visited colour";
    EXPECT_LT(visited.LongestRun(crLink), textWidth / 2);
}

TEST_F(LinkInDialog, EnterClickAndSpaceOpenTheTargetInsteadOfPressingOk)
{
    PressKey(VK_TAB);
    ASSERT_TRUE(PumpUntil([this] { return GetFocus() == m_hLink; }));
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntilOpened()) << "Enter";
    PressKey(VK_SPACE);
    EXPECT_TRUE(WaitUntilOpened()) << "Space";

    // A click: the static must not let the mouse through to the dialog.
    EXPECT_EQ(HTCLIENT, SendMessageA(m_hLink, WM_NCHITTEST, 0, 0));
    PostMessageA(m_hLink, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    PostMessageA(m_hLink, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(WaitUntilOpened()) << "click";

    EXPECT_TRUE(m_commands.empty()) << "the dialog's default button was pressed";
}

TEST_F(LinkInDialog, ShowsAHandCursorAndATooltipWithTheTarget)
{
    SendMessageA(m_hLink, WM_SETCURSOR, reinterpret_cast<WPARAM>(m_hLink), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(LoadCursorA(nullptr, IDC_HAND), GetCursor());

    HWND hTip = FindThreadWindow([](HWND window) { return lstrcmpiA(WindowClass(window).c_str(), TOOLTIPS_CLASSA) == 0; });
    ASSERT_NE(nullptr, hTip);
    char szText[MAX_PATH + 16] = {};
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = m_hDlg;
    tool.uId = reinterpret_cast<UINT_PTR>(m_hLink);
    tool.lpszText = szText;
    SendMessageA(hTip, TTM_GETTEXTA, sizeof szText, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(s_szBatch, szText);

    // The tooltip goes with the link.
    DestroyWindow(m_hDlg);
    m_hDlg = nullptr;
    EXPECT_FALSE(IsWindow(hTip));
}

TEST(HyperLink, TakesItsColoursFromTheBrowserSettingsWithDefaults)
{
    auto colorsFor = [](const char* link, const char* visited) {
        CLinkColors colors(link, visited);
        HWND hStatic = CreateWindowExA(0, "STATIC", "link", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
        CHyperLink hyperLink;
        EXPECT_TRUE(hyperLink.SubclassStatic(hStatic, "target"));
        auto result = std::make_pair(hyperLink.LinkColor(), hyperLink.VisitedColor());
        DestroyWindow(hStatic);
        return result;
    };
    EXPECT_EQ(std::make_pair(RGB(10, 120, 30), RGB(200, 0, 255)), colorsFor("10,120,30", "200,0,255"));
    EXPECT_EQ(std::make_pair(RGB(0, 0, 0), RGB(255, 255, 255)), colorsFor("0,0,0", " 255, 255,255"));
    // Anything that is not three bytes falls back to the defaults.
    for (const char* damaged : {"", "blue", "1,2", "1,2,3,4", "256,0,0", "-1,0,0", "1,2,3x"}) {
        EXPECT_EQ(std::make_pair(CHyperLink::kDefaultLinkColor, CHyperLink::kDefaultVisitedColor),
                  colorsFor(damaged, damaged))
            << '"' << damaged << '"';
    }
}

TEST(HyperLink, ReleasesItsFontAndTooltip)
{
    auto makeAndDestroy = [] {
        HWND hStatic = CreateWindowExA(0, "STATIC", "link", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
        CHyperLink hyperLink;
        EXPECT_TRUE(hyperLink.SubclassStatic(hStatic, "target"));
        DestroyWindow(hStatic);
    };
    makeAndDestroy();  // first use loads what stays loaded
    const size_t gdiBefore = LiveGdiObjects();
    for (int i = 0; i < 20; ++i)
        makeAndDestroy();
    EXPECT_EQ(gdiBefore, LiveGdiObjects());
}
