#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "gui/MenuBarTestHost.h"
#include "res/resource.h"
#include "ui/MenuBarPopupPainter.h"

namespace {
// 32-bit pixels of a rectangle of a device context.
class CPixels {
public:
    CPixels(HDC source, const RECT& rect) : m_width(rect.right - rect.left), m_height(rect.bottom - rect.top)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = m_width;
        info.bmiHeader.biHeight = -m_height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HDC memory = CreateCompatibleDC(source);
        HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, m_width, m_height, source, rect.left, rect.top, SRCCOPY);
        GdiFlush();
        const auto* pixels = static_cast<const DWORD*>(bits);
        m_pixels.assign(pixels, pixels + m_width * m_height);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
    }
    DWORD At(int x, int y) const { return m_pixels[y * m_width + x] & 0xFFFFFF; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    bool Contains(const CPixels& block) const
    {
        for (int top = 0; top + block.Height() <= m_height; ++top)
            for (int left = 0; left + block.Width() <= m_width; ++left)
                if (Matches(block, left, top))
                    return true;
        return false;
    }

private:
    bool Matches(const CPixels& block, int left, int top) const
    {
        for (int y = 0; y < block.Height(); ++y)
            for (int x = 0; x < block.Width(); ++x)
                if (At(left + x, top + y) != block.At(x, y))
                    return false;
        return true;
    }

    int m_width, m_height;
    std::vector<DWORD> m_pixels;
};

// An image of a list as a menu shows it: over the menu colour.
CPixels ImageOnMenu(HIMAGELIST images, int index)
{
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 15);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT rect = {0, 0, 16, 15};
    FillRect(memory, &rect, GetSysColorBrush(COLOR_MENU));
    ImageList_Draw(images, index, memory, 0, 0, ILD_TRANSPARENT);
    CPixels pixels(memory, rect);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// Opens the bar's first popup with a click and captures its first item as drawn.
CPixels CaptureFirstItemOfFilePopup(CMenuBarTestHost& host)
{
    HWND bar = host.Bar();
    HMENU popup = GetSubMenu(host.Bar().GetMenu(), 0);
    RECT button;
    SendMessageA(bar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&button));
    std::vector<CPixels> captured;
    CTimedSteps steps({
        {[] { return FindPopupMenuWindow() != nullptr; }, nullptr},  // one more tick: painted
        {nullptr, [&] {
             HWND window = FindPopupMenuWindow();
             RECT item;
             GetMenuItemRect(window, popup, 0, &item);
             MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&item), 2);
             HDC dc = GetDC(window);
             captured.emplace_back(dc, item);
             ReleaseDC(window, dc);
             PostMenuKey(VK_ESCAPE);
         }},
    });
    const LPARAM at = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(bar, WM_LBUTTONUP, 0, at);
    EXPECT_TRUE(steps.Finished());
    SendMessageA(bar, WM_KEYDOWN, VK_ESCAPE, 0);
    return captured.empty() ? CPixels(nullptr, RECT{}) : captured.front();
}

class MenuBarPopupPainterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RECT rect;
        GetWindowRect(host, &rect);
        SetCursorPos(rect.right - 20, rect.bottom - 20);  // off the popup
        host.Bar().SetImages(images.m_hNormal, images.m_hDisabled, CToolbarImages::kCommands, 13);
    }
    CToolbarImages images;
    CMenuBarTestHost host;
};

// Draws one prepared item of popup as the menu would ask for it.
CPixels DrawItem(CMenuBarPopupPainter& painter, HMENU popup, int position, UINT state, SIZE* measured = nullptr)
{
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA | MIIM_ID;
    GetMenuItemInfoA(popup, position, TRUE, &info);
    MEASUREITEMSTRUCT measure{ODT_MENU, 0, info.wID, 0, 0, info.dwItemData};
    EXPECT_TRUE(painter.MeasureItem(measure));
    if (measured)
        *measured = SIZE{static_cast<LONG>(measure.itemWidth), static_cast<LONG>(measure.itemHeight)};

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, static_cast<int>(measure.itemWidth), static_cast<int>(measure.itemHeight));
    HGDIOBJ old = SelectObject(memory, bitmap);
    const RECT rect = {0, 0, static_cast<LONG>(measure.itemWidth), static_cast<LONG>(measure.itemHeight)};
    DRAWITEMSTRUCT draw{ODT_MENU, 0, info.wID, ODA_DRAWENTIRE, state, reinterpret_cast<HWND>(popup), memory, rect,
                        info.dwItemData};
    EXPECT_TRUE(painter.DrawItem(draw));
    CPixels pixels(memory, rect);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

