#pragma once
// The known page a long screenshot is checked against: a header band, a tall picture
// whose every row differs from every other except inside a few short blank blocks
// (runs of identical rows, as a page's empty lines), and a footer band. The tall-page
// program paints it and the tests compute what the stitched result must be from it.
#include <cstdint>
#include <vector>

namespace TallPicture {
constexpr int kHeaderRows = 37;
constexpr int kFooterRows = 29;
// The blank blocks start this many rows into the picture, each kBlankRows[i] tall.
constexpr int kBlankStarts[] = {1210, 2603, 4150};
constexpr int kBlankRows[] = {33, 12, 39};

// 0x00RRGGBB pixels at column x of row y of each part.
uint32_t HeaderPixel(int x, int y);
uint32_t PagePixel(int x, int y);
uint32_t FooterPixel(int x, int y);

// Columns [left, left + width) of header, all pageRows rows of the picture and footer,
// top-down: what a long screenshot of the whole page over those columns holds.
std::vector<uint32_t> WholePage(int left, int width, int pageRows);
// Columns [left, left + width) of rows [firstRow, firstRow + count) of the picture alone.
std::vector<uint32_t> PageRows(int left, int width, int firstRow, int count);
}  // namespace TallPicture
