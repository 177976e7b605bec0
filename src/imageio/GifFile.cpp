#include "imageio/GifFile.h"

#include "imageio/GifAnimation.h"
#include "imageio/ImageFormats.h"
#include "imageio/TopDownDib.h"
#include "util/CharSearch.h"

bool IsGifName(const char* path)
{
    const char* dot = FindExtensionDot(path);
    return dot && MatchFilterExtension(kGifPatterns, dot + 1);
}

HBITMAP ReadGifFirstFrame(const char* path)
{
    CGifAnimation animation;
    if (!animation.Open(path))
        return nullptr;
    if (animation.FrameCount() == 0) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    DWORD* pixels = nullptr;
    CBitmapOwner bitmap = CreateTopDownDib(animation.Width(), animation.Height(), pixels);
    if (!bitmap) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    animation.DrawFrame(0, reinterpret_cast<uint32_t*>(pixels));
    return bitmap.release();
}
