#pragma once
#include <windows.h>

#include "scoped/ScopedHandles.h"
#include "ui/Window.h"

// An image pinned on top of every window: borderless, topmost and without a taskbar
// button, showing its own copy of the picture. The left button drags it anywhere, the
// wheel zooms it (10%-400%) about the pointer, Ctrl+wheel sets its opacity (20%-100%);
// Esc or a double-click closes it, and its right-button menu copies, saves, opens it as
// a document or closes it. A thin coloured frame around the picture shows the focus.
class CPinWindow : public CWindow {
public:
    // What the pins share: the frame's documents and the other pins.
    class IOwner {
    public:
        virtual void OpenPinAsDocument(CBitmapOwner bitmap) = 0;
        virtual void CloseAllPins() = 0;
        // The window is gone; the owner may delete the object now.
        virtual void OnPinDestroyed(CPinWindow& pin) = 0;

    protected:
        ~IOwner() = default;
    };

    static constexpr int kFrameWidth = 2;  // around the picture, outside it, at 96 DPI
    static constexpr int kLowestOpacity = 20;
    static constexpr int kOpacityStep = 10;

    explicit CPinWindow(IOwner& owner) : m_owner(owner) {}
    ~CPinWindow() override;

    // Shows a copy of bitmap at 100% with its top-left pixel at imageOrigin (screen
    // coordinates); false when the copy or the window could not be made.
    bool Create(HBITMAP bitmap, POINT imageOrigin);

    // The frame's accelerators leave a pin's keys alone: Ctrl+C there copies the pin.
    static bool IsPin(HWND window);

    float Zoom() const { return m_fZoom; }
    int OpacityPercent() const { return m_nOpacity; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage() override { m_owner.OnPinDestroyed(*this); }

private:
    void OnPaint();
    void OnLButtonDown();
    void OnMouseMove();
    void OnMouseWheel(int delta, POINT screenPoint);
    void OnContextMenu(LPARAM screenPoint);
    void OnDpiChanged(int dpi);
    void ZoomAbout(int zoomIndex, POINT screenPoint);
    void SetOpacity(int percent);
    void CopyImage() const;
    void SaveImage() const;
    HBITMAP CopyOfImage() const;
    // The picture's place in the window's client area at the current zoom.
    RECT PictureRect() const;

    IOwner& m_owner;
    CBitmapOwner m_image;
    SIZE m_size{};
    int m_nZoomIndex = 0;
    float m_fZoom = 1.0f;
    int m_nFrameWidth = kFrameWidth;  // at the screen's DPI
    int m_nOpacity = 100;
    int m_nWheelAccum = 0;  // what is left of a notch (WHEEL_DELTA) after the last turn
    bool m_bDragging = false;
    POINT m_ptDragOffset{};  // from the window's corner to the pointer
};
