#ifndef SNAPCORE_MAGNIFIER_H
#define SNAPCORE_MAGNIFIER_H

#include <windows.h>

#include <memory>
#include <optional>

#include "snapcore.h"

#include "DrawScale.h"

#include "scoped/ScopedHandles.h"

namespace snapcore {

class CFrozenScreen;

// The auxiliary window of an interactive capture: the pixels around the pointer
// enlarged, with a crosshair, the pointer's coordinates and the colour under it, in a
// frame drawn by the engine's own skin manager. It keeps its picture in a buffer of
// its own and redraws there only the parts that changed; the overlay copies that
// buffer into its back buffer wherever the magnifier currently is. It is laid out at
// the screen's DPI; the pixels it enlarges are the screen's own.
class CMagnifier : CNonCopyable {
public:
    static constexpr int kMinMagnification = 1;
    static constexpr int kMaxMagnification = 32;

    // Starts from the caller's magnification and skin (defaults when aux is null),
    // brought into range.
    explicit CMagnifier(const AuxWindowOptions* aux);

    // Without a skin manager there is nothing to draw the magnifier with.
    bool IsAvailable() const { return m_pSkins != nullptr; }
    int Magnification() const { return m_nMagnification; }
    int Skin() const { return m_nSkin; }
    void Store(AuxWindowOptions* aux) const;

    // Each returns whether the value changed.
    bool Zoom(int steps);
    bool CycleSkin(int direction);

    // Where the frame goes for a pointer on the given monitor: beside the pointer on
    // the given side (1 right or below, -1 left or above) without covering it, on the
    // other side where the monitor ends.
    RECT PlaceFor(POINT pointer, SIZE side, const RECT& monitor) const;
    // Draws the magnifier with its top-left corner at origin (DC coordinates), showing
    // the frozen screen around pointer (screen coordinates).
    void Draw(HDC dc, POINT origin, const CFrozenScreen& screen, POINT pointer);

private:
    struct SkinRelease { void operator()(ISkinManager* skins) const { skins->Release(); } };

    void SelectSkin();
    SIZE FrameSize() const;
    bool PrepareBuffer();
    void DrawChrome();
    void DrawPixels(const CFrozenScreen& screen, POINT pointer) const;
    void DrawCoordinates(POINT pointer) const;
    void DrawColour(COLORREF rgb) const;

    std::unique_ptr<ISkinManager, SkinRelease> m_pSkins;
    int m_nSkinCount = 0;
    int m_nMagnification;
    int m_nSkin;
    const CDrawScale m_scale = CDrawScale::OfScreen();
    const int m_nImageSize; // odd, so the pointer's pixel sits in the middle
    const int m_nPadding;
    const int m_nLabelHeight;
    RECT m_rcClientInsets{}; // frame edge to client edge, per side, for the current skin

    // The buffer and what it shows now; a skin or magnification other than the drawn
    // one means the frame is to be drawn afresh.
    CMemoryDC m_bufferDC{nullptr};
    CBitmapOwner m_buffer;
    std::optional<CSelectObject> m_bufferSelection;
    SIZE m_bufferSize{};
    RECT m_rcImage{}, m_rcCoordinates{}, m_rcColour{};
    int m_nDrawnSkin = -1;
    int m_nDrawnMagnification = 0;
    POINT m_ptDrawn{};
    COLORREF m_crDrawn = CLR_INVALID;
};

} // namespace snapcore

#endif