bool HasColour(const CPixels& pixels, const RECT& area, COLORREF colour)
{
    const DWORD wanted = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (pixels.At(x, y) == wanted)
                return true;
    return false;
}
}

TEST_F(MenuBarPopupPainterTest, ItemsShowTheNormalOrDisabledImageOfTheirCommand)
{
    const CPixels normal = ImageOnMenu(images.m_hNormal, 0);
    const CPixels disabled = ImageOnMenu(images.m_hDisabled, 0);

    const CPixels enabledItem = CaptureFirstItemOfFilePopup(host);
    EXPECT_TRUE(enabledItem.Contains(normal));
    EXPECT_FALSE(enabledItem.Contains(disabled));

    // The target disables the item when the popup opens, before it is drawn.
    host.m_onInitMenuPopup = [](HMENU popup) { EnableMenuItem(popup, ID_FILE_OPEN, MF_BYCOMMAND | MF_GRAYED); };
    const CPixels disabledItem = CaptureFirstItemOfFilePopup(host);
    EXPECT_TRUE(disabledItem.Contains(disabled));
    EXPECT_FALSE(disabledItem.Contains(normal));
}

TEST(MenuBarPopupPainter, DrawsCheckAndRadioMarksForItemsWithoutImages)
{
    HMENU document = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_IMAGETYPE));
    HMENU zoom = GetSubMenu(GetSubMenu(document, 2), 2);
    CheckMenuRadioItem(zoom, 0, 12, 4, MF_BYPOSITION);
    CMenuBarPopupPainter painter;
    painter.PreparePopup(zoom);

    const COLORREF text = GetSysColor(COLOR_MENUTEXT);
    const CPixels plain = DrawItem(painter, zoom, 3, 0);
    const CPixels marked = DrawItem(painter, zoom, 4, ODS_CHECKED);
    const RECT markColumn = {0, 0, 22, plain.Height()};  // left of the text
    EXPECT_FALSE(HasColour(plain, markColumn, text));
    EXPECT_TRUE(HasColour(marked, markColumn, text));

    // Selected items use the highlight colours.
    const CPixels selected = DrawItem(painter, zoom, 3, ODS_SELECTED);
    const RECT whole = {0, 0, selected.Width(), selected.Height()};
    EXPECT_TRUE(HasColour(selected, whole, GetSysColor(COLOR_HIGHLIGHTTEXT)));
    EXPECT_NE(selected.At(0, 0), plain.At(0, 0)) << "highlight background";

    painter.RestorePopup(zoom);
    char text100[16] = "";
    GetMenuStringA(zoom, 4, text100, sizeof text100, MF_BYPOSITION);
    EXPECT_STREQ(text100, "100%");
    EXPECT_EQ(GetMenuState(zoom, 4, MF_BYPOSITION) & (MF_OWNERDRAW | MFT_RADIOCHECK | MF_CHECKED),
              static_cast<UINT>(MFT_RADIOCHECK | MF_CHECKED));
    DestroyMenu(document);
}

TEST(MenuBarPopupPainter, ShortcutsWidenItemsAndAccessKeysFindThem)
{
    HMENU document = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_IMAGETYPE));
    HMENU file = GetSubMenu(document, 0);
    CMenuBarPopupPainter painter;
    painter.PreparePopup(file);
    SIZE withShortcut{}, withoutShortcut{};
    DrawItem(painter, file, 2, 0, &withShortcut);     // 保存(&S)\tCtrl+S
    DrawItem(painter, file, 3, 0, &withoutShortcut);  // 另存为(&A)...
    EXPECT_GT(withShortcut.cx, withoutShortcut.cx);
    EXPECT_EQ(withShortcut.cy, withoutShortcut.cy);

    EXPECT_EQ(painter.FindAccessKey(file, 'a'), 3);
    EXPECT_EQ(painter.FindAccessKey(file, 'X'), 7);
    EXPECT_EQ(painter.FindAccessKey(file, 'z'), -1);
    EnableMenuItem(file, 3, MF_BYPOSITION | MF_GRAYED);
    EXPECT_EQ(painter.FindAccessKey(file, 'a'), -1) << "disabled items are skipped";
    painter.RestoreAll();
    DestroyMenu(document);
}
