#pragma once
#include <windows.h>

#include <vector>

#include "scoped/ScopedHandles.h"
#include "ui/GuiFont.h"
#include "ui/Window.h"

class CScrollStitcher;

// The window beside a long screenshot's selection that shows the stitched picture so far,
// its height and how capturing goes, with the buttons that end it. It stays clear of the
// selection, so it is in no grab, and it never takes the activation from the window that
// has the keyboard, but its buttons may.
class CLongshotPreview : public CWindow {
public:
    ~CLongshotPreview() override;

    // Made beside the selection (screen coordinates), on the monitor that shows most of it,
    // never over it, at that monitor's DPI; owned by owner, topmost, shown WITHOUT activation.
    // owner receives WM_COMMAND with ID_LONGSHOT_DONE, ID_LONGSHOT_CANCEL and ID_LONGSHOT_AUTO
    // (BN_CLICKED) from its buttons, from Enter/Esc typed while the preview or a button has the
    // keyboard, and ID_LONGSHOT_DONE from a double-click on the picture. False when there is no
    // room beside the selection on that monitor (nothing is made) or it cannot be made.
    bool Create(HWND owner, const RECT& selection);
    // Draws the rows kept since the last call, scaled to the preview's width, the newest at the
    // bottom when the picture outgrows the preview; shows the height (IDS_LONGSHOT_HEIGHT).
    void ShowRows(const CScrollStitcher& stitcher);
    // Replaces the line under the picture (first: IDS_LONGSHOT_HINT); warning shows it in red.
    void SetStatus(const char* text, bool warning);
    // The 自动滚动 check box's state (the owner decides; the box only reports clicks).
    void SetAutoScroll(bool on);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    bool CreateControls();
    void LayOut(int dpi);
    // Grey, as before the first rows.
    void Empty();
    // Starts the picture again, for a stitcher of another width or one that began anew.
    void Restart(int sourceWidth);
    // Works out row row of the scaled picture into row at of the kept bitmap.
    void DrawScaledRow(const CScrollStitcher& stitcher, int row, int at);
    void PostToOwner(UINT command);
    void OnPaint();
    LRESULT OnColorStatic(HDC dc, HWND control);

    HWND m_hOwner = nullptr;
    HWND m_hHeight = nullptr, m_hStatus = nullptr;
    CGuiFont m_font;
    bool m_bWarning = false;

    RECT m_picture{};          // the picture's part of the client area
    CBitmapOwner m_kept;       // as large as that part, showing the newest scaled rows
    DWORD* m_pKept = nullptr;  // its pixels
    int m_nSourceWidth = 0;    // of the stitcher's rows; 0 before the first
    int m_nScaledWidth = 0;
    int m_nScaledRows = 0;     // of the scaled picture, drawn so far
    std::vector<int> m_columnStarts;  // the source columns each scaled column averages, from each to the next
    std::vector<unsigned> m_sums;
};
