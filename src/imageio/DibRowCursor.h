#pragma once

#include <windows.h>

#include <vector>

class CDib;

// Walks the rows of a CDib in picture order, top row first, whichever way the rows
// are stored. Past the last row the address is null and the index -1.
class CDibRowCursor {
public:
    explicit CDibRowCursor(const CDib& dib) noexcept;

    BYTE* GetRow() const noexcept { return m_pRow; }
    int GetIndex() const noexcept { return m_nIndex; }
    void Advance(int nRows = 1) noexcept;

private:
    const CDib& m_dib;
    BYTE* m_pRow;
    int m_nIndex;
};

// The row addresses of a CDib in picture order, top row first, for the codecs' row calls.
std::vector<BYTE*> PictureRows(const CDib& dib);
