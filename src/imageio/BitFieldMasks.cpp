#include "imageio/BitFieldMasks.h"

#include <cstdint>

namespace {
constexpr int kFormatViolation = 1;
}  // namespace

CBitFieldMasks::CBitFieldMasks(DWORD dwRed, DWORD dwGreen, DWORD dwBlue, int bitsPerPixel)
    : m_red(MakeChannel(dwRed, bitsPerPixel)),
      m_green(MakeChannel(dwGreen, bitsPerPixel)),
      m_blue(MakeChannel(dwBlue, bitsPerPixel)),
      m_bytesPerPixel(bitsPerPixel / 8)
{
    if ((dwRed & dwGreen) || (dwRed & dwBlue) || (dwGreen & dwBlue))
        throw kFormatViolation;
}

CBitFieldMasks::Channel CBitFieldMasks::MakeChannel(DWORD dwMask, int bitsPerPixel)
{
    if (dwMask == 0 || (bitsPerPixel == 16 && dwMask > 0xFFFF))
        throw kFormatViolation;
    int shift = 0;
    while (!(dwMask >> shift & 1))
        ++shift;
    const DWORD dwRun = dwMask >> shift;
    // One run of ones: adding one to it carries out of every bit it has.
    if (dwRun & (dwRun + 1))
        throw kFormatViolation;
    int bits = 0;
    while (bits < 32 && (dwRun >> bits & 1))
        ++bits;
    return Channel{dwMask, shift, bits};
}

// A narrow channel repeats its bits until they fill 8 (5 bits abcde become abcdeabc),
// so that 0 and the largest value become 0 and 255; a wider one keeps its top 8 bits.
BYTE CBitFieldMasks::Channel::Scaled(DWORD dwPixel) const noexcept
{
    const DWORD dwValue = (dwPixel & dwMask) >> shift;
    uint64_t repeated = 0;
    int filled = 0;
    do {
        repeated = repeated << bits | dwValue;
        filled += bits;
    } while (filled < 8);
    return static_cast<BYTE>(repeated >> (filled - 8));
}

void CBitFieldMasks::UnpackRow(const BYTE* pStored, BYTE* pTarget, int width) const noexcept
{
    for (int x = 0; x < width; ++x, pStored += m_bytesPerPixel, pTarget += 4) {
        DWORD dwPixel = pStored[0] | pStored[1] << 8;
        if (m_bytesPerPixel == 4)
            dwPixel |= pStored[2] << 16 | static_cast<DWORD>(pStored[3]) << 24;
        pTarget[0] = m_blue.Scaled(dwPixel);
        pTarget[1] = m_green.Scaled(dwPixel);
        pTarget[2] = m_red.Scaled(dwPixel);
    }
}
