#include "imageio/DibRowCursor.h"

#include "imageio/Dib.h"

namespace {

// Address step from one picture row to the next: bottom-up rows go backwards in memory.
ptrdiff_t RowStep(const CDib& dib) noexcept
{
    return dib.GetHeight() > 0 ? -ptrdiff_t{dib.GetStride()} : ptrdiff_t{dib.GetStride()};
}

}  // namespace

CDibRowCursor::CDibRowCursor(const CDib& dib) noexcept : m_dib(dib), m_pRow(nullptr), m_nIndex(-1)
{
    if (dib.IsEmpty())
        return;
    m_nIndex = 0;
    m_pRow = dib.GetBits();
    if (dib.GetHeight() > 0)
        m_pRow += ptrdiff_t{dib.GetRowCount() - 1} * dib.GetStride();
}

void CDibRowCursor::Advance(int nRows) noexcept
{
    if (m_nIndex < 0)
        return;
    if (nRows >= m_dib.GetRowCount() - m_nIndex) {
        m_pRow = nullptr;
        m_nIndex = -1;
        return;
    }
    m_nIndex += nRows;
    m_pRow += nRows * RowStep(m_dib);
}

std::vector<BYTE*> PictureRows(const CDib& dib)
{
    std::vector<BYTE*> rows;
    rows.reserve(static_cast<size_t>(dib.GetRowCount()));
    for (CDibRowCursor row(dib); row.GetRow(); row.Advance())
        rows.push_back(row.GetRow());
    return rows;
}
