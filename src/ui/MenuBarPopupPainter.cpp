#include "ui/MenuBarPopupPainter.h"

#include <algorithm>
#include <cstddef>

#include "ui/MenuAccessKey.h"
#include "util/SystemFonts.h"

namespace {
const int kImagePadding = 3;   // around the image, each side
const int kTextMargin = 4;     // between the image column and the label
const int kShortcutGap = 16;   // least space between label and shortcut
const int kVerticalPadding = 6;
const SIZE kDefaultImageSize = {16, 15};  // at 96 DPI

// PSDPxax: where the source is white the destination stays, where it is black the
// brush is painted.
const DWORD kPaintBrushThroughMask = 0x00B8074A;

bool IsDisabled(UINT state)
{
    return (state & (ODS_GRAYED | ODS_DISABLED)) != 0;
}

// The label before the tab and the shortcut after it.
void SplitText(const std::string& text, std::string& label, std::string& shortcut)
{
    const size_t tab = text.find('\t');
    label = text.substr(0, tab);
    shortcut = tab == std::string::npos ? std::string() : text.substr(tab + 1);
}

// The system's check mark or radio dot, in color, centred in box. The system draws
// these black on white; the mask made of it lets only the mark through.
void DrawMenuGlyph(HDC dc, const RECT& box, UINT glyph, COLORREF color)
{
    const int width = GetSystemMetrics(SM_CXMENUCHECK);
    const int height = GetSystemMetrics(SM_CYMENUCHECK);
    const CMemoryDC maskDC(dc);
    CBitmapOwner mask(CreateBitmap(width, height, 1, 1, nullptr));
    CBrushOwner brush(CreateSolidBrush(color));
    if (!maskDC || !mask || !brush)
        return;
    CSelectObject selectMask(maskDC, mask.get());
    RECT glyphRect = {0, 0, width, height};
    DrawFrameControl(maskDC, &glyphRect, DFC_MENU, glyph);

    CSelectObject selectBrush(dc, brush.get());
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    const int x = box.left + (box.right - box.left - width) / 2;
    const int y = box.top + (box.bottom - box.top - height) / 2;
    BitBlt(dc, x, y, width, height, maskDC, 0, 0, kPaintBrushThroughMask);
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
}
}

CMenuBarPopupPainter::CMenuBarPopupPainter()
{
    UpdateMetrics();
}

void CMenuBarPopupPainter::SetImages(HIMAGELIST normal, HIMAGELIST disabled, const UINT* commands, int count)
{
    m_hNormalImages = normal;
    m_hDisabledImages = disabled;
    m_imageCommands.assign(commands, commands + std::max(count, 0));
}

void CMenuBarPopupPainter::UpdateMetrics()
{
    NONCLIENTMETRICSW metrics = SystemFontMetrics();
    metrics.lfMenuFont.lfHeight = m_dpi.ScaleFromScreen(metrics.lfMenuFont.lfHeight);
    m_font.reset(CreateFontIndirectW(&metrics.lfMenuFont));
    metrics.lfMenuFont.lfWeight = FW_BOLD;
    m_boldFont.reset(CreateFontIndirectW(&metrics.lfMenuFont));

    BOOL flag = FALSE;
    m_bFlatMenus = SystemParametersInfoA(SPI_GETFLATMENU, 0, &flag, 0) && flag;
    flag = TRUE;
    m_bKeyboardCues = !SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &flag, 0) || flag;
}

void CMenuBarPopupPainter::PreparePopup(HMENU popup)
{
    const int count = GetMenuItemCount(popup);
    for (int position = 0; position < count; ++position) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID | MIIM_STRING;
        if (!GetMenuItemInfoA(popup, position, TRUE, &info))
            continue;
        if (info.fType & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW))
            continue;
        std::string text(info.cch + 1, '\0');
        info.dwTypeData = &text[0];
        info.cch = static_cast<UINT>(text.size());
        if (!GetMenuItemInfoA(popup, position, TRUE, &info))
            continue;
        text.resize(info.cch);

        auto item = std::make_unique<Item>(
            Item{popup, static_cast<UINT>(position), info.wID, info.fType, info.dwItemData, text});
        MENUITEMINFOA ownerDrawn{};
        ownerDrawn.cbSize = sizeof ownerDrawn;
        ownerDrawn.fMask = MIIM_FTYPE | MIIM_DATA;
        ownerDrawn.fType = info.fType | MFT_OWNERDRAW;
        ownerDrawn.dwItemData = reinterpret_cast<ULONG_PTR>(item.get());
        if (SetMenuItemInfoA(popup, position, TRUE, &ownerDrawn))
            m_items.push_back(std::move(item));
    }
}

