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
    int rows;   // rows added to the picture
    int moved;  // how far the content moved up the screen (negative: down); 0 when not found
};

class CScrollStitcher {
public:
    static constexpr int kMinOverlapRows = 16;

    // Grabs are width x height pixels; the picture stays within maxRows and the size limit for pictures.
    CScrollStitcher(int width, int height, int maxRows = kLongshotMaxRows);

    // grab holds width * height pixels, top-down; scrolledRows is how far the driver scrolled
    // since the last grab (negative when back up), 0 when unknown. A grab that is taken is
    // copied: the caller grabs into the same buffer again.
    StitchAnswer Add(const uint32_t* grab, int scrolledRows);

    int Width() const { return m_width; }
    int RowLimit() const { return m_rowLimit; }
    // The rows of a grab that scroll: all of them until two grabs showed which stay put.
    int MovingRows() const { return m_height - m_header - m_footer; }
    // The rows kept so far (header and content, the footer comes when taken), for a preview
    // that draws what was added since it last looked. Kept rows never change or move.
    int RowCount() const { return m_rowCount; }
    const uint32_t* Row(int y) const
    {
        return m_chunks[y / kChunkRows].data() + static_cast<size_t>(y % kChunkRows) * m_width;
    }

    // The height of the picture when taken now: the rows kept and the footer.
    int PictureHeight() const;
    // Writes the picture (Width() x PictureHeight(), top-down) to pixels and leaves the
    // stitcher empty; the rows go as they are written, so the two are never held twice.
    void TakeInto(uint32_t* pixels);

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
    void Reset();

    // Kept rows lie in chunks, so that growing never copies them or holds them twice.
    static constexpr int kChunkRows = 256;

    const int m_width, m_height, m_rowLimit;
    std::vector<uint32_t> m_reference;
    std::vector<std::vector<uint32_t>> m_chunks;
    int m_rowCount = 0;
    std::vector<uint64_t> m_referenceHashes, m_grabHashes;
    bool m_referenceHashed = false;
    bool m_hasReference = false, m_fixedPartsKnown = false, m_limitReached = false;
    int m_header = 0, m_footer = 0, m_left = 0, m_right = 0;
    int m_behind = 0;  // rows kept below the reference's moving part after a scroll back
};
