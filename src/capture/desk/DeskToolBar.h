#pragma once
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "document/AnnotationToolBar.h"
#include "document/ToolBarImages.h"
#include "ui/DpiScale.h"
#include "ui/GuiFont.h"
#include "ui/Window.h"

class CAnnotationTools;

// The capture desk's toolbar: a child of the desk window, shown and drawn with it (a window
// of its own costs the desk's showing the mapping of one more window), that never takes the
// activation. One row (two on a monitor too narrow for one) holds the drawing tools and the
// look of the next mark (the editor's annotation toolbar, over the same tools), then 撤销,
// 重做, 长截图 and the ways out: 贴到屏幕, 保存, 打开为文档, 复制, 取消.
// Commands go to the desk as posted WM_COMMANDs, so that the desk may take the bar down in
// answer: the tool ids (ID_TOOL_* as the editor's toolbar sends them), ID_ANNOTATE_UNDO/REDO,
// ID_DESK_LONGSHOT and the actions ID_DESK_PIN, ID_DESK_SAVE, ID_DESK_OPEN_DOCUMENT, ID_DESK_COPY,
// ID_DESK_CANCEL. The look commands (colour, width, fill, font, mosaic block) are handled
// inside, on the tools, which keep them in lumigrab.ini through their observer.
class CDeskToolBar : public CWindow {
public:
    explicit CDeskToolBar(CAnnotationTools& tools);
    ~CDeskToolBar() override;

    // Makes the bar in the desk, hidden until placed; false when a window could not be made.
    bool Create(HWND desk);
    // Lays the bar out, hidden, for the monitor that shows most of selection (screen
    // coordinates), so that placing it beside a selection on that monitor only moves it.
    void PrepareFor(const RECT& selection);
    // Shows it beside the selection (screen coordinates), wholly on the monitor that shows most
    // of it and at that monitor's DPI; markedUp: the part being marked up, to keep clear of.
    void PlaceBeside(const RECT& selection, const RECT& markedUp);
    // Shows the tools' state and whether undo, redo and the long screenshot can go.
    void Update(bool canUndo, bool canRedo, bool canLongshot);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    bool CreateActionBar();
    // The pictures, fonts and sizes for a DPI, and the bars laid out in one row or, when that
    // is wider than maxWidth, in two.
    void LayOut(const CDpiScale& dpi, int maxWidth);
    // Lays out for the monitor that shows most of selection, when not yet; its margin.
    int LayOutFor(const RECT& selection, const std::vector<RECT>& monitors);
    static std::vector<RECT> Monitors();
    void GiveKeysToDesk();
    void OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnNotify(NMHDR* header);

    CAnnotationToolBar m_drawing;
    HWND m_hActions = nullptr;
    CToolBarImages m_actionImages;
    CGuiFont m_actionTipFont;
    int m_nDpi = 0;        // the DPI laid out for; 0 before the first placing
    int m_nMaxWidth = 0;   // the widest the bar could be then
    SIZE m_size{};         // of the whole popup
};
