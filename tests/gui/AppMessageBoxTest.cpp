#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "DialogAnswerer.h"
#include "res/resource.h"
#include "util/AppMessageBox.h"

namespace {

// What the answerer saw of the message box.
struct SeenBox {
    std::string text;
    std::string caption;
    HWND hOwner = nullptr;
};

SeenBox g_seen;

int ShowAndAnswer(HWND hOwner, UINT id, UINT style, int nButton)
{
    g_seen = SeenBox();
    CDialogAnswerer answerer({[nButton](HWND box) {
        char szCaption[256] = {};
        GetWindowTextA(box, szCaption, sizeof szCaption);
        g_seen.caption = szCaption;
        g_seen.hOwner = GetWindow(box, GW_OWNER);
        CDialogAnswerer::Press(nButton, &g_seen.text)(box);
    }});
    int nResult = AppMessageBox(hOwner, id, style);
    EXPECT_EQ(1u, answerer.StepsTaken());
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
