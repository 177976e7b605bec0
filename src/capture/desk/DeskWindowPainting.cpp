#include "capture/desk/DeskWindow.h"

#include <algorithm>

#include "imageio/TopDownDib.h"
#include "ui/DpiScale.h"

namespace {
// Lengths at 96 DPI:
constexpr int kHandleSize = 7;
constexpr int kLabelGap = 3;
constexpr int kLabelPaddingX = 6;
constexpr int kLabelPaddingY = 3;
const COLORREF kAccent = RGB(0, 160, 255);
const COLORREF kLabelBackground = RGB(32, 32, 32);
const COLORREF kLabelText = RGB(255, 255, 255);

void FillSolid(HDC dc, const RECT& rect, COLORREF colour)
{
    const CBrushOwner brush(CreateSolidBrush(colour));
    FillRect(dc, &rect, brush.get());
}
}  // namespace

// Into a bitmap of the update box: the frame, dimmed outside the selection, the marks
// over the selection, then the border, handles and size label; then onto the window at once.
// A box well inside the selection (the usual one while a mark is drawn) has neither
// dimming nor decor, and its bitmap need not be a DIB section, which costs more to make.
void CDeskWindow::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    const RECT clip = paint.rcPaint;
    const int width = clip.right - clip.left, height = clip.bottom - clip.top;
    RECT inner = Selection(), common{};
    InflateRect(&inner, -(HandleSize() / 2 + 2), -(HandleSize() / 2 + 2));
    const bool onlyInside = IntersectRect(&common, &inner, &clip) && EqualRect(&common, &clip);
    DWORD* pixels = nullptr;
    const CBitmapOwner bitmap = width <= 0 || height <= 0 ? CBitmapOwner()
                                : onlyInside          ? CBitmapOwner(CreateCompatibleBitmap(dc, width, height))
                                                      : CreateTopDownDib(width, height, pixels);
    if (bitmap) {
        const CMemoryDC buffer(dc);
        CSelectObject chosen(buffer, bitmap.get());
        {
            const CMemoryDC source(dc);
            CSelectObject frame(source, m_hFrame);
            BitBlt(buffer, 0, 0, width, height, source, clip.left, clip.top, SRCCOPY);
        }
        if (pixels) {
            GdiFlush();
            DimOutside(pixels, clip);
        }
        const POINT shift{clip.left, clip.top};
        RECT inside;
        if (m_picture.Bitmap() && IntersectRect(&inside, &Selection(), &clip)) {
            const CSavedDC state(buffer);
            IntersectClipRect(buffer, inside.left - shift.x, inside.top - shift.y, inside.right - shift.x,
                              inside.bottom - shift.y);
            m_controller.PaintMarks(buffer, inside, shift);
            m_controller.PaintLive(buffer, inside, shift);
        }
        if (!onlyInside) {
            const CSavedDC state(buffer);
            SetViewportOrgEx(buffer, -shift.x, -shift.y, nullptr);
            PaintDecor(buffer);
        }
        BitBlt(dc, clip.left, clip.top, width, height, buffer, 0, 0, SRCCOPY);
    }
    EndPaint(Handle(), &paint);
}

// Halves every channel outside the selection, in place in the pixels of the box clip:
// far cheaper than blending, and no dimmed copy of the frame is kept.
void CDeskWindow::DimOutside(DWORD* pixels, const RECT& clip) const
{
    const RECT& s = Selection();
    const LONG width = clip.right - clip.left;
    for (LONG y = clip.top; y < clip.bottom; ++y) {
        DWORD* row = pixels + static_cast<size_t>(y - clip.top) * static_cast<size_t>(width);
        const bool besideOnly = y >= s.top && y < s.bottom;
        // Rows that cross the selection keep the part inside it.
        const LONG keepFrom = besideOnly ? std::max(s.left, clip.left) : clip.right;
        const LONG keepTo = besideOnly ? std::min(s.right, clip.right) : clip.right;
        for (LONG x = clip.left; x < clip.right; ++x)
            if (x < keepFrom || x >= keepTo)
                row[x - clip.left] = (row[x - clip.left] >> 1) & 0x7F7F7F;
    }
}

void CDeskWindow::PaintDecor(HDC dc) const
{
    const RECT& s = Selection();
    RECT border = s;
    InflateRect(&border, 1, 1);
    const CBrushOwner accent(CreateSolidBrush(kAccent));
    FrameRect(dc, &border, accent.get());
    if (!IsFixed()) {
        POINT centres[8];
        m_selection.HandleCentres(centres);
        const int size = HandleSize(), half = size / 2;
        for (const POINT& centre : centres) {
            RECT handle{centre.x - half, centre.y - half, centre.x - half + size, centre.y - half + size};
            FillRect(dc, &handle, accent.get());
            FrameRect(dc, &handle, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        }
    }
    const RECT label = LabelRect(s);
    FillSolid(dc, label, kLabelBackground);
    const std::wstring text = LabelText(s);
    const CDpiScale dpi = CDpiScale::OfWindow(Handle());
    CSelectObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kLabelText);
    TextOutW(dc, label.left + dpi.Scale(kLabelPaddingX), label.top + dpi.Scale(kLabelPaddingY), text.c_str(),
             static_cast<int>(text.size()));
}

int CDeskWindow::HandleSize() const
{
    return CDpiScale::OfWindow(Handle()).Scale(kHandleSize) | 1;
}

std::wstring CDeskWindow::LabelText(const RECT& selection) const
{
    return std::to_wstring(selection.right - selection.left) + L" \u00D7 " +
           std::to_wstring(selection.bottom - selection.top);
}

// Above the selection's top-left corner, or inside it when the frame ends above, and then
// below the toolbar when that sits in the corner.
RECT CDeskWindow::LabelRect(const RECT& selection) const
{
    const std::wstring text = LabelText(selection);
    const CDpiScale dpi = CDpiScale::OfWindow(Handle());
    SIZE extent{};
    {
        const CWindowDC dc(Handle());
        CSelectObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    }
    const int width = extent.cx + 2 * dpi.Scale(kLabelPaddingX), height = extent.cy + 2 * dpi.Scale(kLabelPaddingY);
    const int gap = dpi.Scale(kLabelGap);
    RECT label{selection.left, selection.top - gap - height, selection.left + width, selection.top - gap};
    if (label.top < 0) {
        OffsetRect(&label, gap, gap + height + gap);
        RECT bar{}, covered{};
        if (m_toolBar.Handle() && IsWindowVisible(m_toolBar.Handle()) && GetWindowRect(m_toolBar.Handle(), &bar)) {
            OffsetRect(&bar, -m_ptFrameOrigin.x, -m_ptFrameOrigin.y);
            if (IntersectRect(&covered, &bar, &label))
                OffsetRect(&label, 0, bar.bottom + gap - label.top);
        }
    }
    if (label.right > m_frameSize.cx)
        OffsetRect(&label, m_frameSize.cx - label.right, 0);
    return label;
}

void CDeskWindow::InvalidateDecor(const RECT& selection)
{
    const int reach = HandleSize() / 2 + 2;
    RECT outer = selection, inner = selection;
    InflateRect(&outer, reach, reach);
    InflateRect(&inner, -reach, -reach);
    const RECT strips[] = {
        {outer.left, outer.top, outer.right, inner.top},
        {outer.left, inner.bottom, outer.right, outer.bottom},
        {outer.left, outer.top, inner.left, outer.bottom},
        {inner.right, outer.top, outer.right, outer.bottom},
        LabelRect(selection),
    };
    for (const RECT& strip : strips)
        InvalidateRect(Handle(), &strip, FALSE);
}

