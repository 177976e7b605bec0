#pragma once
#include <cstdint>
#include <vector>

struct SColourCount {
    uint32_t colour; // 0x00RRGGBB
    uint32_t count;
};

// The distinct colours of a frame with the number of pixels of each, and later the palette
// index each one is drawn with. An open-addressing table that grows with the colours found,
// so screen content with a few hundred colours stays within a few kilobytes.
class CColourTable {
public:
    CColourTable();
    // Counts pixels of one colour; the unused top byte is ignored.
    void Add(uint32_t pixel, uint32_t pixels);
    size_t Size() const { return m_size; }
    // Every distinct colour with its count, in no particular order.
    std::vector<SColourCount> Colours() const;
    // The index of every colour, from a palette that covers them all.
    template <typename Choose>
    void AssignIndices(Choose&& chooseIndex)
    {
        for (size_t slot = 0; slot < m_keys.size(); ++slot)
            if (m_keys[slot])
                m_indices[slot] = chooseIndex(m_keys[slot] & kColourMask);
    }
    // The index assigned to a colour that was added.
    uint8_t IndexOf(uint32_t pixel) const { return m_indices[Find(Key(pixel))]; }

private:
    static constexpr uint32_t kColourMask = 0xFFFFFF;
    // A key is never 0, which marks an empty slot.
    static uint32_t Key(uint32_t pixel) { return (pixel & kColourMask) | 0x1000000; }
    size_t Find(uint32_t key) const;
    void Grow();

    std::vector<uint32_t> m_keys;
    std::vector<uint32_t> m_counts;
    std::vector<uint8_t> m_indices;
    size_t m_size = 0;
    int m_bits = 0;
};
