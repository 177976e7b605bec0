// What sets one skin apart from another: colours, metrics and fonts. One painter
// draws every skin from these values.
#ifndef SNAPCORE_SKINSTYLE_H
#define SNAPCORE_SKINSTYLE_H

#include <windows.h>

namespace snapcore {

struct SkinFont {
    const char* faceName; // a face every Chinese Windows has; the font mapper stands in elsewhere
    int pixelHeight;
    int weight;
};

struct SkinStyle {
    const char* utf8Name; // shown to the user, converted to the ANSI code page at run time

    // Frame: a one-pixel outer line, a bevel (light top/left, dark bottom/right) and
    // the border face, with a one-pixel line around the client area.
    COLORREF outerLine;
    COLORREF bevelLight;
    COLORREF bevelDark;
    COLORREF borderFace;
    COLORREF innerLine;
    int borderWidth; // from the frame's edge to the client area, at least 3

    // Caption bar: a vertical gradient, an optional accent line along its bottom.
    COLORREF captionTop;
    COLORREF captionBottom;
    COLORREF captionText;
    COLORREF captionAccent;
    int captionHeight;
    int accentHeight; // 0: no accent line
    bool captionCentred;
    SkinFont captionFont;

    COLORREF clientBack;

    COLORREF labelBack;
    COLORREF labelBorder;
    COLORREF labelText;
    SkinFont labelFont;
};

} // namespace snapcore

#endif
