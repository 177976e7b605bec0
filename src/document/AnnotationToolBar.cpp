#include "document/AnnotationToolBar.h"

#include "annotate/DefaultFontFace.h"

#include <commdlg.h>

#include <cmath>
#include <cwchar>

#include "annotate/AnnotationTools.h"
#include "document/ToolBarTips.h"
#include "res/resource.h"
#include "scoped/ScopedHandles.h"
#include "util/FastString.h"

namespace {
// The pictures of the annotation strip, in file order.
constexpr int kFirstFillPicture = kAnnotationToolCount;  // 无填充, 填充颜色, 半透明填充
constexpr int kFontPicture = kFirstFillPicture + 3;
constexpr int kMosaicPicture = kFontPicture + 1;
constexpr int kStripPictures = kMosaicPicture + 1;

constexpr int kMosaicBlocks[] = {4, 8, 12, 16, 24, 32};
static_assert(sizeof kMosaicBlocks / sizeof kMosaicBlocks[0] == ID_ANNOTATE_MOSAIC_LAST - ID_ANNOTATE_MOSAIC_FIRST + 1,
              "one mosaic command for each block size");
static_assert(ID_TOOL_CROP - ID_TOOL_HAND + 1 == kAnnotationToolCount, "one command for each tool");
static_assert(CAnnotationToolBar::kButtonCount == kAnnotationToolCount + 9, "the tools, then 5 buttons and 4 gaps");

constexpr int kMaxWidth = 20;
constexpr int kWidthListWidth = 48;

TBBUTTON Button(int picture, UINT command, BYTE style)
{
    TBBUTTON button{};
    button.iBitmap = picture;
    button.idCommand = static_cast<int>(command);
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = style;
    button.iString = -1;
    return button;
}

// A separator of the given width; with a command it holds a control in its place.
TBBUTTON Gap(int width, UINT command = 0)
{
    TBBUTTON gap = Button(width, command, BTNS_SEP);
    gap.fsState = 0;
    return gap;
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour)
{
    SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

// The swatch's rings are a pixel wide in the 16-pixel pictures, and grow with them.
int SwatchRing(SIZE size)
{
    return size.cx / CToolBarImages::kImageWidth;
}

// A toolbar-sized picture of a colour: a box with a dark edge, inside a ring of the
// colour around.
CBitmapOwner MakeSwatch(COLORREF colour, COLORREF around, SIZE size)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    CBitmapOwner swatch(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const CMemoryDC dc(nullptr);
    const CSelectObject select(dc, swatch.get());
    if (!select.Succeeded())
        return CBitmapOwner();
    const int ring = SwatchRing(size);
    RECT rect{0, 0, size.cx, size.cy};
    FillSolid(dc, rect, around);
    InflateRect(&rect, -ring, -ring);
    FillSolid(dc, rect, RGB(64, 64, 64));
    InflateRect(&rect, -ring, -ring);
    FillSolid(dc, rect, colour);
    return swatch;
}

// The swatch's mask for an image list: its outer ring is transparent (white).
CBitmapOwner MakeSwatchMask(SIZE size)
{
    CBitmapOwner mask(CreateBitmap(size.cx, size.cy, 1, 1, nullptr));
    const CMemoryDC dc(nullptr);
    const CSelectObject select(dc, mask.get());
    if (!select.Succeeded())
        return CBitmapOwner();
    RECT rect{0, 0, size.cx, size.cy};
    FillSolid(dc, rect, RGB(255, 255, 255));
    InflateRect(&rect, -SwatchRing(size), -SwatchRing(size));
    FillSolid(dc, rect, RGB(0, 0, 0));
    return mask;
}

// A menu item named by the label of its command's string, with a picture if given.
void AppendCommand(HMENU menu, UINT command, HBITMAP picture = nullptr)
{
    char label[64];
    LoadCommandLabel(command, label, sizeof label);
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_STRING | (picture ? MIIM_BITMAP : 0);
    item.wID = command;
    item.dwTypeData = label;
    item.hbmpItem = picture;
    InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &item);
}

}

