#include "SkinPainter.h"

#include <algorithm>
#include <cstring>

#include "SkinDCState.h"
#include "SkinFontHandle.h"

#include "scoped/ScopedHandles.h"

namespace snapcore {

namespace {

// The caption keeps this much room between the frame's edge and the bar.
constexpr int kCaptionInset = 2;
constexpr int kTextPadding = 6;
constexpr int kLabelPaddingX = 4, kLabelPaddingY = 1;

bool IsEmpty(const RECT& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}

long long Width(const RECT& r)
{
    return static_cast<long long>(r.right) - r.left;
}

long long Height(const RECT& r)
{
    return static_cast<long long>(r.bottom) - r.top;
}

// Rectangle arithmetic in 64 bits, brought back between lo and hi, so that frames
// near the ends of the coordinate range cannot overflow.
LONG Clamp(long long value, LONG lo, LONG hi)
{
    return static_cast<LONG>(std::min<long long>(std::max<long long>(value, lo), hi));
}

RECT Deflated(const RECT& r, int dx, int dy)
{
    const LONG right = std::max(r.left, r.right), bottom = std::max(r.top, r.bottom);
    const LONG left = Clamp(static_cast<long long>(r.left) + dx, r.left, right);
    const LONG top = Clamp(static_cast<long long>(r.top) + dy, r.top, bottom);
    return RECT{left, top, Clamp(static_cast<long long>(right) - dx, left, right),
                Clamp(static_cast<long long>(bottom) - dy, top, bottom)};
}

void FillSolid(HDC dc, const RECT& r, COLORREF colour)
{
    if (IsEmpty(r))
        return;
    SetDCBrushColor(dc, colour);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void FrameSolid(HDC dc, const RECT& r, COLORREF colour)
{
    if (IsEmpty(r))
        return;
    SetDCBrushColor(dc, colour);
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

COLORREF Blend(COLORREF from, COLORREF to, int step, int steps)
{
    const auto channel = [&](int shift) {
        const int a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
        return static_cast<COLORREF>(a + (b - a) * step / steps) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

void VerticalGradient(HDC dc, const RECT& r, COLORREF top, COLORREF bottom)
{
    const int rows = static_cast<int>(Height(r)); // a caption bar's height at most
    for (int row = 0; row < rows; ++row)
        FillSolid(dc, RECT{r.left, r.top + row, r.right, r.top + row + 1},
                  Blend(top, bottom, row, std::max(rows - 1, 1)));
}

// Single lines are centred vertically and cut with an ellipsis; several lines are
// centred as a block.
void DrawSkinText(HDC dc, RECT r, const char* text, const SkinFont& skinFont, const CDrawScale& scale,
                  COLORREF colour, UINT alignment)
{
    if (!text || !*text || IsEmpty(r))
        return;
    const CSkinFontHandle font(skinFont, scale);
    const CSelectObject selection(dc, font.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    UINT format = DT_NOPREFIX | DT_END_ELLIPSIS | alignment;
    if (std::strchr(text, '\n')) {
        RECT measured = r;
        DrawTextA(dc, text, -1, &measured, format | DT_CALCRECT);
        const long long spare = Height(r) - Height(measured);
        if (spare > 0)
            r.top += static_cast<LONG>(spare / 2);
    } else {
        format |= DT_SINGLELINE | DT_VCENTER;
    }
    DrawTextA(dc, text, -1, &r, format);
}

// A close box's cross, two pixels thick, centred in box.
void DrawCloseGlyph(HDC dc, const RECT& box, COLORREF colour)
{
    const CSelectObject pen(dc, GetStockObject(DC_PEN));
    SetDCPenColor(dc, colour);
    const int size = box.right - box.left;
    for (int thickness = 0; thickness < 2; ++thickness) {
        const int x = box.left + thickness;
        MoveToEx(dc, x, box.top, nullptr);
        LineTo(dc, x + size, box.top + size);
        MoveToEx(dc, x, box.top + size - 1, nullptr);
        LineTo(dc, x + size, box.top - 1);
    }
}

} // namespace

RECT CSkinPainter::CaptionRect(const RECT& frame) const
{
    const int inset = m_scale.Scale(kCaptionInset);
    const RECT inner = Deflated(frame, inset, inset);
    return RECT{inner.left, inner.top, inner.right,
                Clamp(static_cast<long long>(inner.top) + m_scale.Scale(m_style.captionHeight), inner.top, inner.bottom)};
}

RECT CSkinPainter::ClientRect(const RECT& frame) const
{
    const int border = m_scale.Scale(m_style.borderWidth);
    RECT client = Deflated(frame, border, border);
    // Below the caption bar, the border's width less the caption's inset.
    client.top = Clamp(static_cast<long long>(frame.top) + m_scale.Scale(m_style.captionHeight) + border, client.top,
                       client.bottom);
    return client;
}

void CSkinPainter::DrawBorder(HDC dc, const RECT& frame, const RECT& client) const
{
    FillSolid(dc, frame, m_style.borderFace);
    FrameSolid(dc, frame, m_style.outerLine);
    const RECT bevel = Deflated(frame, 1, 1);
    if (IsEmpty(bevel))
        return;
    FillSolid(dc, RECT{bevel.left, bevel.top, bevel.right, bevel.top + 1}, m_style.bevelLight);
    FillSolid(dc, RECT{bevel.left, bevel.top, bevel.left + 1, bevel.bottom}, m_style.bevelLight);
    FillSolid(dc, RECT{bevel.left, bevel.bottom - 1, bevel.right, bevel.bottom}, m_style.bevelDark);
    FillSolid(dc, RECT{bevel.right - 1, bevel.top, bevel.right, bevel.bottom}, m_style.bevelDark);
    if (!IsEmpty(client))
        FrameSolid(dc, RECT{client.left - 1, client.top - 1, client.right + 1, client.bottom + 1}, m_style.innerLine);
}

void CSkinPainter::DrawCaption(HDC dc, const RECT& caption, const char* text) const
{
    VerticalGradient(dc, caption, m_style.captionTop, m_style.captionBottom);
    const int accent = static_cast<int>(std::min<long long>(m_scale.Scale(m_style.accentHeight), Height(caption)));
    FillSolid(dc, RECT{caption.left, caption.bottom - accent, caption.right, caption.bottom}, m_style.captionAccent);

    const int padding = m_scale.Scale(kTextPadding);
    RECT textArea = Deflated(RECT{caption.left, caption.top, caption.right, caption.bottom - accent}, padding, 0);
    const int height = static_cast<int>(Height(caption)) - accent;
    const int glyph = height / 2 - 1;
    // The close box only on a bar wide enough to keep most of it for the caption.
    if (glyph >= 5 && Width(caption) >= 4 * height) {
        const int margin = (height - glyph) / 2;
        const RECT box{caption.right - margin - glyph, caption.top + margin, caption.right - margin,
                       caption.top + margin + glyph};
        DrawCloseGlyph(dc, box, m_style.captionText);
        textArea.right = std::max(textArea.left, box.left - padding);
    }
    DrawSkinText(dc, textArea, text, m_style.captionFont, m_scale, m_style.captionText,
                 m_style.captionCentred ? DT_CENTER : DT_LEFT);
}

void CSkinPainter::DrawFrame(HDC dc, const RECT& frame, const char* caption, int flags) const
{
    if (!dc || IsEmpty(frame))
        return;
    const CSkinDCState state(dc, frame);
    if (!state.Succeeded())
        return;
    const RECT client = ClientRect(frame);
    const bool fillClient = flags & kSkinFillBackground;
    if (!fillClient && !IsEmpty(client))
        ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    DrawBorder(dc, frame, client);
    DrawCaption(dc, CaptionRect(frame), caption);
    if (fillClient)
        FillSolid(dc, client, m_style.clientBack);
}

void CSkinPainter::DrawLabel(HDC dc, const RECT& rect, const char* text, int flags) const
{
    if (!dc || IsEmpty(rect))
        return;
    const CSkinDCState state(dc, rect);
    if (!state.Succeeded())
        return;
    if (flags & kSkinFillBackground) {
        FillSolid(dc, rect, m_style.labelBack);
        FrameSolid(dc, rect, m_style.labelBorder);
    }
    DrawSkinText(dc, Deflated(rect, m_scale.Scale(kLabelPaddingX), m_scale.Scale(kLabelPaddingY)), text, m_style.labelFont, m_scale,
                 m_style.labelText, DT_CENTER);
}

} // namespace snapcore
