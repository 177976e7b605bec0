// Draws window frames and labels in one skin. The engine's magnifier and the skin
// manager handed to callers both draw through this class:
//     const CSkinPainter painter(SkinAt(index), CDrawScale::OfScreen());
//     painter.DrawFrame(dc, frame, caption, kSkinFillBackground);
//     const RECT client = painter.ClientRect(frame);
#ifndef SNAPCORE_SKINPAINTER_H
#define SNAPCORE_SKINPAINTER_H

#include "DrawScale.h"
#include "SkinStyle.h"

namespace snapcore {

// Drawing flags. Without kSkinFillBackground a frame leaves its client area and a
// label its background as the caller painted them, so a window that fills its client
// itself draws each pixel once.
constexpr int kSkinFillBackground = 1;

class CSkinPainter {
public:
    // The style's metrics and fonts are for 96 DPI; the painter draws them at the scale's.
    CSkinPainter(const SkinStyle& style, const CDrawScale& scale) : m_style(style), m_scale(scale) {}

    // The area inside a frame drawn in frame; empty, but within frame, when the frame
    // is too small to have one.
    RECT ClientRect(const RECT& frame) const;

    // Everything drawn stays inside the rectangle and inside the DC's own clip region;
    // the DC's state is left as it was. Texts are ANSI, may be null, and are cut
    // with an ellipsis when they do not fit; a label text may hold several lines.
    void DrawFrame(HDC dc, const RECT& frame, const char* caption, int flags) const;
    void DrawLabel(HDC dc, const RECT& rect, const char* text, int flags) const;

private:
    RECT CaptionRect(const RECT& frame) const;
    void DrawBorder(HDC dc, const RECT& frame, const RECT& client) const;
    void DrawCaption(HDC dc, const RECT& caption, const char* text) const;

    const SkinStyle& m_style;
    const CDrawScale m_scale;
};

} // namespace snapcore

#endif
