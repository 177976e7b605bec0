#pragma once
// Joins the grabs of a scrolled selection into one tall picture, a grab at a time: the
// rows that stay put (header, footer) are kept once, the columns that stay put at the
// sides are left out of matching, and a step is taken only where every pixel of at least
// kMinOverlapRows rows of the moving part agrees with the previous grab.
#include <cstdint>
#include <vector>

constexpr int kLongshotMaxRows = 30000;

enum class StitchStep {
    kAppended,      // the view moved down the page; rows says how many new rows were added (0 for the first grab)
    kScrolledBack,  // the view moved back up: nothing added; going down again first walks over kept rows
    kNoMovement,    // the moving part is as it was: the end of the page
    kNoMatch,       // no exact overlap (too far, or something animates): the grab is dropped
    kLimitReached,  // the picture is as tall as allowed; what fitted was added
};

struct StitchAnswer {
    StitchStep step;
    int rows;
};

struct StitchedPicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // top-down, width * height
};

class CScrollStitcher {
public:
    static constexpr int kMinOverlapRows = 16;

    // Grabs are width x height pixels; the picture stays within maxRows and the size limit for pictures.
    CScrollStitcher(int width, int height, int maxRows = kLongshotMaxRows);

    // grab holds width * height pixels; scrolledRows is how far the driver scrolled since the
    // last grab (negative when back up), 0 when unknown. A grab that is taken becomes the reference without a copy:
    // grab comes back holding the previous reference's buffer, to grab into next.
    StitchAnswer Add(std::vector<uint32_t>& grab, int scrolledRows);

    int RowLimit() const { return m_rowLimit; }
    // The rows kept so far (header and content, the footer comes at Take), for a preview
    // that draws what was added since it last looked. Valid until the next Add.
    int RowCount() const { return static_cast<int>(m_rows.size() / m_width); }
    const uint32_t* Row(int y) const { return m_rows.data() + static_cast<size_t>(y) * m_width; }

    // Hands the picture over (with the footer) and leaves the stitcher empty.
    StitchedPicture Take();

private:
    struct Offset {
        bool found;
        int rows;  // > 0: the content moved up the screen by that many rows (scrolled down)
    };

    bool FindFixedParts(const uint32_t* grab);
    void HashRows(const uint32_t* grab, std::vector<uint64_t>& hashes) const;
    Offset FindOffset(const uint32_t* grab, int scrolledRows);
    bool Overlaps(const uint32_t* grab, int offset, bool exactly) const;
    int Append(const uint32_t* grab, int firstRow, int count);
    const uint32_t* ReferenceRow(int y) const { return m_reference.data() + static_cast<size_t>(y) * m_width; }

    const int m_width, m_height, m_rowLimit;
    std::vector<uint32_t> m_reference, m_rows;
    std::vector<uint64_t> m_referenceHashes, m_grabHashes;
    bool m_referenceHashed = false;
    bool m_hasReference = false, m_fixedPartsKnown = false, m_limitReached = false;
    int m_header = 0, m_footer = 0, m_left = 0, m_right = 0;
    int m_behind = 0;  // rows kept below the reference's moving part after a scroll back
};
