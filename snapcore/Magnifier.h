#ifndef SNAPCORE_MAGNIFIER_H
#define SNAPCORE_MAGNIFIER_H

#include <windows.h>

#include <memory>

#include "GdiScope.h"
#include "snapcore.h"

namespace snapcore {

class CFrozenScreen;

// The auxiliary window of an interactive capture: the pixels around the pointer
// enlarged, with a crosshair, the pointer's coordinates and the colour under it, in a
// frame drawn by the engine's own skin manager. It is drawn into the overlay's back
// buffer, so it moves and changes without a window of its own to repaint.
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

    // Where the frame goes for a pointer on the given monitor: beside the pointer
    // without covering it, on the other side where the monitor ends.
    RECT PlaceFor(POINT pointer, const RECT& monitor) const;
    // Draws the frame at frame (DC coordinates) showing the frozen screen around
    // pointer (screen coordinates).
    void Draw(HDC dc, const RECT& frame, const CFrozenScreen& screen, POINT pointer) const;

private:
    struct SkinRelease { void operator()(ISkinManager* skins) const { skins->Release(); } };

    void SelectSkin();
    void DrawPixels(HDC dc, const RECT& image, const CFrozenScreen& screen, POINT pointer) const;
    void DrawLabels(HDC dc, const RECT& coordinates, const RECT& colour, COLORREF rgb, POINT pointer) const;

    std::unique_ptr<ISkinManager, SkinRelease> m_pSkins;
    int m_nSkinCount = 0;
    int m_nMagnification;
    int m_nSkin;
    RECT m_rcClientInsets{}; // frame edge to client edge, per side, for the current skin
};

} // namespace snapcore

#endif
