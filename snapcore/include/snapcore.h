// Public interface of the capture engine, snapcore.dll.
//
// Callers load the library at run time and resolve the three exports by their plain
// names with GetProcAddress; no import library is involved. Every export and every
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

// The records cross the library boundary by address; their layout is fixed.
static_assert(sizeof(CaptureOptions) == 8, "CaptureOptions is two 32-bit flags");
static_assert(sizeof(AuxWindowOptions) == 8, "AuxWindowOptions is two 32-bit values");
static_assert(sizeof(SkinEntry) == 2 * sizeof(void*), "SkinEntry is two pointers (8 bytes on 32-bit)");

#endif