void CMenuBarPopupPainter::RestorePopup(HMENU popup)
{
    const int count = IsMenu(popup) ? GetMenuItemCount(popup) : 0;
    for (int position = 0; position < count; ++position) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_DATA;
        if (!GetMenuItemInfoA(popup, position, TRUE, &info) || !(info.fType & MFT_OWNERDRAW))
            continue;
        const Item* item = FindItem(info.dwItemData);
        if (!item || item->hMenu != popup)
            continue;
        MENUITEMINFOA original{};
        original.cbSize = sizeof original;
        original.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STRING;
        original.fType = item->nType;
        original.dwItemData = item->nData;
        std::string text = item->strText;
        original.dwTypeData = &text[0];
        SetMenuItemInfoA(popup, position, TRUE, &original);
    }
    m_items.erase(std::remove_if(m_items.begin(), m_items.end(),
                                 [popup](const std::unique_ptr<Item>& item) { return item->hMenu == popup; }),
                  m_items.end());
}

void CMenuBarPopupPainter::RestoreAll()
{
    while (!m_items.empty())
        RestorePopup(m_items.front()->hMenu);
}

bool CMenuBarPopupPainter::MeasureItem(MEASUREITEMSTRUCT& measure) const
{
    const Item* item = measure.CtlType == ODT_MENU ? FindItem(measure.itemData) : nullptr;
    if (!item)
        return false;
    std::string label, shortcut;
    SplitText(item->strText, label, shortcut);

    CScreenDC dc;
    CSelectObject selectFont(dc, IsDefaultItem(*item) ? m_boldFont.get() : m_font.get());
    RECT labelRect = {};
    DrawTextA(dc, label.c_str(), -1, &labelRect, DT_SINGLELINE | DT_CALCRECT);
    SIZE shortcutSize = {};
    if (!shortcut.empty())
        GetTextExtentPoint32A(dc, shortcut.c_str(), static_cast<int>(shortcut.size()), &shortcutSize);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);

    measure.itemWidth = ImageColumnWidth() + m_dpi.Scale(kTextMargin) + labelRect.right +
                        (shortcut.empty() ? 0 : m_dpi.Scale(kShortcutGap) + shortcutSize.cx) + RightMargin();
    measure.itemHeight = std::max<int>(metrics.tmHeight, ImageSize().cy) + m_dpi.Scale(kVerticalPadding);
    return true;
}

