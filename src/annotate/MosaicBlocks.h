#pragma once
#include <windows.h>

#include <vector>

// The blocks of a mosaic, each the mean colour of the image's own pixels under it. The
// blocks run from the top-left of the mosaic's box (whole image pixels inside the
// image); the last column and row are cut short by the box.
class CMosaicBlocks {
public:
    // Reads the blocks of box, block pixels square, that meet area (both in image
    // pixels) from image's pixels. False when no block meets area or the pixels
    // cannot be read.
    bool Read(HBITMAP image, const RECT& box, int block, const RECT& area);

    // The blocks read, as columns and rows of the mosaic: [first, last).
    int FirstColumn() const { return m_nFirstColumn; }
    int LastColumn() const { return m_nLastColumn; }
    int FirstRow() const { return m_nFirstRow; }
    int LastRow() const { return m_nLastRow; }
    // The block's pixels, within the box.
    RECT BlockRect(int column, int row) const;
    // The block's mean as a DIB pixel (0x00RRGGBB).
    DWORD Mean(int column, int row) const;

private:
    RECT m_box{};
    int m_nBlock = 1;
    int m_nFirstColumn = 0, m_nLastColumn = 0, m_nFirstRow = 0, m_nLastRow = 0;
    std::vector<DWORD> m_means;  // row by row over the blocks read
};
