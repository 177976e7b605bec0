#include "imageio/BitFieldMasks.h"

#include <cstdint>

#include "imageio/Dib.h"
#include "imageio/DibRowCursor.h"

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

void CBitFieldMasks::Unpack(const CDib& source, CDib& target) const noexcept
{
    const int width = source.GetWidth();
    CDibRowCursor to(target);
    for (CDibRowCursor from(source); from.GetRow(); from.Advance(), to.Advance()) {
        const BYTE* pIn = from.GetRow();
        BYTE* pOut = to.GetRow();
        for (int x = 0; x < width; ++x, pIn += m_bytesPerPixel, pOut += 3) {
            DWORD dwPixel = pIn[0] | pIn[1] << 8;
            if (m_bytesPerPixel == 4)
                dwPixel |= pIn[2] << 16 | static_cast<DWORD>(pIn[3]) << 24;
            pOut[0] = m_blue.Scaled(dwPixel);
            pOut[1] = m_green.Scaled(dwPixel);
            pOut[2] = m_red.Scaled(dwPixel);
        }
    }
}
