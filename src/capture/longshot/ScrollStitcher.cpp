#include "capture/longshot/ScrollStitcher.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "imageio/ImageSizeLimit.h"

namespace {

int RowsWithinSizeLimit(int width)
{
    const uint64_t stride24 = ((24 * uint64_t(width) + 31) >> 5) << 2;
    return static_cast<int>(std::min<uint64_t>(kMaxImageBytes / stride24, INT32_MAX));
}

}  // namespace

CScrollStitcher::CScrollStitcher(int width, int height, int maxRows)
    : m_width(width), m_height(height), m_rowLimit(std::min(maxRows, RowsWithinSizeLimit(width)))
{
}

StitchAnswer CScrollStitcher::Add(const uint32_t* grab, int scrolledRows)
{
    if (m_limitReached)
        return {StitchStep::kLimitReached, 0, 0};
    const size_t pixels = static_cast<size_t>(m_width) * m_height;
    if (!m_hasReference) {
        m_reference.assign(grab, grab + pixels);
        m_hasReference = true;
        m_referenceHashed = false;
        return {StitchStep::kAppended, 0, 0};
    }
    if (!m_fixedPartsKnown) {
        if (!FindFixedParts(grab))
            return {StitchStep::kNoMovement, 0, 0};
        m_referenceHashed = false;  // hashes are over the columns that move only
    }
    const Offset offset = FindOffset(grab, scrolledRows);
    if (!offset.found) {
        if (!m_fixedPartsKnown)
            m_header = m_footer = m_left = m_right = 0;
        return {StitchStep::kNoMatch, 0, 0};
    }
    if (offset.rows == 0)
        return {StitchStep::kNoMovement, 0, 0};

    int appended = 0;
    if (!m_fixedPartsKnown) {
        m_fixedPartsKnown = true;
        appended = Append(m_reference.data(), 0, m_height - m_footer);
    }
    // Scrolled back, the grab becomes the reference and adds nothing: every row it shows is
    // kept already. Going down again first walks over those rows, then adds what is new.
    if (offset.rows <= m_behind) {
        m_behind -= offset.rows;
    } else {
        const int fresh = offset.rows - m_behind;
        m_behind = 0;
        appended += Append(grab, m_height - m_footer - fresh, fresh);
    }
    m_reference.assign(grab, grab + pixels);
    std::swap(m_referenceHashes, m_grabHashes);
    if (m_limitReached)
        return {StitchStep::kLimitReached, appended, offset.rows};
    return {offset.rows < 0 ? StitchStep::kScrolledBack : StitchStep::kAppended, appended, offset.rows};
}

// The header and footer are the whole rows that are equal in both grabs at the top and
// bottom, the sidebars the columns equal over the rows in between. Blank page content can
// pass for a fixed part here; that costs nothing, because the header comes from the first
// grab and the footer from the last, each next to the content it showed, and every row of
// content still crosses the moving part on its way up. False when nothing changed at all.
bool CScrollStitcher::FindFixedParts(const uint32_t* grab)
{
    const size_t rowBytes = m_width * sizeof(uint32_t);
    auto sameRow = [&](int y) {
        return std::memcmp(grab + static_cast<size_t>(y) * m_width, ReferenceRow(y), rowBytes) == 0;
    };
    m_header = 0;
    while (m_header < m_height && sameRow(m_header))
        ++m_header;
    if (m_header == m_height)
        return false;
    m_footer = 0;
    while (sameRow(m_height - 1 - m_footer))
        ++m_footer;
    m_left = m_right = m_width;
    for (int y = m_header; y < m_height - m_footer; ++y) {
        const uint32_t *mine = grab + static_cast<size_t>(y) * m_width, *before = ReferenceRow(y);
        int left = 0, right = 0;
        while (left < m_left && mine[left] == before[left])
            ++left;
        while (right < m_right && mine[m_width - 1 - right] == before[m_width - 1 - right])
            ++right;
        m_left = std::min(m_left, left);
        m_right = std::min(m_right, right);
    }
    return true;
}

void CScrollStitcher::HashRows(const uint32_t* grab, std::vector<uint64_t>& hashes) const
{
    constexpr uint64_t kPrime = 0x100000001B3u;
    const int columns = m_width - m_left - m_right, eights = columns / 8;
    auto pair = [](const uint32_t* p) { return uint64_t(p[0]) << 32 | p[1]; };
    hashes.resize(m_height);
    for (int y = 0; y < m_height; ++y) {
        const uint32_t* const row = grab + static_cast<size_t>(y) * m_width + m_left;
        // Four independent lanes of two pixels each, so that the multiplications overlap.
        uint64_t a = 0x9E3779B97F4A7C15u, b = 0xC2B2AE3D27D4EB4Fu, c = 0x165667B19E3779F9u, d = 0x27D4EB2F165667C5u;
        for (const uint32_t* p = row; p < row + 8 * eights; p += 8) {
            a = (a ^ pair(p)) * kPrime;
            b = (b ^ pair(p + 2)) * kPrime;
            c = (c ^ pair(p + 4)) * kPrime;
            d = (d ^ pair(p + 6)) * kPrime;
        }
        for (int x = 8 * eights; x < columns; ++x)
            a = (a ^ row[x]) * kPrime;
        hashes[y] = a ^ b * 0xFF51AFD7ED558CCDu ^ c * 0xC4CEB9FE1A85EC53u ^ d;
    }
}

