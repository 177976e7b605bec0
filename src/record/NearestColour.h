#pragma once
#include <cstdint>
#include <vector>

// Finds the palette entry nearest to a colour (squared RGB distance; the lowest index among
// equals). The colour cube is cut into 32 x 32 x 32 small cubes; for each cube asked about,
// the entries that can be nearest to some colour inside it are found once (those no farther
// than the farthest corner of the entry that is closest at its farthest), and every colour
// of that cube then compares only with those few.
class CNearestColour {
public:
    explicit CNearestColour(const std::vector<uint32_t>& palette);
    uint8_t IndexOf(uint32_t colour);

private:
    struct SCandidates {
        uint32_t first = 0, count = 0;   // in m_candidates; count 0 until asked
    };
    SCandidates FindCandidates(int cube);

    std::vector<uint32_t> m_palette;
    std::vector<SCandidates> m_cubes;
    std::vector<uint8_t> m_candidates;
};