HWND CAnnotationToolBar::Create(HWND owner)
{
    m_hOwner = owner;
    Vorn::CFastString<64> title;
    title.LoadString(IDS_ANNOTATION_TOOLBAR);
    m_hWnd = CreateWindowExA(0, TOOLBARCLASSNAMEA, title.GetString(),
                             WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | CCS_NODIVIDER | CCS_NORESIZE |
                                 CCS_NOPARENTALIGN | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT,
                             0, 0, 0, 0, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!m_hWnd)
        return nullptr;

    // The swatch is the picture after the strip's; the lists are made with the DPI.
    int count = 0;
    for (int tool = 0; tool < kAnnotationToolCount; ++tool)
        m_buttons[count++] = Button(tool, ID_TOOL_HAND + tool, BTNS_CHECKGROUP);
    m_buttons[count++] = Gap(8);
    m_buttons[count++] = Button(kStripPictures, ID_ANNOTATE_COLOUR, BTNS_WHOLEDROPDOWN);
    m_buttons[count++] = Gap(4);
    m_buttons[count++] = Gap(kWidthListWidth, ID_ANNOTATE_WIDTH);
    m_buttons[count++] = Gap(8);
    m_buttons[count++] = Button(kFirstFillPicture, ID_ANNOTATE_FILL, BTNS_WHOLEDROPDOWN);
    m_buttons[count++] = Button(kFontPicture, ID_ANNOTATE_FONT, BTNS_BUTTON);
    m_buttons[count++] = Gap(8);
    m_buttons[count++] = Button(kMosaicPicture, ID_ANNOTATE_MOSAIC, BTNS_WHOLEDROPDOWN);

    SendMessageA(m_hWnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(m_hWnd, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    SendMessageA(m_hWnd, TB_ADDBUTTONSA, kButtonCount, reinterpret_cast<LPARAM>(m_buttons));
    CreateWidthList();
    m_tipFont.Follow(reinterpret_cast<HWND>(SendMessageA(m_hWnd, TB_GETTOOLTIPS, 0, 0)));
    ChangeDpi(CDpiScale::OfWindow(owner));
    Update();
    return m_hWnd;
}

void CAnnotationToolBar::ChangeDpi(const CDpiScale& dpi)
{
    if (!m_hWnd)
        return;  // made later, at the DPI of its time
    m_images.Load(CToolBarImages::kAnnotationStrips, kStripPictures, dpi);
    const SIZE size = m_images.ImageSize();
    m_nSwatchImage = -1;
    m_shownColour = CLR_INVALID;
    if (m_images.Normal() && m_images.Disabled()) {
        const CBitmapOwner grey = MakeSwatch(RGB(192, 192, 192), RGB(0, 0, 0), size);
        const CBitmapOwner mask = MakeSwatchMask(size);
        m_nSwatchImage = ImageList_Add(m_images.Normal(), grey.get(), mask.get());
        ImageList_Add(m_images.Disabled(), grey.get(), mask.get());
    }
    ShowToolBarPictures(m_hWnd, m_images, m_buttons, kButtonCount, dpi);
    SendMessageA(m_hWnd, TB_CHANGEBITMAP, ID_ANNOTATE_COLOUR,
                 MAKELPARAM(m_nSwatchImage >= 0 ? m_nSwatchImage : I_IMAGENONE, 0));
    m_widthListFont.SetDpi(dpi);
    m_tipFont.SetDpi(dpi);
    PlaceWidthList();
    ShowColour();
}

// A list of the widths 1 to 20 in the place kept for it, with a tooltip of its own:
// the bar's tooltips only know its buttons.
void CAnnotationToolBar::CreateWidthList()
{
    m_hWidthList = CreateWindowExA(0, WC_COMBOBOXA, nullptr,
                                   WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, 0, 0,
                                   kWidthListWidth, 300, m_hWnd,
                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ID_ANNOTATE_WIDTH)),
                                   GetModuleHandleA(nullptr), nullptr);
    if (!m_hWidthList)
        return;
    for (int width = 1; width <= kMaxWidth; ++width) {
        char text[8];
        wsprintfA(text, "%d", width);
        SendMessageA(m_hWidthList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }

    char label[64];
    LoadCommandLabel(ID_ANNOTATE_WIDTH, label, sizeof label);
    TOOLINFOA tip{};
    tip.cbSize = sizeof tip;
    tip.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tip.hwnd = m_hWnd;
    tip.uId = reinterpret_cast<UINT_PTR>(m_hWidthList);
    tip.lpszText = label;
    HWND tips = reinterpret_cast<HWND>(SendMessageA(m_hWnd, TB_GETTOOLTIPS, 0, 0));
    SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tip));
}

