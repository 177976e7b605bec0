#include "record/ColourTable.h"

namespace {
constexpr int kFirstBits = 10;
}

CColourTable::CColourTable()
    : m_keys(size_t{1} << kFirstBits), m_counts(m_keys.size()), m_indices(m_keys.size()), m_bits(kFirstBits)
{
}

size_t CColourTable::Find(uint32_t key) const
{
    const size_t mask = m_keys.size() - 1;
    size_t slot = (key * 0x9E3779B1u) >> (32 - m_bits);
    while (m_keys[slot] && m_keys[slot] != key)
        slot = (slot + 1) & mask;
    return slot;
}

void CColourTable::Add(uint32_t pixel, uint32_t pixels)
{
    const uint32_t key = Key(pixel);
    size_t slot = Find(key);
    if (!m_keys[slot]) {
        // Kept at most half full so that probes stay short.
        if (2 * (m_size + 1) > m_keys.size()) {
            Grow();
            slot = Find(key);
        }
        m_keys[slot] = key;
        ++m_size;
    }
    m_counts[slot] += pixels;
}

void CColourTable::Grow()
{
    std::vector<uint32_t> keys(m_keys.size() * 2), counts(keys.size());
    keys.swap(m_keys);
    counts.swap(m_counts);
    m_indices.assign(m_keys.size(), 0);
    ++m_bits;
    for (size_t slot = 0; slot < keys.size(); ++slot)
        if (keys[slot]) {
            const size_t to = Find(keys[slot]);
            m_keys[to] = keys[slot];
            m_counts[to] = counts[slot];
        }
}

std::vector<SColourCount> CColourTable::Colours() const
{
    std::vector<SColourCount> colours;
    colours.reserve(m_size);
    for (size_t slot = 0; slot < m_keys.size(); ++slot)
        if (m_keys[slot])
            colours.push_back({m_keys[slot] & kColourMask, m_counts[slot]});
    return colours;
}
