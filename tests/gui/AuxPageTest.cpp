// The Auxiliary page with the real capture engine's skin manager.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Gbk.h"
#include "RealClick.h"
#include "capture/CaptureEngine.h"
#include "gui/OptionsSheetFixture.h"
#include "res/resource.h"
#include "settings/OptionsSheet.h"

namespace {

using AuxPage = OptionsSheetFixture;
const int kAuxPage = 3;

// The preview as it is on the screen, one 0x00RRGGBB value per pixel, row by row.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;
    DWORD At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

Picture PreviewPixels(HWND sheet)
{
    HWND preview = GetDlgItem(CurrentPage(sheet), IDC_SKIN_PREVIEW);
    UpdateWindow(preview);
    RECT rc;
    GetClientRect(preview, &rc);
    HDC hdc = GetDC(preview);
    HDC memory = CreateCompatibleDC(hdc);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = rc.right;
    info.bmiHeader.biHeight = -rc.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(hdc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, rc.right, rc.bottom, hdc, 0, 0, SRCCOPY);
    GdiFlush();
    Picture picture{rc.right, rc.bottom, {}};
    picture.pixels.assign(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + rc.right * rc.bottom);
    for (DWORD& pixel : picture.pixels)
        pixel &= 0xFFFFFF;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(preview, hdc);
    return picture;
}

DWORD SystemColourPixel(int index)
{
    const COLORREF colour = GetSysColor(index);
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

void SelectSkin(HWND sheet, int index)
{
    HWND page = CurrentPage(sheet);
    SendDlgItemMessageA(page, IDC_SKIN_LIST, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_SKIN_LIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_SKIN_LIST)));
}

struct SkinManagerCount {
    int created = 0;
    int released = 0;
};

// The engine's own skin manager, counted on its way in and out.
class CCountedSkinManager final : public ISkinManager {
public:
    CCountedSkinManager(ISkinManager* engine, SkinManagerCount& count) : m_engine(engine), m_count(count)
    {
        ++m_count.created;
    }
    void __stdcall Release() override
    {
        ++m_count.released;
        m_engine->Release();
        delete this;
    }
    const SkinEntry* __stdcall GetSkinList(int reserved) override { return m_engine->GetSkinList(reserved); }
    void __stdcall SelectSkin(int index, int reserved) override { m_engine->SelectSkin(index, reserved); }
    void __stdcall CalcClientRect(const RECT* frame, RECT* client) override { m_engine->CalcClientRect(frame, client); }
    int __stdcall GetSkinCount() override { return m_engine->GetSkinCount(); }
    void __stdcall DrawFrame(HDC dc, const RECT* frame, const char* caption, int flags) override
    {
        m_engine->DrawFrame(dc, frame, caption, flags);
    }
    void __stdcall DrawLabel(HDC dc, const RECT* rect, const char* text, int flags) override
    {
        m_engine->DrawLabel(dc, rect, text, flags);
    }

private:
    ISkinManager* m_engine;
    SkinManagerCount& m_count;
};

}  // namespace

TEST_F(AuxPage, ListsTheEnginesSkinsRepaintsOnSelectionAndRestoresDefaults)
{
    std::vector<std::string> engineNames;
    ISkinManager* manager = g_captureEngine.CreateSkinManager();
    ASSERT_NE(nullptr, manager);
    for (const SkinEntry* skin = manager->GetSkinList(0); skin->name; ++skin)
        engineNames.push_back(skin->name);
    manager->Release();
    ASSERT_GE(engineNames.size(), 2u);

    g_settings.m_nSkin = 1;
    g_settings.m_nMagnification = 5;
    std::vector<std::string> listed;
    Picture first, second;
    int selectedAfterDefaults = -1;
    std::string magnificationAfterDefaults;
    RunOptions({[](HWND sheet) { ShowPage(sheet, kAuxPage); },
                [&](HWND sheet) {
                    HWND list = GetDlgItem(CurrentPage(sheet), IDC_SKIN_LIST);
                    for (int i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
                        char name[64] = {};
                        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(name));
                        listed.push_back(name);
                    }
                    EXPECT_EQ(1, SendMessageA(list, LB_GETCURSEL, 0, 0));
                    EXPECT_EQ("5", ItemText(sheet, IDC_MAGNIFICATION));
                    first = PreviewPixels(sheet);
                    SelectSkin(sheet, 0);
                    second = PreviewPixels(sheet);
                    SelectSkin(sheet, 1);
                    PressRestoreDefaults(sheet);
                    selectedAfterDefaults = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
                    magnificationAfterDefaults = ItemText(sheet, IDC_MAGNIFICATION);
                    PressCancel(sheet);
                }});
    EXPECT_EQ(engineNames, listed);
    ASSERT_GT(first.width, 2);
    EXPECT_NE(first.pixels, second.pixels) << "another skin repaints the preview";
    EXPECT_EQ(SystemColourPixel(COLOR_BTNFACE), first.At(1, 1)) << "the corner inside the outline is button face";
    EXPECT_EQ(0, selectedAfterDefaults);
    EXPECT_EQ("2", magnificationAfterDefaults);
}

