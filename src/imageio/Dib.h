#pragma once

#include <windows.h>

#include <cstdint>

#include "scoped/ScopedHandles.h"

// A device-independent bitmap: a 40-byte BITMAPINFOHEADER, the colour table (a full
// 2^bits entries for palette images, none otherwise) and the pixel rows, each padded
// to a multiple of 4 bytes. A positive height is bottom-up, a negative one top-down;
// rows are kept in the order they came. The pixels follow the header in one malloc
// block, or lie in a DIB section: one the CDib made and owns (CreateSection, the form
// every opened picture takes) or one it only reads (FromBitmap).
//
// Const-ness covers the block's shape (header, size), not the pixels in it: a const
// CDib still hands out writable row addresses, as a const pointer owner would.
class CDib {
public:
    CDib() noexcept = default;
    ~CDib() { Release(); }
    CDib(const CDib&) = delete;
    CDib& operator=(const CDib&) = delete;

    // A fresh header and an uninitialised colour table and pixels (a block held before
    // is released first). False, and empty, when the dimensions are unusable (see
    // ImageSizeFor) or the allocation fails.
    bool Create(int width, int height, int bitsPerPixel);
    // The same for a 32-bit top-down image (see TopDownDib.h) whose pixels are a new
    // DIB section, so that the filled rows become a bitmap without a copy.
    bool CreateSection(int width, int height);
    // The section made by CreateSection, now the caller's; the CDib is empty after.
    // Null for pixels held any other way.
    HBITMAP DetachSection() noexcept;
    // On an empty CDib: the pixels of a 16-, 24- or 32-bit bitmap at the bitmap's own
    // depth. A DIB section's rows are read where they lie, in its own order, so the
    // bitmap must outlive the CDib; any other bitmap's are copied, bottom-up. False,
    // and still empty, on any failure.
    bool FromBitmap(HBITMAP hBitmap);
    void Release() noexcept;
    // The only way ownership of a block moves between two CDibs.
    void Swap(CDib& other) noexcept;

    bool IsEmpty() const noexcept { return m_pInfo == nullptr; }
    BITMAPINFOHEADER* GetInfo() const noexcept { return m_pInfo; }
    BITMAPINFO* GetBitmapInfo() const noexcept { return reinterpret_cast<BITMAPINFO*>(m_pInfo); }
    RGBQUAD* GetColorTable() const noexcept;
    BYTE* GetBits() const noexcept { return m_pBits; }

    int GetWidth() const noexcept { return m_pInfo->biWidth; }
    // Signed: negative for a top-down image.
    int GetHeight() const noexcept { return m_pInfo->biHeight; }
    int GetRowCount() const noexcept;
    int GetBitCount() const noexcept { return m_pInfo->biBitCount; }
    int GetColorCount() const noexcept { return ColorCountFor(m_pInfo->biBitCount); }

    // Bytes per row, computed once and cached.
    int GetStride() const noexcept;
    DWORD GetImageSize() const noexcept;
    DWORD GetTotalSize() const noexcept;

    // 2^bits entries for 8 bits or fewer, otherwise none.
    static int ColorCountFor(int bitsPerPixel) noexcept;
    // The pixel bytes of an image of these dimensions, or 0 when a CDib cannot hold
    // it: a width below 1, a height of 0 or INT_MIN, a depth other than 1, 2, 4, 8, 16,
    // 24 or 32, or a whole block that would not fit in a signed 32-bit size.
    static DWORD ImageSizeFor(int width, int height, int bitsPerPixel) noexcept;

private:
    bool CreateHeader(int width, int height, int bitsPerPixel, size_t pixelBytes);

    BITMAPINFOHEADER* m_pInfo = nullptr;
    CBitmapOwner m_section;
    BYTE* m_pBits = nullptr;
    mutable int32_t m_nStride = 0;
};
