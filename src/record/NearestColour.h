#pragma once
#include <cstdint>
#include <vector>

// Finds the palette entry nearest to a colour (squared RGB distance; the lowest index among
// equals). The entries are kept sorted by green, so a search walks outward from the colour's
// green and stops once green alone is farther than the best match.
class CNearestColour {
public:
    explicit CNearestColour(const std::vector<uint32_t>& palette);
    uint8_t IndexOf(uint32_t colour) const;

private:
    struct SEntry {
        int red, green, blue;
        uint8_t index;
    };
    std::vector<SEntry> m_byGreen;
};
