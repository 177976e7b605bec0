#include "imageio/Dib.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

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

bool CDib::Create(int width, int height, int bitsPerPixel)
{
    Release();  // a block still held would otherwise be lost
    const DWORD dwImageSize = ImageSizeFor(width, height, bitsPerPixel);
    if (dwImageSize == 0)
        return false;
    const int nColors = ColorCountFor(bitsPerPixel);
    const size_t headerSize = sizeof(BITMAPINFOHEADER) + 4 * static_cast<size_t>(nColors);
    auto* pBlock = static_cast<BYTE*>(std::malloc(headerSize + dwImageSize));
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

bool CDib::FromBitmap(HBITMAP hBitmap)
{
    BITMAP bitmap = {};
    if (!::GetObjectA(hBitmap, sizeof bitmap, &bitmap))
        return false;
    // Palette bitmaps cannot be saved.
    if (bitmap.bmBitsPixel <= 8)
        return false;

    CDib fetched;
    if (!fetched.Create(bitmap.bmWidth, bitmap.bmHeight, bitmap.bmBitsPixel))
        return false;
    CScreenDC screen;
    if (!screen || !::GetDIBits(screen, hBitmap, 0, static_cast<UINT>(bitmap.bmHeight), fetched.m_pBits,
                                      fetched.GetBitmapInfo(), DIB_RGB_COLORS))
        return false;
    Swap(fetched);
    return true;
}

void CDib::Release() noexcept
{
    std::free(m_pInfo);
    m_pInfo = nullptr;
    m_pBits = nullptr;
    m_nStride = 0;
}

void CDib::Swap(CDib& other) noexcept
{
    std::swap(m_pInfo, other.m_pInfo);
    std::swap(m_pBits, other.m_pBits);
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
