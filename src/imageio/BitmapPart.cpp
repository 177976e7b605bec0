#include "imageio/BitmapPart.h"

#include "imageio/TopDownDib.h"

CBitmapOwner CopyBitmapPart(HBITMAP source, const RECT& part)
{
    DWORD* pixels = nullptr;
    CBitmapOwner copy = CreateTopDownDib(part.right - part.left, part.bottom - part.top, pixels);
    if (!copy)
        return copy;
    const CMemoryDC target(nullptr), from(nullptr);
    CSelectObject into(target, copy.get()), out(from, source);
    BitBlt(target, 0, 0, part.right - part.left, part.bottom - part.top, from, part.left, part.top, SRCCOPY);
    GdiFlush();
    return copy;
}
