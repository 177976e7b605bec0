#include "TallPicture.h"

namespace TallPicture {
namespace {
uint32_t Rgb(int r, int g, int b)
{
    return static_cast<uint32_t>((r & 0xFF) << 16 | (g & 0xFF) << 8 | (b & 0xFF));
}

bool InBlank(int y)
{
    for (size_t i = 0; i < sizeof kBlankStarts / sizeof kBlankStarts[0]; ++i)
        if (y >= kBlankStarts[i] && y < kBlankStarts[i] + kBlankRows[i])
            return true;
    return false;
}
}  // namespace

uint32_t HeaderPixel(int x, int y) { return Rgb(20, 40 + y * 3, 120 + x % 50); }

// Red counts the rows and green, shifted along the row, the rows by 256: two rows
// below 65,536 never match. Every column changes from row to row, so no strip of the
// picture passes for a fixed side bar.
uint32_t PagePixel(int x, int y)
{
    if (InBlank(y))
        return Rgb(244, 244, 244);
    return Rgb(y, (y >> 8) * 37 + x, x * 5 + (y >> 2));
}

uint32_t FooterPixel(int x, int y) { return Rgb(90 + x % 30, 200 - y * 2, 30); }

std::vector<uint32_t> PageRows(int left, int width, int firstRow, int count)
{
    std::vector<uint32_t> rows;
    rows.reserve(static_cast<size_t>(width) * count);
    for (int y = firstRow; y < firstRow + count; ++y)
        for (int x = left; x < left + width; ++x)
            rows.push_back(PagePixel(x, y));
    return rows;
}

std::vector<uint32_t> WholePage(int left, int width, int pageRows)
{
    std::vector<uint32_t> page;
    page.reserve(static_cast<size_t>(width) * (kHeaderRows + pageRows + kFooterRows));
    for (int y = 0; y < kHeaderRows; ++y)
        for (int x = left; x < left + width; ++x)
            page.push_back(HeaderPixel(x, y));
    const std::vector<uint32_t> picture = PageRows(left, width, 0, pageRows);
    page.insert(page.end(), picture.begin(), picture.end());
    for (int y = 0; y < kFooterRows; ++y)
        for (int x = left; x < left + width; ++x)
            page.push_back(FooterPixel(x, y));
    return page;
}
}  // namespace TallPicture
