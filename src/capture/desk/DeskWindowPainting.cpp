#include "capture/desk/DeskWindow.h"

#include <algorithm>
#include <memory>

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
const COLORREF kAroundPicture = RGB(64, 64, 64);

void FillSolid(HDC dc, const RECT& rect, COLORREF colour)
{
    const CBrushOwner brush(CreateSolidBrush(colour));
    FillRect(dc, &rect, brush.get());
}
}  // namespace

// The update box goes to the window in parts, with no copy of the frame the size of the
// box: the selection's pixels straight from the frame (through a bitmap of their own only
// when marks go over them), the dimmed parts through a band of rows at a time, then the
// border, handles and size label over both. A box well inside the selection (the usual one
// while a mark is drawn) has neither dimming nor decor.
void CDeskWindow::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    const RECT clip = paint.rcPaint;
    RECT inner = Selection(), inside{};
    InflateRect(&inner, -(HandleSize() / 2 + 2), -(HandleSize() / 2 + 2));
    if (IntersectRect(&inside, &Selection(), &clip))
        PaintSelection(dc, inside);
    RECT common{};
    if (!IntersectRect(&common, &inner, &clip) || !EqualRect(&common, &clip)) {
        PaintDimmed(dc, clip);
        PaintDecor(dc);
    }
    EndPaint(Handle(), &paint);
}

void CDeskWindow::PaintSelection(HDC dc, const RECT& part) const
{
    const int width = part.right - part.left, height = part.bottom - part.top;
    const CMemoryDC source(dc);
    CSelectObject frame(source, m_hFrame);
    const POINT from{part.left - m_ptFrameShift.x, part.top - m_ptFrameShift.y};
    if (!m_picture.Bitmap()) {
        BitBlt(dc, part.left, part.top, width, height, source, from.x, from.y, SRCCOPY);
        return;
    }
    // Marks are drawn over the pixels off the screen, so that a mark being dragged never
    // shows the pixels under it for a moment.
    const CBitmapOwner bitmap(CreateCompatibleBitmap(dc, width, height));
    if (!bitmap)
        return;
    const CMemoryDC buffer(dc);
    CSelectObject chosen(buffer, bitmap.get());
    BitBlt(buffer, 0, 0, width, height, source, from.x, from.y, SRCCOPY);
    const POINT shift{part.left, part.top};
    m_controller.PaintMarks(buffer, part, shift);
    m_controller.PaintLive(buffer, part, shift);
    BitBlt(dc, part.left, part.top, width, height, buffer, 0, 0, SRCCOPY);
}

// The parts of clip outside the selection: above, below, left and right of it.
void CDeskWindow::PaintDimmed(HDC dc, const RECT& clip) const
{
    const RECT& s = Selection();
    const LONG middleTop = std::max(clip.top, s.top), middleBottom = std::min(clip.bottom, s.bottom);
    const RECT parts[] = {
        {clip.left, clip.top, clip.right, std::min(clip.bottom, s.top)},
        {clip.left, std::max(clip.top, s.bottom), clip.right, clip.bottom},
        {clip.left, middleTop, std::min(clip.right, s.left), middleBottom},
        {std::max(clip.left, s.right), middleTop, clip.right, middleBottom},
    };
    for (const RECT& part : parts)
        if (part.right > part.left && part.bottom > part.top)
            PaintDimmedPart(dc, part);
}

// Every channel halved: far cheaper than blending, and exact. Done a band of rows at a
// time from the frame's own pixels into a buffer the size of the band.
void CDeskWindow::PaintDimmedPart(HDC dc, const RECT& part) const
{
    // A picture from elsewhere has nothing of the screen around it to show.
    if (m_bPicture) {
        FillSolid(dc, part, kAroundPicture);
        return;
    }
    constexpr LONG kBandPixels = 1 << 16;
    const LONG width = part.right - part.left;
    const LONG rows = std::max(1L, std::min(part.bottom - part.top, kBandPixels / width));
    const std::unique_ptr<DWORD[]> band(new DWORD[static_cast<size_t>(width) * static_cast<size_t>(rows)]);
    for (LONG top = part.top; top < part.bottom; top += rows) {
        const LONG count = std::min(rows, part.bottom - top);
        for (LONG y = 0; y < count; ++y) {
            const DWORD* from = m_pFramePixels + static_cast<size_t>(top + y) * static_cast<size_t>(m_frameSize.cx) +
                                part.left;
            DWORD* to = band.get() + static_cast<size_t>(y) * static_cast<size_t>(width);
            for (LONG x = 0; x < width; ++x)
                to[x] = (from[x] >> 1) & 0x7F7F7F;
        }
        const BITMAPINFO info = TopDownDibInfo(width, count);
        SetDIBitsToDevice(dc, part.left, top, width, count, 0, 0, 0, count, band.get(), &info, DIB_RGB_COLORS);
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
    RECT bar{};
    if (m_toolBar.Handle() && IsWindowVisible(m_toolBar.Handle()) && GetWindowRect(m_toolBar.Handle(), &bar))
        OffsetRect(&bar, -m_ptDeskOrigin.x, -m_ptDeskOrigin.y);
    const auto covered = [&bar](const RECT& label) {
        RECT common{};
        return IntersectRect(&common, &bar, &label) != FALSE;
    };
    // Above the selection's top-left corner; inside it where the frame ends above or the
    // toolbar lies there; below the toolbar when that lies inside too.
    RECT label{selection.left, selection.top - gap - height, selection.left + width, selection.top - gap};
    if (label.top < 0 || covered(label))
        OffsetRect(&label, gap, gap + height + gap);
    if (covered(label))
        OffsetRect(&label, 0, bar.bottom + gap - label.top);
    if (label.right > m_deskSize.cx)
        OffsetRect(&label, m_deskSize.cx - label.right, 0);
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