bool CMenuBarPopupPainter::DrawItem(const DRAWITEMSTRUCT& draw) const
{
    const Item* item = draw.CtlType == ODT_MENU ? FindItem(draw.itemData) : nullptr;
    if (!item)
        return false;
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    const bool disabled = IsDisabled(draw.itemState);

    if (selected && m_bFlatMenus) {
        FillRect(draw.hDC, &draw.rcItem, GetSysColorBrush(COLOR_MENUHILIGHT));
        FrameRect(draw.hDC, &draw.rcItem, GetSysColorBrush(COLOR_HIGHLIGHT));
    } else {
        FillRect(draw.hDC, &draw.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    }
    const COLORREF textColor = GetSysColor(disabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    DrawImageColumn(draw.hDC, draw.rcItem, *item, draw.itemState, textColor);

    RECT textArea = draw.rcItem;
    textArea.left += ImageColumnWidth() + m_dpi.Scale(kTextMargin);
    textArea.right -= RightMargin();
    const int oldMode = SetBkMode(draw.hDC, TRANSPARENT);
    if (disabled && !selected && !m_bFlatMenus) {
        // The classic engraved look of a disabled item.
        RECT highlight = textArea;
        OffsetRect(&highlight, 1, 1);
        DrawLabel(draw.hDC, highlight, *item, draw.itemState, GetSysColor(COLOR_3DHILIGHT));
    }
    DrawLabel(draw.hDC, textArea, *item, draw.itemState, textColor);
    SetBkMode(draw.hDC, oldMode);
    return true;
}

int CMenuBarPopupPainter::FindAccessKey(HMENU popup, UINT key) const
{
    const int count = GetMenuItemCount(popup);
    for (int position = 0; position < count; ++position) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STATE;
        if (!GetMenuItemInfoA(popup, position, TRUE, &info) || (info.fState & MFS_DISABLED))
            continue;
        const Item* item = (info.fType & MFT_OWNERDRAW) ? FindItem(info.dwItemData) : nullptr;
        char text[256] = "";
        if (!item)
            GetMenuStringA(popup, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
        if (MenuAccessKeyMatches(item ? item->strText.c_str() : text, key))
            return position;
    }
    return -1;
}

const CMenuBarPopupPainter::Item* CMenuBarPopupPainter::FindItem(ULONG_PTR data) const
{
    for (const auto& item : m_items) {
        if (reinterpret_cast<ULONG_PTR>(item.get()) == data)
            return item.get();
    }
    return nullptr;
}

bool CMenuBarPopupPainter::IsDefaultItem(const Item& item) const
{
    return GetMenuDefaultItem(item.hMenu, TRUE, GMDI_USEDISABLED) == item.nPosition;
}

int CMenuBarPopupPainter::ImageIndex(UINT command) const
{
    const auto found = std::find(m_imageCommands.begin(), m_imageCommands.end(), command);
    return found == m_imageCommands.end() ? -1 : static_cast<int>(found - m_imageCommands.begin());
}

SIZE CMenuBarPopupPainter::ImageSize() const
{
    int width = 0, height = 0;
    if (m_hNormalImages && ImageList_GetIconSize(m_hNormalImages, &width, &height))
        return SIZE{width, height};
    return SIZE{m_dpi.PictureLength(kDefaultImageSize.cx), m_dpi.PictureLength(kDefaultImageSize.cy)};
}

int CMenuBarPopupPainter::ImageColumnWidth() const
{
    return std::max<int>(ImageSize().cx, m_dpi.ScaleFromScreen(GetSystemMetrics(SM_CXMENUCHECK))) +
           2 * m_dpi.Scale(kImagePadding);
}

int CMenuBarPopupPainter::RightMargin() const
{
    // Room for the arrow the system draws beside an item that opens a submenu.
    return m_dpi.ScaleFromScreen(GetSystemMetrics(SM_CXMENUCHECK));
}

void CMenuBarPopupPainter::DrawImageColumn(HDC dc, const RECT& itemRect, const Item& item, UINT state,
                                           COLORREF glyphColor) const
{
    RECT column = itemRect;
    column.right = column.left + ImageColumnWidth();
    const bool checked = (state & ODS_CHECKED) != 0;
    int image = ImageIndex(item.nCommand);
    HIMAGELIST images = IsDisabled(state) ? m_hDisabledImages : m_hNormalImages;
    SIZE size = ImageSize();
    if (image < 0 && m_pImageSource && m_pImageSource->GetMenuImage(item.nCommand, images, image)) {
        int width = 0, height = 0;
        if (ImageList_GetIconSize(images, &width, &height))
            size = SIZE{width, height};
    }
    if (image < 0 || !images) {
        if (checked)
            DrawMenuGlyph(dc, column, (item.nType & MFT_RADIOCHECK) ? DFCS_MENUBULLET : DFCS_MENUCHECK, glyphColor);
        return;
    }
    const int x = column.left + (column.right - column.left - size.cx) / 2;
    const int y = column.top + (column.bottom - column.top - size.cy) / 2;
    if (checked) {
        // A checked item with an image shows the image pushed in.
        const int ring = m_dpi.Scale(2);
        RECT frame = {x - ring, y - ring, x + size.cx + ring, y + size.cy + ring};
        if (!(state & ODS_SELECTED))
            FillRect(dc, &frame, GetSysColorBrush(COLOR_3DLIGHT));
        DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
    }
    ImageList_Draw(images, image, dc, x, y, ILD_TRANSPARENT);
}

void CMenuBarPopupPainter::DrawLabel(HDC dc, RECT area, const Item& item, UINT state, COLORREF color) const
{
    std::string label, shortcut;
    SplitText(item.strText, label, shortcut);
    CSelectObject selectFont(dc, IsDefaultItem(item) ? m_boldFont.get() : m_font.get());
    SetTextColor(dc, color);
    const bool hideAccessKeys = !m_bShowAccessKeys && (!m_bKeyboardCues || (state & ODS_NOACCEL));
    DrawTextA(dc, label.c_str(), -1, &area,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | (hideAccessKeys ? DT_HIDEPREFIX : 0));
    if (!shortcut.empty())
        DrawTextA(dc, shortcut.c_str(), -1, &area, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
}
