#include "annotate/MosaicBlocks.h"

#include <algorithm>

#include "scoped/ScopedHandles.h"

namespace {

// The image's rows [top, bottom) as 32-bit pixels, bottom-up as GetDIBits numbers
// them: row y lies (bottom - 1 - y) rows into pixels.
bool ReadRows(HBITMAP image, int width, int height, int top, int bottom, std::vector<DWORD>& pixels)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const int rows = bottom - top;
    pixels.resize(static_cast<size_t>(width) * rows);
    const CMemoryDC dc(nullptr);
    return GetDIBits(dc, image, static_cast<UINT>(height - bottom), static_cast<UINT>(rows), pixels.data(), &info,
                     DIB_RGB_COLORS) == rows;
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
    const int top = BlockRect(0, m_nFirstRow).top;
    const int bottom = BlockRect(0, m_nLastRow - 1).bottom;
    std::vector<DWORD> pixels;
    if (!ReadRows(image, bitmap.bmWidth, bitmap.bmHeight, top, bottom, pixels))
        return false;

    const int columns = m_nLastColumn - m_nFirstColumn;
    m_means.assign(static_cast<size_t>(columns) * (m_nLastRow - m_nFirstRow), 0);
    std::vector<unsigned> sums(3 * static_cast<size_t>(columns));
    for (int row = m_nFirstRow; row < m_nLastRow; ++row) {
        const RECT rows = BlockRect(m_nFirstColumn, row);
        std::fill(sums.begin(), sums.end(), 0u);
        for (int y = rows.top; y < rows.bottom; ++y) {
            const DWORD* line = &pixels[static_cast<size_t>(bottom - 1 - y) * bitmap.bmWidth];
            for (int column = 0; column < columns; ++column) {
                const RECT cells = BlockRect(m_nFirstColumn + column, row);
                unsigned* sum = &sums[3 * static_cast<size_t>(column)];
                for (int x = cells.left; x < cells.right; ++x) {
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
