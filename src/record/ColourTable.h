#pragma once
#include <cstdint>
#include <vector>

// The distinct colours of a frame that has few of them, and the palette index each is drawn
// with. An open-addressing table that grows with the colours found.
class CColourTable {
public:
    CColourTable();
    // The unused top byte is ignored.
    void Add(uint32_t pixel);
    size_t Size() const { return m_size; }
    // Every distinct colour, ascending, so that a palette made of them does not depend on
    // where in the frame its colours lie.
    std::vector<uint32_t> SortedColours() const;
    // Gives every colour its index in palette, which holds them all.
    void AssignIndices(const std::vector<uint32_t>& palette);
    // The index assigned to a colour that was added.
    uint8_t IndexOf(uint32_t pixel) const { return m_indices[Find(Key(pixel))]; }

private:
    static constexpr uint32_t kColourMask = 0xFFFFFF;
    // A key is never 0, which marks an empty slot.
    static uint32_t Key(uint32_t pixel) { return (pixel & kColourMask) | 0x1000000; }
    size_t Find(uint32_t key) const;
    void Grow();

    std::vector<uint32_t> m_keys;
    std::vector<uint8_t> m_indices;
    size_t m_size = 0;
    int m_bits = 0;
};
