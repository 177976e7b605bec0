#ifndef SNAPCORE_CAPTUREOVERLAY_H
#define SNAPCORE_CAPTUREOVERLAY_H

#include <windows.h>

#include "DimmedScreen.h"
#include "OverlayScene.h"
#include "WindowPicker.h"

#include "scoped/ScopedHandles.h"

namespace snapcore {

class CFrozenScreen;
class CMagnifier;

// AnyPart highlights objects as Object does, takes one on a click and selects a region
// on a drag.
enum class SelectionMode { Window = 1, Region = 2, Object = 3, AnyPart = 4 };

// The topmost window over the whole virtual screen, painted with the frozen screen, in
// which the user picks a window, a region or an object with the mouse or the keyboard.
// It paints through a back buffer and repaints only what a change touched.
class CCaptureOverlay : CNonCopyable {
public:
    CCaptureOverlay(SelectionMode mode, const CFrozenScreen& screen, CMagnifier& magnifier);
    ~CCaptureOverlay();

    // Shows the overlay and returns when the user has finished: true with the chosen
    // rectangle (screen coordinates, never empty), false when they cancelled.
    bool Run(RECT* chosen);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void TakeKeyboard();
    void OnLeftButtonDown(POINT point);
    void OnLeftButtonUp(POINT point);
    void OnKeyDown(WPARAM key);
    void OnMouseWheel(int delta);
    void OnEnter();
    void Anchor();
    bool Take();

    void MovePointer(POINT point);
    void MovePointerBy(int dx, int dy);
    POINT ScreenPoint(LPARAM lParam) const;
    bool SelectsRegions() const;
    bool BeyondDragDistance() const;
    RECT Selection() const;
    SIZE MagnifierSide() const;
    RECT Candidate() const;
    OverlayScene BuildScene() const;
    void Refresh();
    void Finish(const RECT* chosen);

    const SelectionMode m_mode;
    const CFrozenScreen& m_screen;
    CMagnifier& m_magnifier;
    const RECT m_rcScreen;
    const CWindowPicker m_picker;
    const SIZE m_dragDistance; // how far a press may move and still be a click
    const CDimmedScreen m_dimmed;

    CScreenDC m_screenDC;
    CBitmapOwner m_backBuffer;
    CMemoryDC m_backDC;
    CSelectObject m_backSelection;
    CSelectObject m_fontSelection;

    HWND m_hWnd = nullptr;
    OverlayScene m_scene{};
    POINT m_ptPointer{};
    POINT m_ptAnchor{};          // where the button went down, or Enter set a corner
    bool m_bAnchored = false;    // m_ptAnchor holds
    bool m_bSelecting = false;   // a region selection is under way from m_ptAnchor
    bool m_bLeftPressed = false; // the left button went down on the overlay
    int m_nWheelRest = 0;        // wheel movement short of one notch
    DWORD m_dwShownAt = 0;
    bool m_bFinished = false;
    bool m_bTaken = false;
    RECT m_rcChosen{};
};

} // namespace snapcore

#endif