// The list in its font, over the place kept for it and centred on the row of buttons.
void CAnnotationToolBar::PlaceWidthList()
{
    if (!m_hWidthList)
        return;
    SendMessageA(m_hWidthList, WM_SETFONT, reinterpret_cast<WPARAM>(m_widthListFont.Handle()), 0);
    RECT place{};
    SendMessageA(m_hWnd, TB_GETRECT, ID_ANNOTATE_WIDTH, reinterpret_cast<LPARAM>(&place));
    RECT list{};
    GetWindowRect(m_hWidthList, &list);
    const int height = list.bottom - list.top;
    SetWindowPos(m_hWidthList, nullptr, place.left, place.top + (place.bottom - place.top - height) / 2,
                 place.right - place.left, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CAnnotationToolBar::Update()
{
    if (!m_hWnd)
        return;
    const int tool = static_cast<int>(m_tools.Tool());
    for (int i = 0; i < kAnnotationToolCount; ++i)
        SendMessageA(m_hWnd, TB_CHECKBUTTON, ID_TOOL_HAND + i, MAKELPARAM(i == tool, 0));
    ShowColour();
    const AnnotationStyle& style = m_tools.Style();
    SendMessageA(m_hWidthList, CB_SETCURSEL, static_cast<WPARAM>(std::lround(style.width) - 1), 0);
    SendMessageA(m_hWnd, TB_CHANGEBITMAP, ID_ANNOTATE_FILL,
                 MAKELPARAM(kFirstFillPicture + static_cast<int>(style.fill), 0));
}

// The colour button's picture is redrawn in the image list, which the bar does not
// watch, so the button is repainted by hand.
void CAnnotationToolBar::ShowColour()
{
    const COLORREF colour = m_tools.Colour();
    if (m_nSwatchImage < 0 || colour == m_shownColour)
        return;
    const SIZE size = m_images.ImageSize();
    const CBitmapOwner swatch = MakeSwatch(colour, RGB(0, 0, 0), size);
    const CBitmapOwner mask = MakeSwatchMask(size);
    if (!ImageList_Replace(m_images.Normal(), m_nSwatchImage, swatch.get(), mask.get()))
        return;
    m_shownColour = colour;
    RECT button{};
    if (SendMessageA(m_hWnd, TB_GETRECT, ID_ANNOTATE_COLOUR, reinterpret_cast<LPARAM>(&button)))
        InvalidateRect(m_hWnd, &button, TRUE);
}

bool CAnnotationToolBar::GetMenuImage(UINT command, HIMAGELIST& images, int& index) const
{
    if (command < ID_TOOL_HAND || command > ID_TOOL_CROP || !m_images.Normal())
        return false;
    images = m_images.Normal();
    index = static_cast<int>(command - ID_TOOL_HAND);  // the strip starts with the tools, in order
    return true;
}

bool CAnnotationToolBar::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    if (id == ID_ANNOTATE_WIDTH) {
        if (!m_hWidthList || reinterpret_cast<HWND>(lParam) != m_hWidthList)
            return false;
        if (HIWORD(wParam) == CBN_SELCHANGE) {
            const LRESULT index = SendMessageA(m_hWidthList, CB_GETCURSEL, 0, 0);
            if (index >= 0)
                m_tools.SetWidth(static_cast<float>(index + 1));
        } else if (HIWORD(wParam) == CBN_CLOSEUP) {
            // Back to the image, where the keys choose the tools.
            SetFocus(m_hOwner);
        }
        return true;
    }
    if (id >= ID_ANNOTATE_COLOUR_FIRST && id <= ID_ANNOTATE_COLOUR_LAST) {
        m_tools.SetColour(g_annotationPresetColours[id - ID_ANNOTATE_COLOUR_FIRST]);
        return true;
    }
    if (id >= ID_ANNOTATE_MOSAIC_FIRST && id <= ID_ANNOTATE_MOSAIC_LAST) {
        m_tools.SetMosaicBlock(kMosaicBlocks[id - ID_ANNOTATE_MOSAIC_FIRST]);
        return true;
    }
    switch (id) {
    case ID_ANNOTATE_MORE_COLOURS:
        ChooseMoreColours();
        return true;
    case ID_ANNOTATE_FILL_NONE:
    case ID_ANNOTATE_FILL_SOLID:
    case ID_ANNOTATE_FILL_HALF:
        m_tools.SetFill(static_cast<AnnotationFill>(id - ID_ANNOTATE_FILL_NONE));
        return true;
    case ID_ANNOTATE_FONT:
        ChooseTextFont();
        return true;
    }
    return false;
}

bool CAnnotationToolBar::OnDropDown(const NMTOOLBARA& notify)
{
    if (!m_hWnd || notify.hdr.hwndFrom != m_hWnd)
        return false;
    switch (notify.iItem) {
    case ID_ANNOTATE_COLOUR:
        DropDownColours();
        break;
    case ID_ANNOTATE_FILL:
        DropDownFills();
        break;
    case ID_ANNOTATE_MOSAIC:
        DropDownMosaicBlocks();
        break;
    }
    return true;
}

// The menu below the button, its left edge at the button's; the chosen item is carried
// out at once.
void CAnnotationToolBar::TrackMenuBelow(HMENU menu, UINT button)
{
    TPMPARAMS params{sizeof params, {}};
    SendMessageA(m_hWnd, TB_GETRECT, button, reinterpret_cast<LPARAM>(&params.rcExclude));
    MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&params.rcExclude), 2);
    QuietToolTips(m_hWnd, true);
    const UINT command = static_cast<UINT>(
        TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_LEFTBUTTON | TPM_RETURNCMD,
                         params.rcExclude.left, params.rcExclude.bottom, m_hOwner, &params));
    QuietToolTips(m_hWnd, false);
    if (command)
        OnCommand(MAKEWPARAM(command, 0), 0);
}

