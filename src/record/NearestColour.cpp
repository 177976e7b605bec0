#include "record/NearestColour.h"

#include <algorithm>

namespace {
constexpr int kCubeBits = 5, kCubeSide = 1 << (8 - kCubeBits);

int Channel(uint32_t colour, int channel) { return colour >> (16 - 8 * channel) & 0xFF; }

int SquaredDistance(uint32_t a, uint32_t b)
{
    int sum = 0;
    for (int c = 0; c < 3; ++c) {
        const int d = Channel(a, c) - Channel(b, c);
        sum += d * d;
    }
    return sum;
}
} // namespace

CNearestColour::CNearestColour(const std::vector<uint32_t>& palette)
    : m_palette(palette), m_cubes(size_t{1} << (3 * kCubeBits))
{
}

CNearestColour::SCandidates CNearestColour::FindCandidates(int cube)
{
    int low[3];
    for (int c = 0; c < 3; ++c)
        low[c] = (cube >> (kCubeBits * (2 - c)) & ((1 << kCubeBits) - 1)) * kCubeSide;
    // Squared distances from an entry to the cube's farthest corner, or to its nearest point.
    const auto distance = [&low](uint32_t entry, bool farthest) {
        int sum = 0;
        for (int c = 0; c < 3; ++c) {
            const int value = Channel(entry, c), high = low[c] + kCubeSide - 1;
            const int d = farthest ? std::max(value - low[c], high - value)
                                   : value < low[c] ? low[c] - value : value > high ? value - high : 0;
            sum += d * d;
        }
        return sum;
    };
    int bound = 1 << 30;
    for (const uint32_t entry : m_palette)
        bound = std::min(bound, distance(entry, true));
    SCandidates found{static_cast<uint32_t>(m_candidates.size()), 0};
    for (size_t i = 0; i < m_palette.size(); ++i)
        if (distance(m_palette[i], false) <= bound) {
            m_candidates.push_back(static_cast<uint8_t>(i));
            ++found.count;
        }
    return found;
}

uint8_t CNearestColour::IndexOf(uint32_t colour)
{
    const int cube = Channel(colour, 0) >> (8 - kCubeBits) << (2 * kCubeBits) |
                     Channel(colour, 1) >> (8 - kCubeBits) << kCubeBits | Channel(colour, 2) >> (8 - kCubeBits);
    if (!m_cubes[cube].count)
        m_cubes[cube] = FindCandidates(cube);
    const SCandidates& candidates = m_cubes[cube];
    // Candidates are in palette order, so the first of equals is the lowest index.
    uint8_t best = m_candidates[candidates.first];
    int bestDistance = SquaredDistance(m_palette[best], colour);
    for (uint32_t i = 1; i < candidates.count; ++i) {
        const uint8_t index = m_candidates[candidates.first + i];
        const int distance = SquaredDistance(m_palette[index], colour);
        if (distance < bestDistance) {
            best = index;
            bestDistance = distance;
        }
    }
    return best;
}
