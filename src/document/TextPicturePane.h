#pragma once
#include <windows.h>

#include <functional>
#include <vector>

#include "scoped/ScopedHandles.h"
#include "ui/DpiScale.h"
#include "ui/Window.h"

// The picture that was read, scaled to fit the pane but never enlarged, with each
// recognised line's box outlined; the selected line's box is filled as well. A click
// inside a box tells which line it is.
class CTextPicturePane : public CWindow {
public:
    using LineClick = std::function<void(int line)>;

    // A child of parent with the id; the pane keeps picture (a top-down 32-bit DIB section).
    bool Create(HWND parent, UINT id, CBitmapOwner picture, LineClick onLineClick);
    void SetLines(std::vector<RECT> boxes);
    // -1 selects none.
    void SelectLine(int line);
    void SetDpi(const CDpiScale& dpi);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // Where the picture shows in the client area, and at what scale.
    RECT PictureRect(double& scale) const;
    RECT ShownBox(const RECT& box, const RECT& picture, double scale) const;
    void OnPaint();
    void OnLeftButtonDown(POINT at);

    CBitmapOwner m_picture;
    SIZE m_size{};
    std::vector<RECT> m_boxes;
    int m_nSelected = -1;
    CDpiScale m_dpi;
    LineClick m_onLineClick;
};
