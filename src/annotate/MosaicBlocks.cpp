#include "annotate/MosaicBlocks.h"

#include <algorithm>

#include "imageio/TopDownDib.h"
#include "scoped/ScopedHandles.h"

namespace {

// The image's pixels in area as 32-bit pixels, rows[y - area.top][x - area.left],
// in storage.
using PixelRows = std::vector<const DWORD*>;

// Copies only the area, through a DIB section of its size; the image must not be
// selected into a device context elsewhere.
bool CopyArea(HBITMAP image, const RECT& area, std::vector<DWORD>& storage, PixelRows& rows)
{
    const CMemoryDC source(nullptr);
    const CSelectObject imageSelection(source, image);
    if (!imageSelection.Succeeded())
        return false;
    const int width = area.right - area.left, height = area.bottom - area.top;
    DWORD* pixels = nullptr;
    const CBitmapOwner copy = CreateTopDownDib(width, height, pixels);
    if (!copy)
        return false;
    const CMemoryDC target(nullptr);
    const CSelectObject copySelection(target, copy.get());
    if (!BitBlt(target, 0, 0, width, height, source, area.left, area.top, SRCCOPY))
        return false;
    GdiFlush();
    storage.assign(pixels, pixels + static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        rows.push_back(&storage[static_cast<size_t>(y) * width]);
    return true;
}

// Reads whole rows, as GetDIBits must, for an image held by another device context.
bool ReadAreaRows(HBITMAP image, const BITMAP& shape, const RECT& area, std::vector<DWORD>& storage, PixelRows& rows)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = shape.bmWidth;
    info.bmiHeader.biHeight = shape.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const int height = area.bottom - area.top;
    storage.resize(static_cast<size_t>(shape.bmWidth) * height);
    const CMemoryDC dc(nullptr);
    // Bottom-up, as GetDIBits numbers the scan lines: row y lands bottom - 1 - y rows in.
    if (GetDIBits(dc, image, static_cast<UINT>(shape.bmHeight - area.bottom), static_cast<UINT>(height),
                  storage.data(), &info, DIB_RGB_COLORS) != height)
        return false;
    for (int y = area.top; y < area.bottom; ++y)
        rows.push_back(&storage[static_cast<size_t>(area.bottom - 1 - y) * shape.bmWidth + area.left]);
    return true;
}

}  // namespace

bool CMosaicBlocks::Read(HBITMAP image, const RECT& box, int block, const RECT& area)
{
    BITMAP bitmap{};
    if (block < 1 || !GetObject(image, sizeof(bitmap), &bitmap))
        return false;
    m_box = RECT{std::max(box.left, 0L), std::max(box.top, 0L), std::min(box.right, bitmap.bmWidth),
                 std::min(box.bottom, bitmap.bmHeight)};
    m_nBlock = block;
    RECT wanted{};
    if (!IntersectRect(&wanted, &m_box, &area))
        return false;
    m_nFirstColumn = (wanted.left - m_box.left) / block;
    m_nLastColumn = (wanted.right - m_box.left + block - 1) / block;
    m_nFirstRow = (wanted.top - m_box.top) / block;
    m_nLastRow = (wanted.bottom - m_box.top + block - 1) / block;
    const RECT first = BlockRect(m_nFirstColumn, m_nFirstRow);
    const RECT last = BlockRect(m_nLastColumn - 1, m_nLastRow - 1);
    const RECT read{first.left, first.top, last.right, last.bottom};
    std::vector<DWORD> storage;
    PixelRows pixels;
    if (!CopyArea(image, read, storage, pixels) && !ReadAreaRows(image, bitmap, read, storage, pixels))
        return false;

    const int columns = m_nLastColumn - m_nFirstColumn;
    m_means.assign(static_cast<size_t>(columns) * (m_nLastRow - m_nFirstRow), 0);
    std::vector<unsigned> sums(3 * static_cast<size_t>(columns));
    for (int row = m_nFirstRow; row < m_nLastRow; ++row) {
        const RECT rows = BlockRect(m_nFirstColumn, row);
        std::fill(sums.begin(), sums.end(), 0u);
        for (int y = rows.top; y < rows.bottom; ++y) {
            const DWORD* line = pixels[y - read.top];
            for (int column = 0; column < columns; ++column) {
                const RECT cells = BlockRect(m_nFirstColumn + column, row);
                unsigned* sum = &sums[3 * static_cast<size_t>(column)];
                for (int x = cells.left - read.left; x < cells.right - read.left; ++x) {
                    sum[0] += line[x] & 0xFF;
                    sum[1] += line[x] >> 8 & 0xFF;
                    sum[2] += line[x] >> 16 & 0xFF;
                }
            }
        }
        for (int column = 0; column < columns; ++column) {
            const RECT cells = BlockRect(m_nFirstColumn + column, row);
            const unsigned count = static_cast<unsigned>((cells.right - cells.left) * (cells.bottom - cells.top));
            const unsigned* sum = &sums[3 * static_cast<size_t>(column)];
            const auto mean = [count](unsigned total) { return (total + count / 2) / count; };
            m_means[static_cast<size_t>(row - m_nFirstRow) * columns + column] =
                mean(sum[0]) | mean(sum[1]) << 8 | mean(sum[2]) << 16;
        }
    }
    return true;
}

RECT CMosaicBlocks::BlockRect(int column, int row) const
{
    const LONG left = m_box.left + column * m_nBlock;
    const LONG top = m_box.top + row * m_nBlock;
    return RECT{left, top, std::min(left + m_nBlock, m_box.right), std::min(top + m_nBlock, m_box.bottom)};
}

DWORD CMosaicBlocks::Mean(int column, int row) const
{
    return m_means[static_cast<size_t>(row - m_nFirstRow) * (m_nLastColumn - m_nFirstColumn) + column -
                   m_nFirstColumn];
}
