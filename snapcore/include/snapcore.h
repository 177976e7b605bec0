// Public interface of the capture engine, snapcore.dll.
//
// Callers load the library at run time and resolve the exports by their plain names
// with GetProcAddress; no import library is involved. The first three are always there;
// SelectOnFrozenScreen came later, and a caller should treat it as optional. Every export and every
// virtual operation uses __stdcall so that any compiler can call them. Texts passed in
// and out are ANSI, in the system code page. A returned bitmap belongs to the caller;
// its dimension (GetBitmapDimensionEx) holds the screen position of its top-left pixel,
// in the physical pixels the picture was taken in, so that the same part of the screen
// can be taken again.
#ifndef SNAPCORE_H
#define SNAPCORE_H

#include <windows.h>
#include <stdint.h>

struct CaptureOptions   { int32_t m_bSimulatePrintScreen; int32_t m_bIncludeCursor; };
struct AuxWindowOptions { int32_t m_nMagnification; int32_t m_nSkin; };
struct SkinEntry        { const char* name; void* data; };   // table ends with name == nullptr
struct ISkinManager {
    virtual void             __stdcall Release() = 0;                                              // slot 0
    virtual const SkinEntry* __stdcall GetSkinList(int reserved) = 0;                              // slot 1
    virtual void             __stdcall SelectSkin(int index, int reserved) = 0;                    // slot 2
    virtual void             __stdcall CalcClientRect(const RECT* frame, RECT* client) = 0;        // slot 3
    virtual int              __stdcall GetSkinCount() = 0;                                         // slot 4 (the program never calls it)
    virtual void             __stdcall DrawFrame(HDC dc, const RECT* frame, const char* caption, int flags) = 0; // slot 5
    virtual void             __stdcall DrawLabel(HDC dc, const RECT* rect, const char* text, int flags) = 0;     // slot 6
};
extern "C" HBITMAP       __stdcall CaptureFullScreen(CaptureOptions* options);
extern "C" HBITMAP       __stdcall DoCaptureModal(int mode, CaptureOptions* options, AuxWindowOptions* aux);
extern "C" ISkinManager* __stdcall CreateSkinManager();

// Freezes the screen and lets the user choose a part of it, as DoCaptureModal does, but
// returns the whole frozen screen rather than the part, so that the caller can keep
// working on exactly those pixels.
//   mode     1 window, 2 region, 3 object, as DoCaptureModal; 4 any part: the window
//            or control under the pointer is highlighted as in object mode, a click
//            (press and release within the system's drag distance) takes it, and a
//            drag selects a region as in region mode; Enter works as the button,
//            once to press where the pointer is and once to let go, with the arrow
//            keys moving the pointer in between. Other modes give null at once.
//   options  as for DoCaptureModal (null: no PrintScreen key, no pointer). With the
//            pointer asked for, it is drawn into the returned picture where it was
//            when the screen froze; the overlay never shows it.
//   aux      as for DoCaptureModal: the magnifier's values in, the user's changes out;
//            may be null.
//   chosen   receives the chosen rectangle in screen coordinates (physical pixels),
//            never empty and always inside the returned picture; emptied when null is
//            returned. A null chosen gives null at once.
// Returns the virtual screen as it was when the capture began: a 32-bit top-down DIB
// section that belongs to the caller (DeleteObject), covering the whole virtual screen,
// with the screen position of its top-left pixel as its dimension (GetBitmapDimensionEx),
// so that chosen lies at (chosen.left - dimension.cx, chosen.top - dimension.cy) in it.
// It is the engine's own frozen image, handed over, not a copy: once this returns the
// engine holds no picture of the screen. Null when the user cancelled (Esc, the right
// button), when another capture is running, or when the screen could not be taken.
extern "C" HBITMAP       __stdcall SelectOnFrozenScreen(int mode, CaptureOptions* options, AuxWindowOptions* aux,
                                                        RECT* chosen);

// The records cross the library boundary by address; their layout is fixed.
static_assert(sizeof(CaptureOptions) == 8, "CaptureOptions is two 32-bit flags");
static_assert(sizeof(AuxWindowOptions) == 8, "AuxWindowOptions is two 32-bit values");
static_assert(sizeof(SkinEntry) == 2 * sizeof(void*), "SkinEntry is two pointers (8 bytes on 32-bit)");

#endif
