#include "imageio/DibConversion.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

#include "imageio/Dib.h"
#include "imageio/DibRowCursor.h"

namespace {

// Indices of 1, 2, 4 or 8 bits, the leftmost pixel in the most significant bits.
void ExpandIndexedRow(const BYTE* pSource, BYTE* pTarget, int targetStep, int width, int bitsPerPixel,
                      const RGBQUAD* pColors)
{
    const unsigned mask = (1u << bitsPerPixel) - 1;
    int shift = 8 - bitsPerPixel;
    for (int x = 0; x < width; ++x, pTarget += targetStep) {
        const RGBQUAD& color = pColors[(*pSource >> shift) & mask];
        pTarget[0] = color.rgbBlue;
        pTarget[1] = color.rgbGreen;
        pTarget[2] = color.rgbRed;
        shift -= bitsPerPixel;
        if (shift < 0) {
            shift = 8 - bitsPerPixel;
            ++pSource;
        }
    }
}

// v * 255 / 31, truncating, for each 5-bit value.
constexpr std::array<BYTE, 32> kFiveBitScale = [] {
    std::array<BYTE, 32> scale = {};
    for (unsigned v = 0; v < 32; ++v)
        scale[v] = static_cast<BYTE>(v * 255 / 31);
    return scale;
}();

void ExpandRgb555Row(const BYTE* pSource, BYTE* pTarget, int targetStep, int width)
{
    for (int x = 0; x < width; ++x, pSource += 2, pTarget += targetStep) {
        const unsigned word = pSource[0] | (pSource[1] << 8);
        pTarget[0] = kFiveBitScale[word & 31];
        pTarget[1] = kFiveBitScale[(word >> 5) & 31];
        pTarget[2] = kFiveBitScale[(word >> 10) & 31];
    }
}

void CopyThreeBytesRow(const BYTE* pSource, int sourceStep, BYTE* pTarget, int targetStep, int width)
{
    for (int x = 0; x < width; ++x, pSource += sourceStep, pTarget += targetStep) {
        pTarget[0] = pSource[0];
        pTarget[1] = pSource[1];
        pTarget[2] = pSource[2];
    }
}

}  // namespace

void ExpandRowToBgr(const BYTE* pSource, int bitsPerPixel, const RGBQUAD* pColors, BYTE* pTarget, int targetStep,
                    int width)
{
    switch (bitsPerPixel) {
    case 1: case 2: case 4: case 8:
        ExpandIndexedRow(pSource, pTarget, targetStep, width, bitsPerPixel, pColors);
        break;
    case 16:
        ExpandRgb555Row(pSource, pTarget, targetStep, width);
        break;
    case 24:
        if (targetStep == 3)
            std::memcpy(pTarget, pSource, 3 * static_cast<size_t>(width));
        else
            CopyThreeBytesRow(pSource, 3, pTarget, targetStep, width);
        break;
    case 32:
        CopyThreeBytesRow(pSource, 4, pTarget, targetStep, width);
        break;
    }
}

void ConvertTo24Bit(const CDib& source, CDib& target)
{
    if (source.IsEmpty() || target.IsEmpty())
        return;
    const int width = std::min(source.GetWidth(), target.GetWidth());
    const int bitsPerPixel = source.GetBitCount();
    const RGBQUAD* pColors = source.GetColorTable();
    for (CDibRowCursor from(source), to(target); from.GetRow() && to.GetRow(); from.Advance(), to.Advance())
        ExpandRowToBgr(from.GetRow(), bitsPerPixel, pColors, to.GetRow(), 3, width);
}

const CDib& DirectOr24BitCopy(const CDib& source, CDib& converted)
{
    if (source.GetBitCount() == 24 || source.GetBitCount() == 32)
        return source;
    if (!converted.Create(source.GetWidth(), source.GetRowCount(), 24))
        throw std::bad_alloc();
    ConvertTo24Bit(source, converted);
    converted.GetInfo()->biXPelsPerMeter = source.GetInfo()->biXPelsPerMeter;
    converted.GetInfo()->biYPelsPerMeter = source.GetInfo()->biYPelsPerMeter;
    return converted;
}
