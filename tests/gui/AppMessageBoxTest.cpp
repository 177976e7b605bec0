#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "res/resource.h"
#include "util/AppMessageBox.h"

namespace {

// What the timer callback saw of the message box, and the button it pressed.
struct SeenBox {
    std::string text;
    std::string caption;
    HWND hOwner = nullptr;
    int nButton = 0;
    bool bFound = false;
};

SeenBox g_seen;

BOOL CALLBACK AnswerIfMessageBox(HWND hWnd, LPARAM)
{
    char szClass[16] = {};
    GetClassNameA(hWnd, szClass, sizeof szClass);
    if (std::string(szClass) != "#32770")
        return TRUE;

    char szText[256] = {};
    GetWindowTextA(hWnd, szText, sizeof szText);
    g_seen.caption = szText;
    // The message text is the static control with id 0xFFFF.
    GetDlgItemTextA(hWnd, 0xFFFF, szText, sizeof szText);
    g_seen.text = szText;
    g_seen.hOwner = GetWindow(hWnd, GW_OWNER);
    g_seen.bFound = true;
    PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(g_seen.nButton, BN_CLICKED), 0);
    return FALSE;
}

// Fires inside the message box's modal loop on this thread.
void CALLBACK OnAnswerTimer(HWND, UINT, UINT_PTR idTimer, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), AnswerIfMessageBox, 0);
    if (g_seen.bFound)
        KillTimer(nullptr, idTimer);
}

int ShowAndAnswer(HWND hOwner, UINT id, UINT style, int nButton)
{
    g_seen = SeenBox();
    g_seen.nButton = nButton;
    UINT_PTR idTimer = SetTimer(nullptr, 0, 50, OnAnswerTimer);
    EXPECT_NE(0u, idTimer);
    int nResult = AppMessageBox(hOwner, id, style);
    KillTimer(nullptr, idTimer);
    EXPECT_TRUE(g_seen.bFound);
    return nResult;
}

std::string LoadedString(UINT id)
{
    char szText[128] = {};
    LoadStringA(GetModuleHandleA(nullptr), id, szText, sizeof szText);
    return szText;
}

}  // namespace

TEST(AppMessageBox, ShowsTheStringTableTextUnderTheApplicationTitle)
{
    ASSERT_EQ(936u, GetACP()) << "tests must run with LC_ALL=zh_CN.UTF-8";

    EXPECT_EQ(IDNO, ShowAndAnswer(nullptr, IDS_DEFAULT_PREFIX, MB_YESNO | MB_ICONQUESTION, IDNO));
    EXPECT_EQ("\xBF\xEC\xD5\xD5-", g_seen.text);  // "快照-" in GBK
    EXPECT_EQ(LoadedString(IDS_DEFAULT_PREFIX), g_seen.text);
    EXPECT_EQ("Lumigrab", g_seen.caption);
    EXPECT_EQ(nullptr, g_seen.hOwner);
}

TEST(AppMessageBox, AMissingStringShowsAsEmptyAndTheOwnerIsKept)
{
    HWND hOwner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, hOwner);

    EXPECT_EQ(IDRETRY, ShowAndAnswer(hOwner, 0xFFF0, MB_RETRYCANCEL, IDRETRY));
    EXPECT_EQ("", g_seen.text);
    EXPECT_EQ("Lumigrab", g_seen.caption);
    EXPECT_EQ(hOwner, g_seen.hOwner);
    DestroyWindow(hOwner);
}