void CAnnotationToolBar::DropDownColours()
{
    // The pictures outlive the menu that shows them.
    CBitmapOwner swatches[ID_ANNOTATE_COLOUR_LAST - ID_ANNOTATE_COLOUR_FIRST + 1];
    const CMenuOwner menu(CreatePopupMenu());
    if (!menu)
        return;
    const COLORREF current = m_tools.Colour();
    UINT currentItem = 0;
    for (UINT i = 0; i < sizeof swatches / sizeof swatches[0]; ++i) {
        swatches[i] = MakeSwatch(g_annotationPresetColours[i], GetSysColor(COLOR_MENU), m_images.ImageSize());
        AppendCommand(menu.get(), ID_ANNOTATE_COLOUR_FIRST + i, swatches[i].get());
        if (g_annotationPresetColours[i] == current)
            currentItem = ID_ANNOTATE_COLOUR_FIRST + i;
    }
    if (currentItem)
        CheckMenuRadioItem(menu.get(), ID_ANNOTATE_COLOUR_FIRST, ID_ANNOTATE_COLOUR_LAST, currentItem, MF_BYCOMMAND);
    AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendCommand(menu.get(), ID_ANNOTATE_MORE_COLOURS);
    TrackMenuBelow(menu.get(), ID_ANNOTATE_COLOUR);
}

void CAnnotationToolBar::DropDownFills()
{
    const CMenuOwner menu(CreatePopupMenu());
    if (!menu)
        return;
    for (UINT id = ID_ANNOTATE_FILL_NONE; id <= ID_ANNOTATE_FILL_HALF; ++id)
        AppendCommand(menu.get(), id);
    CheckMenuRadioItem(menu.get(), ID_ANNOTATE_FILL_NONE, ID_ANNOTATE_FILL_HALF,
                       ID_ANNOTATE_FILL_NONE + static_cast<UINT>(m_tools.Style().fill), MF_BYCOMMAND);
    TrackMenuBelow(menu.get(), ID_ANNOTATE_FILL);
}

void CAnnotationToolBar::DropDownMosaicBlocks()
{
    const CMenuOwner menu(CreatePopupMenu());
    if (!menu)
        return;
    UINT currentItem = 0;
    for (UINT id = ID_ANNOTATE_MOSAIC_FIRST; id <= ID_ANNOTATE_MOSAIC_LAST; ++id) {
        AppendCommand(menu.get(), id);
        if (kMosaicBlocks[id - ID_ANNOTATE_MOSAIC_FIRST] == m_tools.Style().mosaicBlock)
            currentItem = id;
    }
    if (currentItem)
        CheckMenuRadioItem(menu.get(), ID_ANNOTATE_MOSAIC_FIRST, ID_ANNOTATE_MOSAIC_LAST, currentItem, MF_BYCOMMAND);
    TrackMenuBelow(menu.get(), ID_ANNOTATE_MOSAIC);
}

void CAnnotationToolBar::ChooseMoreColours()
{
    CHOOSECOLORA choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = m_hOwner;
    choose.rgbResult = m_tools.Colour();
    choose.lpCustColors = m_customColours;
    choose.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
    if (ChooseColorA(&choose))
        m_tools.SetColour(choose.rgbResult);
}

// The dialog shows sizes in points of the screen; the text is measured in image pixels,
// the font's character height.
void CAnnotationToolBar::ChooseTextFont()
{
    const AnnotationStyle& style = m_tools.Style();
    const std::wstring face = style.fontFace.empty() ? DefaultFontFace() : style.fontFace;
    LOGFONTW font{};
    font.lfHeight = -static_cast<LONG>(std::lround(style.fontSize));
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    CHOOSEFONTW choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = m_hOwner;
    choose.lpLogFont = &font;
    choose.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    if (!ChooseFontW(&choose))
        return;
    // The system's face, taken as offered, stays the system's: it follows the system.
    const std::wstring chosen = font.lfFaceName;
    const bool systemFace = style.fontFace.empty() && chosen == face;
    m_tools.SetFont(systemFace ? std::wstring() : chosen, static_cast<float>(std::labs(font.lfHeight)));
}
