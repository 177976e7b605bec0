#include "imageio/TopDownDib.h"

BITMAPINFO TopDownDibInfo(int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

CBitmapOwner CreateTopDownDib(int width, int height, DWORD*& pixels)
{
    const BITMAPINFO info = TopDownDibInfo(width, height);
    void* bits = nullptr;
    CBitmapOwner bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    pixels = bitmap ? static_cast<DWORD*>(bits) : nullptr;
    return bitmap;
}
