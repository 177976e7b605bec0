#include "OverlayScene.h"

#include <cstring>

#include "DimmedScreen.h"
#include "DrawScale.h"
#include "FrozenScreen.h"
#include "GdiDrawing.h"
#include "Magnifier.h"
#include "ScreenLayout.h"

#include "scoped/ScopedHandles.h"

namespace snapcore {
namespace {

// Lengths at 96 DPI, drawn at the screen's.
constexpr int kSelectionBorder = 1; // drawn just outside the selection, which stays unobscured
constexpr int kHighlightBorder = 3; // drawn inside the window, which may fill the screen
constexpr int kLabelPaddingX = 6;
constexpr int kLabelPaddingY = 3;

int Scaled(int pixels)
{
    return CDrawScale::OfScreen().Scale(pixels);
}
const COLORREF kAccent = RGB(0, 160, 255);
const COLORREF kLabelBackground = RGB(32, 32, 32);
const COLORREF kLabelText = RGB(255, 255, 255);

void AddRect(HRGN area, const RECT& rect)
{
    if (IsRectEmpty(&rect))
        return;
    const CRegionOwner piece(CreateRectRgnIndirect(&rect));
    CombineRgn(area, area, piece.get(), RGN_OR);
}

void AddRing(HRGN area, const RECT& outer, int thickness)
{
    if (IsRectEmpty(&outer))
        return;
    RECT strips[4];
    RingStrips(outer, thickness, strips);
    for (const RECT& strip : strips)
        AddRect(area, strip);
}

// Outside a selection the screen is dimmed; with no selection nothing is.
void AddDimmingChange(HRGN area, const RECT& before, const RECT& after, const RECT& screen)
{
    const bool hadSelection = !IsRectEmpty(&before), hasSelection = !IsRectEmpty(&after);
    if (!hadSelection && !hasSelection)
        return;
    if (hadSelection != hasSelection) {
        AddRect(area, screen);
        return;
    }
    // Both dim the screen outside themselves: the difference is where exactly one covers.
    const CRegionOwner first(CreateRectRgnIndirect(&before)), second(CreateRectRgnIndirect(&after));
    CombineRgn(first.get(), first.get(), second.get(), RGN_XOR);
    CombineRgn(area, area, first.get(), RGN_OR);
}

// Pixels of the frozen screen (or its dimmed copy) into the same place in dc.
void CopyFrozen(HDC dc, const RECT& rect, HDC frozen, const RECT& screen)
{
    BitBlt(dc, rect.left, rect.top, Width(rect), Height(rect), frozen, rect.left - screen.left,
           rect.top - screen.top, SRCCOPY);
}

void DrawSizeLabel(HDC dc, const OverlayScene& scene)
{
    FillSolid(dc, scene.rcSizeLabel, kLabelBackground);
    const CSavedDC saved(dc);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kLabelText);
    TextOutA(dc, scene.rcSizeLabel.left + Scaled(kLabelPaddingX), scene.rcSizeLabel.top + Scaled(kLabelPaddingY),
             scene.szSizeLabel,
             static_cast<int>(strlen(scene.szSizeLabel)));
}

bool Intersects(const RECT& a, const RECT& b)
{
    RECT common;
    return IntersectRect(&common, &a, &b) != FALSE;
}

} // namespace

void PaintScene(HDC dc, const OverlayScene& scene, const CFrozenScreen& screen, const CDimmedScreen& dimmed,
                CMagnifier& magnifier)
{
    RECT box;
    if (GetClipBox(dc, &box) <= NULLREGION)
        return;
    const RECT bounds = screen.Bounds();
    const bool selecting = !IsRectEmpty(&scene.rcSelection);
    CopyFrozen(dc, box, selecting ? dimmed.DC() : screen.DC(), bounds);
    if (selecting) {
        RECT inside;
        if (IntersectRect(&inside, &scene.rcSelection, &box))
            CopyFrozen(dc, inside, screen.DC(), bounds);
        const int border = Scaled(kSelectionBorder);
        FillRing(dc, Inflated(scene.rcSelection, border), border, kAccent);
    }
    if (!IsRectEmpty(&scene.rcHighlight))
        FillRing(dc, scene.rcHighlight, Scaled(kHighlightBorder), kAccent);
    if (!IsRectEmpty(&scene.rcSizeLabel) && Intersects(scene.rcSizeLabel, box))
        DrawSizeLabel(dc, scene);
    if (!IsRectEmpty(&scene.rcMagnifier) && Intersects(scene.rcMagnifier, box))
        magnifier.Draw(dc, POINT{scene.rcMagnifier.left, scene.rcMagnifier.top}, screen, scene.ptPointer);
}

void AddChangedArea(HRGN area, const OverlayScene& before, const OverlayScene& after, const RECT& screen)
{
    if (!EqualRect(&before.rcSelection, &after.rcSelection)) {
        const int border = Scaled(kSelectionBorder);
        AddDimmingChange(area, before.rcSelection, after.rcSelection, screen);
        AddRing(area, Inflated(before.rcSelection, border), border);
        AddRing(area, Inflated(after.rcSelection, border), border);
    }
    if (!EqualRect(&before.rcHighlight, &after.rcHighlight)) {
        const int border = Scaled(kHighlightBorder);
        AddRing(area, before.rcHighlight, border);
        AddRing(area, after.rcHighlight, border);
    }
    if (!EqualRect(&before.rcSizeLabel, &after.rcSizeLabel) || strcmp(before.szSizeLabel, after.szSizeLabel) != 0) {
        AddRect(area, before.rcSizeLabel);
        AddRect(area, after.rcSizeLabel);
    }
    if (!EqualRect(&before.rcMagnifier, &after.rcMagnifier) || before.ptPointer.x != after.ptPointer.x
        || before.ptPointer.y != after.ptPointer.y || before.nMagnification != after.nMagnification
        || before.nSkin != after.nSkin) {
        AddRect(area, before.rcMagnifier);
        AddRect(area, after.rcMagnifier);
    }
}

RECT PlaceSizeLabel(const RECT& rect, SIZE text, const CScreenLayout& layout, const RECT& magnifier)
{
    return layout.PlaceLabel(rect, SIZE{text.cx + 2 * Scaled(kLabelPaddingX), text.cy + 2 * Scaled(kLabelPaddingY)},
                             Scaled(kHighlightBorder), magnifier);
}

} // namespace snapcore
