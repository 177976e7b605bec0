#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ThreadWindows.h"
#include "app/AboutDialog.h"
#include "res/resource.h"
#include "TimedSteps.h"
#include "ui/HyperLink.h"

namespace {

const std::string kCaption = "\xB9\xD8\xD3\xDA";  // 关于

HWND FindDialog()
{
    return FindThreadWindow([](HWND window) { return WindowClass(window) == "#32770" && IsWindowVisible(window); });
}

// Drives the modal About box from a timer on this thread: one step per tick, each
// given the dialog. A box still open after a while is cancelled and counts as hung.
INT_PTR RunAboutBox(HWND hOwner, const std::vector<std::function<void(HWND)>>& steps)
{
    std::vector<CTimedSteps::Step> script;
    for (const auto& step : steps)
        script.push_back({[] { return FindDialog() != nullptr; }, [step] { step(FindDialog()); }});
    bool bHung = false;
    CTimedSteps play(std::move(script), 5000,
                     [&bHung] {
                         bHung = true;
                         EndDialog(FindDialog(), -1);
                     },
                     50);
    INT_PTR result = ShowAboutBox(hOwner);
    play.Stop();
    EXPECT_FALSE(bHung) << "the About box did not close";
    EXPECT_TRUE(play.Finished()) << "the box closed before the script ended";
    return result;
}

// A key press as the dialog manager sees it: posted to the focused control.
void PressKey(UINT vk)
{
    HWND hFocus = GetFocus();
    PostMessageA(hFocus, WM_KEYDOWN, vk, 1);
    PostMessageA(hFocus, WM_KEYUP, vk, 0xC0000001);
}

class AboutBox : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(936u, GetACP()) << "tests must run with LC_ALL=zh_CN.UTF-8";
        m_hOwner = MakeOwner(200, 150, 600, 400);
        ASSERT_NE(nullptr, m_hOwner);
    }
    void TearDown() override { DestroyWindow(m_hOwner); }

    static HWND MakeOwner(int x, int y, int width, int height)
    {
        return CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }

    HWND m_hOwner = nullptr;
};

POINT CentreOf(HWND hWnd)
{
    RECT rc;
    GetWindowRect(hWnd, &rc);
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

}  // namespace

TEST_F(AboutBox, OpensCentredOverItsOwnerWithOkAsDefaultAndEnterClosesIt)
{
    POINT dialogCentre = {}, ownerCentre = CentreOf(m_hOwner);
    std::string caption, focusClass;
    LRESULT defId = 0;
    HWND hRealOwner = nullptr;
    INT_PTR result = RunAboutBox(m_hOwner, {[&](HWND hDlg) {
                                                dialogCentre = CentreOf(hDlg);
                                                char szText[64] = {};
                                                GetWindowTextA(hDlg, szText, sizeof szText);
                                                caption = szText;
                                                defId = LOWORD(SendMessageA(hDlg, DM_GETDEFID, 0, 0));
                                                hRealOwner = GetWindow(hDlg, GW_OWNER);
                                                EXPECT_EQ(GetDlgItem(hDlg, IDOK), GetFocus());
                                                PressKey(VK_RETURN);
                                            }});
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(kCaption, caption);
    EXPECT_EQ(IDOK, defId);
    EXPECT_EQ(m_hOwner, hRealOwner);
    EXPECT_NEAR(ownerCentre.x, dialogCentre.x, 1);
    EXPECT_NEAR(ownerCentre.y, dialogCentre.y, 1);
}

TEST_F(AboutBox, EscapeAndTheCloseBoxCancel)
{
    EXPECT_EQ(IDCANCEL, RunAboutBox(m_hOwner, {[](HWND) { PressKey(VK_ESCAPE); }}));
    EXPECT_EQ(IDCANCEL,
              RunAboutBox(m_hOwner, {[](HWND hDlg) { PostMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0); }}));
}

TEST_F(AboutBox, TabMovesTheFocusBetweenOkAndTheMailLink)
{
    HWND hOk = nullptr, hLink = nullptr;
    std::vector<HWND> focus;
    auto recordFocus = [&](HWND) { focus.push_back(GetFocus()); };
    INT_PTR result = RunAboutBox(m_hOwner, {[&](HWND hDlg) {
                                                hOk = GetDlgItem(hDlg, IDOK);
                                                hLink = GetDlgItem(hDlg, IDC_CONTACT_LINK);
                                                PressKey(VK_TAB);
                                            },
                                            recordFocus, [](HWND) { PressKey(VK_TAB); }, recordFocus,
                                            [](HWND) { PressKey(VK_RETURN); }});
    EXPECT_EQ(IDOK, result);
    ASSERT_NE(nullptr, hLink);
    EXPECT_EQ((std::vector<HWND>{hLink, hOk}), focus);
}

TEST_F(AboutBox, TheContactAddressIsAMailLink)
{
    std::string text;
    std::string target;
    COLORREF crText = CLR_INVALID;
    RunAboutBox(m_hOwner, {[&](HWND hDlg) {
                    HWND hLink = GetDlgItem(hDlg, IDC_CONTACT_LINK);
                    char szText[256] = {};
                    GetWindowTextA(hLink, szText, sizeof szText);
                    text = szText;
                    auto* link = dynamic_cast<CHyperLink*>(CWindow::FromHandle(hLink));
                    ASSERT_NE(nullptr, link);
                    target = link->Target();
                    crText = link->TextColor();
                    EXPECT_FALSE(link->IsVisited());
                    PressKey(VK_ESCAPE);
                }});
    EXPECT_FALSE(text.empty());
    EXPECT_EQ("mailto:" + text, target);
    EXPECT_NE(CLR_INVALID, crText);
}

TEST_F(AboutBox, AnOwnerAtTheScreenEdgeKeepsTheBoxOnTheScreen)
{
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    HWND hEdgeOwner = MakeOwner(screenWidth - 60, screenHeight - 40, 100, 80);
    RECT rcDialog = {};
    RunAboutBox(hEdgeOwner, {[&](HWND hDlg) {
                    GetWindowRect(hDlg, &rcDialog);
                    PressKey(VK_ESCAPE);
                }});
    DestroyWindow(hEdgeOwner);
    EXPECT_GE(rcDialog.left, 0);
    EXPECT_GE(rcDialog.top, 0);
    EXPECT_LE(rcDialog.right, screenWidth);
    EXPECT_LE(rcDialog.bottom, screenHeight);
    EXPECT_GT(rcDialog.right - rcDialog.left, 200) << "the box was measured";
}