TEST_F(AuxPage, MagnificationOutsideOneToThirtyTwoIsRefusedWithoutAMessage)
{
    std::vector<int> pages, focused;
    auto tryValue = [](const char* value) {
        return [value](HWND sheet) {
            SetItemText(sheet, IDC_MAGNIFICATION, value);
            PressOk(sheet);
        };
    };
    auto refused = [&](HWND sheet) {
        pages.push_back(CurrentPageIndex(sheet));
        focused.push_back(FocusedId(sheet));
    };
    RunOptions({[](HWND sheet) { ShowPage(sheet, kAuxPage); }, tryValue("0"), refused, tryValue("33"), refused,
                tryValue(""), refused, tryValue("32")});
    EXPECT_EQ(std::vector<int>(3, kAuxPage), pages);
    EXPECT_EQ(std::vector<int>(3, IDC_MAGNIFICATION), focused);
    EXPECT_TRUE(m_driver.Messages().empty());
    EXPECT_EQ(32, g_settings.m_nMagnification);
}

TEST_F(AuxPage, EachRunThatShowsThePageHasItsOwnSkinManagerReleasedWithTheSheet)
{
    SkinManagerCount count;
    auto counted = [&count]() -> ISkinManager* {
        ISkinManager* engine = g_captureEngine.CreateSkinManager();
        return engine ? new CCountedSkinManager(engine, count) : nullptr;
    };
    auto runSheet = [&](std::vector<COptionsSheetDriver::Step> steps) {
        COptionsSheet sheet(g_settings, counted);
        m_driver.Run([&] { sheet.Run(nullptr); }, std::move(steps));
        EXPECT_FALSE(m_driver.Hung());
    };

    runSheet({[](HWND sheet) { ShowPage(sheet, 1); }, PressCancel});
    EXPECT_EQ(0, count.created);

    for (int run = 1; run <= 2; ++run) {
        runSheet({[](HWND sheet) { ShowPage(sheet, kAuxPage); }, PressOk});
        EXPECT_EQ(run, count.created);
        EXPECT_EQ(run, count.released) << "released when the sheet object ends";
    }
}

TEST_F(AuxPage, ThePreviewHasAnOutlineOnEverySideAndTheWholeSampleInsideIt)
{
    Picture preview;
    RunOptions({[](HWND sheet) { ClickTab(sheet, kAuxPage); },
                [&](HWND sheet) {
                    preview = PreviewPixels(sheet);
                    PressCancel(sheet);
                }});
    ASSERT_GT(preview.width, 20);
    ASSERT_GT(preview.height, 20);
    const int right = preview.width - 1, bottom = preview.height - 1;
    int outlineGaps = 0;
    for (int x = 0; x <= right; ++x)
        for (int y : {0, bottom})
            outlineGaps += preview.At(x, y) != SystemColourPixel(COLOR_BTNSHADOW);
    for (int y = 0; y <= bottom; ++y)
        for (int x : {0, right})
            outlineGaps += preview.At(x, y) != SystemColourPixel(COLOR_BTNSHADOW);
    EXPECT_EQ(0, outlineGaps);

    // The box around everything the skin drew, inside the outline.
    RECT drawn = {right, bottom, 0, 0};
    for (int y = 1; y < bottom; ++y)
        for (int x = 1; x < right; ++x)
            if (preview.At(x, y) != SystemColourPixel(COLOR_BTNFACE)) {
                drawn.left = std::min<LONG>(drawn.left, x);
                drawn.top = std::min<LONG>(drawn.top, y);
                drawn.right = std::max<LONG>(drawn.right, x);
                drawn.bottom = std::max<LONG>(drawn.bottom, y);
            }
    EXPECT_GT(drawn.right - drawn.left, preview.width / 2) << "a sample frame was drawn";
    EXPECT_GT(drawn.left, 1);
    EXPECT_GT(drawn.top, 1);
    EXPECT_LT(drawn.right, right - 1) << "the sample frame is cut off at the right";
    EXPECT_LT(drawn.bottom, bottom - 1) << "the sample frame is cut off at the bottom";
}

TEST_F(AuxPage, WithoutAnEngineThePageSaysWhyAndOkStillClosesTheSheet)
{
    g_settings.m_nSkin = 3;
    std::string reason;
    bool listEnabled = true;
    m_driver.Run([] { g_settings.ShowOptions([]() -> ISkinManager* { return nullptr; }); },
                 {[](HWND sheet) { ClickTab(sheet, kAuxPage); },
                  [&](HWND sheet) {
                      reason = ItemText(sheet, IDC_SKIN_PREVIEW);
                      listEnabled = IsWindowEnabled(PageItem(sheet, IDC_SKIN_LIST));
                      TypeDigits(sheet, IDC_MAGNIFICATION, "7");
                      ClickWindow(GetDlgItem(sheet, IDOK));
                  }});
    EXPECT_FALSE(m_driver.Hung()) << "OK did not close the sheet";
    EXPECT_TRUE(m_driver.Finished());
    EXPECT_EQ(ToGbk("未加载图像捕捉模块 \"snapcore.dll\"，无法预览窗口皮肤。"), reason);
    EXPECT_FALSE(listEnabled);
    EXPECT_EQ(7, g_settings.m_nMagnification);
    EXPECT_EQ(3, g_settings.m_nSkin) << "the stored skin stays without a list to choose from";
    EXPECT_EQ(1, g_settings.m_bModified);
}
