#include "record/NearestColour.h"

#include <algorithm>

CNearestColour::CNearestColour(const std::vector<uint32_t>& palette)
{
    for (size_t i = 0; i < palette.size(); ++i)
        m_byGreen.push_back({static_cast<int>(palette[i] >> 16 & 0xFF), static_cast<int>(palette[i] >> 8 & 0xFF),
                             static_cast<int>(palette[i] & 0xFF), static_cast<uint8_t>(i)});
    std::stable_sort(m_byGreen.begin(), m_byGreen.end(),
                     [](const SEntry& a, const SEntry& b) { return a.green < b.green; });
}

uint8_t CNearestColour::IndexOf(uint32_t colour) const
{
    const int red = colour >> 16 & 0xFF, green = colour >> 8 & 0xFF, blue = colour & 0xFF;
    const auto start = std::lower_bound(m_byGreen.begin(), m_byGreen.end(), green,
                                        [](const SEntry& entry, int g) { return entry.green < g; });
    int best = 1 << 30;
    uint8_t bestIndex = 0;
    const auto consider = [&](const SEntry& entry) {
        const int dr = entry.red - red, dg = entry.green - green, db = entry.blue - blue;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < best || (distance == best && entry.index < bestIndex)) {
            best = distance;
            bestIndex = entry.index;
        }
    };
    // Ties at the same distance are taken from both sides, so the answer does not depend on
    // the walk's order.
    for (auto up = start; up != m_byGreen.end() && (up->green - green) * (up->green - green) <= best; ++up)
        consider(*up);
    for (auto down = start; down != m_byGreen.begin();) {
        --down;
        if ((green - down->green) * (green - down->green) > best)
            break;
        consider(*down);
    }
    return bestIndex;
}
