#include "imageio/Dib.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "imageio/TopDownDib.h"
#include "scoped/ScopedHandles.h"

namespace {

int64_t StrideFor(int width, int bitsPerPixel) noexcept
{
    return ((int64_t{bitsPerPixel} * width + 31) >> 3) & ~int64_t{3};
}

bool IsSupportedDepth(int bitsPerPixel) noexcept
{
    switch (bitsPerPixel) {
    case 1: case 2: case 4: case 8: case 16: case 24: case 32:
        return true;
    default:
        return false;
    }
}

// GetObject gives no DIB section's row order (its height is always positive), so it is
// read off the pixels: GDI's top row is the first row of the bits of a top-down section
// and the last of a bottom-up one. A pair of rows that read alike decides nothing, and
// a picture whose every pair does is the same either way up.
bool IsTopDownSection(HBITMAP hBitmap, const BITMAP& shape)
{
    const int height = shape.bmHeight;
    const size_t stride = static_cast<size_t>(shape.bmWidthBytes);
    const size_t used = (static_cast<size_t>(shape.bmWidth) * shape.bmBitsPixel + 7) / 8;
    std::vector<BYTE> row(stride);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = shape.bmWidth;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = shape.bmBitsPixel;
    info.bmiHeader.biCompression = BI_RGB;
    const BYTE* bits = static_cast<const BYTE*>(shape.bmBits);
    CScreenDC screen;
    for (int y = 0; y < (height + 1) / 2; ++y) {
        // Scan lines count from the bottom: picture row y is line height - 1 - y.
        if (::GetDIBits(screen, hBitmap, static_cast<UINT>(height - 1 - y), 1, row.data(), &info, DIB_RGB_COLORS) != 1)
            break;
        const bool bFirst = std::memcmp(row.data(), bits + stride * y, used) == 0;
        const bool bLast = std::memcmp(row.data(), bits + stride * (height - 1 - y), used) == 0;
        if (bFirst != bLast)
            return bFirst;
    }
    return true;
}

}  // namespace

int CDib::ColorCountFor(int bitsPerPixel) noexcept
{
    return bitsPerPixel <= 8 ? 1 << bitsPerPixel : 0;
}

DWORD CDib::ImageSizeFor(int width, int height, int bitsPerPixel) noexcept
{
    if (width < 1 || height == 0 || height == INT_MIN || !IsSupportedDepth(bitsPerPixel))
        return 0;
    const int64_t stride = StrideFor(width, bitsPerPixel);
    if (stride > INT_MAX)
        return 0;
    const int64_t imageSize = stride * (height < 0 ? -int64_t{height} : height);
    const int64_t totalSize = int64_t{sizeof(BITMAPINFOHEADER)} + 4 * ColorCountFor(bitsPerPixel) + imageSize;
    return totalSize <= INT_MAX ? static_cast<DWORD>(imageSize) : 0;
}

bool CDib::CreateHeader(int width, int height, int bitsPerPixel, size_t pixelBytes)
{
    const int nColors = ColorCountFor(bitsPerPixel);
    const size_t headerSize = sizeof(BITMAPINFOHEADER) + 4 * static_cast<size_t>(nColors);
    auto* pBlock = static_cast<BYTE*>(std::malloc(headerSize + pixelBytes));
    if (!pBlock)
        return false;

    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bitsPerPixel);
    header.biCompression = BI_RGB;
    header.biClrUsed = static_cast<DWORD>(nColors);
    std::memcpy(pBlock, &header, sizeof header);

    m_pInfo = reinterpret_cast<BITMAPINFOHEADER*>(pBlock);
    m_pBits = pBlock + headerSize;
    m_nStride = 0;
    return true;
}

bool CDib::Create(int width, int height, int bitsPerPixel)
{
    Release();  // a block still held would otherwise be lost
    const DWORD dwImageSize = ImageSizeFor(width, height, bitsPerPixel);
    return dwImageSize != 0 && CreateHeader(width, height, bitsPerPixel, dwImageSize);
}

bool CDib::CreateSection(int width, int height)
{
    Release();
    if (ImageSizeFor(width, height, 32) == 0)
        return false;
    DWORD* pixels = nullptr;
    CBitmapOwner section = CreateTopDownDib(width, height, pixels);
    if (!section || !CreateHeader(width, -height, 32, 0))
        return false;
    m_pBits = reinterpret_cast<BYTE*>(pixels);
    m_section = std::move(section);
    return true;
}

HBITMAP CDib::DetachSection() noexcept
{
    HBITMAP section = m_section.release();
    if (section)
        Release();
    return section;
}

bool CDib::FromBitmap(HBITMAP hBitmap)
{
    DIBSECTION section = {};
    const int objectSize = ::GetObjectA(hBitmap, sizeof section, &section);
    if (!objectSize)
        return false;
    const BITMAP& bitmap = section.dsBm;
    // Palette bitmaps cannot be saved.
    if (bitmap.bmBitsPixel <= 8)
        return false;

    CDib fetched;
    if (objectSize == sizeof section && bitmap.bmBits && section.dsBmih.biCompression == BI_RGB) {
        // What GDI has still to draw into the section must be there before it is read.
        ::GdiFlush();
        const int height = IsTopDownSection(hBitmap, bitmap) ? -bitmap.bmHeight : bitmap.bmHeight;
        if (!fetched.CreateHeader(bitmap.bmWidth, height, bitmap.bmBitsPixel, 0))
            return false;
        fetched.m_pBits = static_cast<BYTE*>(bitmap.bmBits);
    } else {
        if (!fetched.Create(bitmap.bmWidth, bitmap.bmHeight, bitmap.bmBitsPixel))
            return false;
        CScreenDC screen;
        if (!screen || !::GetDIBits(screen, hBitmap, 0, static_cast<UINT>(bitmap.bmHeight), fetched.m_pBits,
                                    fetched.GetBitmapInfo(), DIB_RGB_COLORS))
            return false;
    }
    Swap(fetched);
    return true;
}

void CDib::Release() noexcept
{
    m_section.reset();
    std::free(m_pInfo);
    m_pInfo = nullptr;
    m_pBits = nullptr;
    m_nStride = 0;
}

void CDib::Swap(CDib& other) noexcept
{
    std::swap(m_pInfo, other.m_pInfo);
    std::swap(m_pBits, other.m_pBits);
    std::swap(m_section, other.m_section);
    std::swap(m_nStride, other.m_nStride);
}

RGBQUAD* CDib::GetColorTable() const noexcept
{
    return reinterpret_cast<RGBQUAD*>(reinterpret_cast<BYTE*>(m_pInfo) + m_pInfo->biSize);
}

int CDib::GetRowCount() const noexcept
{
    return m_pInfo->biHeight < 0 ? -m_pInfo->biHeight : m_pInfo->biHeight;
}

int CDib::GetStride() const noexcept
{
    if (m_nStride == 0)
        m_nStride = static_cast<int32_t>(StrideFor(m_pInfo->biWidth, m_pInfo->biBitCount));
    return m_nStride;
}

DWORD CDib::GetImageSize() const noexcept
{
    return static_cast<DWORD>(GetStride()) * static_cast<DWORD>(GetRowCount());
}

DWORD CDib::GetTotalSize() const noexcept
{
    return m_pInfo->biSize + 4 * static_cast<DWORD>(GetColorCount()) + GetImageSize();
}
