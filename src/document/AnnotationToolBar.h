#pragma once
#include <windows.h>
#include <commctrl.h>

#include "document/ToolBarImages.h"
#include "ui/DpiScale.h"
#include "ui/GuiFont.h"
#include "ui/MenuImageSource.h"

class CAnnotationTools;

// The annotation toolbar, 标注工具栏: the drawing tools as one check group, then the look
// of the next mark: the colour (its button shows it, its menu offers the presets and
// 更多颜色…), the line width list, the fill, the font and the mosaic block. Every choice
// goes to the shared tools; Update shows what they hold, whoever changed them.
class CAnnotationToolBar : public IMenuImageSource {
public:
    explicit CAnnotationToolBar(CAnnotationTools& tools) : m_tools(tools) {}
    CAnnotationToolBar(const CAnnotationToolBar&) = delete;
    CAnnotationToolBar& operator=(const CAnnotationToolBar&) = delete;

    // Makes the bar with owner as the window its commands and notifications go to and
    // its menus and dialogs belong to (the frame; the bar lives in the frame's rebar).
    HWND Create(HWND owner);
    HWND Handle() const { return m_hWnd; }
    HWND WidthList() const { return m_hWidthList; }

    // The pictures, gaps, tooltips and the width list for the DPI of the frame, at creation and
    // when the frame moves to a monitor of another DPI.
    void ChangeDpi(const CDpiScale& dpi);

    // Shows the tools' state: the pressed tool, the colour, width, fill and pictures.
    void Update();

    // The commands of the look: the width list, the colour, fill and mosaic items, the
    // font button. False for any other command (the tools are the frame's).
    bool OnCommand(WPARAM wParam, LPARAM lParam);
    // TBN_DROPDOWN: opens the menu of the colour, fill or mosaic button; false when
    // the notification is not the bar's.
    bool OnDropDown(const NMTOOLBARA& notify);
    // The tools' pictures for the 标注 menu.
    bool GetMenuImage(UINT command, HIMAGELIST& images, int& index) const override;

private:
    void CreateWidthList();
    void PlaceWidthList();
    void ShowColour();
    void TrackMenuBelow(HMENU menu, UINT button);
    void DropDownColours();
    void DropDownFills();
    void DropDownMosaicBlocks();
    void ChooseMoreColours();
    void ChooseTextFont();

    CAnnotationTools& m_tools;
public:
    static constexpr int kButtonCount = 22;  // the tools, 5 buttons and 4 gaps

private:
    TBBUTTON m_buttons[kButtonCount] = {};  // as added, the gaps' widths at 96 DPI
    CToolBarImages m_images;
    CGuiFont m_widthListFont;
    CGuiFont m_tipFont;
    HWND m_hWnd = nullptr;
    HWND m_hOwner = nullptr;
    HWND m_hWidthList = nullptr;
    int m_nSwatchImage = -1;               // the colour button's picture, made at run time
    COLORREF m_shownColour = CLR_INVALID;  // what the swatch shows
    COLORREF m_customColours[16] = {};     // 更多颜色's own row, kept for this run
};