// offset > 0: row y of the grab shows what row y + offset of the reference showed.
bool CScrollStitcher::Overlaps(const uint32_t* grab, int offset, bool exactly) const
{
    const int top = m_header, moving = m_height - m_header - m_footer;
    const int shift = std::abs(offset), grabFirst = offset < 0 ? shift : 0, referenceFirst = offset > 0 ? shift : 0;
    const size_t columnBytes = (m_width - m_left - m_right) * sizeof(uint32_t);
    for (int i = 0; i < moving - shift; ++i) {
        const int grabRow = top + grabFirst + i, referenceRow = top + referenceFirst + i;
        if (!exactly ? m_grabHashes[grabRow] != m_referenceHashes[referenceRow]
                     : std::memcmp(grab + static_cast<size_t>(grabRow) * m_width + m_left,
                                   ReferenceRow(referenceRow) + m_left, columnBytes) != 0)
            return false;
    }
    return true;
}

// Several offsets fit where the content repeats (a blank area taller than the overlap).
// The distance the driver scrolled decides. Without it, the smallest offset forward: any
// offset that fits keeps every row of both grabs, in order; the smallest checks the most
// rows and, where rows repeat, adds the fewest copies of them.
CScrollStitcher::Offset CScrollStitcher::FindOffset(const uint32_t* grab, int scrolledRows)
{
    const int moving = m_height - m_header - m_footer, farthest = moving - kMinOverlapRows;
    // The distance scrolled, when it fits exactly, is the answer at once: no other offset
    // comes nearer to it, and checking it costs less than hashing the grab.
    if (scrolledRows != 0 && std::abs(scrolledRows) <= farthest && Overlaps(grab, scrolledRows, true)) {
        m_referenceHashed = false;  // the grab, which becomes the reference, was not hashed
        return {true, scrolledRows};
    }
    if (!m_referenceHashed)
        HashRows(m_reference.data(), m_referenceHashes);
    HashRows(grab, m_grabHashes);
    m_referenceHashed = true;  // once the grab is the reference
    std::vector<std::pair<int, int>> candidates;  // (cost, offset)
    for (int offset = -farthest; offset <= farthest; ++offset)
        if (Overlaps(grab, offset, false)) {
            const int cost = scrolledRows != 0 ? std::abs(offset - scrolledRows) : offset >= 0 ? offset : moving - offset;
            candidates.emplace_back(cost, offset);
        }
    std::sort(candidates.begin(), candidates.end());
    for (const auto& candidate : candidates)
        if (Overlaps(grab, candidate.second, true))
            return {true, candidate.second};
    return {false, 0};
}

int CScrollStitcher::Append(const uint32_t* grab, int firstRow, int count)
{
    const int room = m_rowLimit - m_footer - m_rowCount;
    if (count > room) {
        count = std::max(room, 0);
        m_limitReached = true;
    }
    const size_t rowPixels = m_width;
    for (int i = 0; i < count; ++i, ++m_rowCount) {
        if (m_rowCount % kChunkRows == 0) {
            m_chunks.emplace_back();
            m_chunks.back().reserve(rowPixels * kChunkRows);
        }
        const uint32_t* row = grab + (firstRow + i) * rowPixels;
        m_chunks.back().insert(m_chunks.back().end(), row, row + rowPixels);
    }
    return count;
}

int CScrollStitcher::PictureHeight() const
{
    if (!m_hasReference)
        return m_rowCount;
    return m_rowCount + (m_fixedPartsKnown ? m_footer : std::min(m_height, m_rowLimit));
}

void CScrollStitcher::TakeInto(uint32_t* pixels)
{
    if (m_hasReference && !m_fixedPartsKnown)
        Append(m_reference.data(), 0, m_height);  // a single grab is all header
    for (std::vector<uint32_t>& chunk : m_chunks) {
        pixels = std::copy(chunk.begin(), chunk.end(), pixels);
        std::vector<uint32_t>().swap(chunk);
    }
    if (m_hasReference && m_fixedPartsKnown)
        std::copy(ReferenceRow(m_height - m_footer), ReferenceRow(m_height), pixels);
    Reset();
}

void CScrollStitcher::Reset()
{
    m_chunks.clear();
    m_rowCount = 0;
    m_reference.clear();
    m_hasReference = m_fixedPartsKnown = m_limitReached = m_referenceHashed = false;
    m_header = m_footer = m_left = m_right = m_behind = 0;
}
