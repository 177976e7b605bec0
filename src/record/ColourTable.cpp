#include "record/ColourTable.h"

#include <algorithm>

namespace {
constexpr int kFirstBits = 10;
}

CColourTable::CColourTable() : m_keys(size_t{1} << kFirstBits), m_indices(m_keys.size()), m_bits(kFirstBits) {}

size_t CColourTable::Find(uint32_t key) const
{
    const size_t mask = m_keys.size() - 1;
    size_t slot = (key * 0x9E3779B1u) >> (32 - m_bits);
    while (m_keys[slot] && m_keys[slot] != key)
        slot = (slot + 1) & mask;
    return slot;
}

void CColourTable::Add(uint32_t pixel)
{
    const uint32_t key = Key(pixel);
    size_t slot = Find(key);
    if (m_keys[slot])
        return;
    // Kept at most half full so that probes stay short.
    if (2 * (m_size + 1) > m_keys.size()) {
        Grow();
        slot = Find(key);
    }
    m_keys[slot] = key;
    ++m_size;
}

void CColourTable::Grow()
{
    std::vector<uint32_t> keys(m_keys.size() * 2);
    keys.swap(m_keys);
    m_indices.assign(m_keys.size(), 0);
    ++m_bits;
    for (const uint32_t key : keys)
        if (key)
            m_keys[Find(key)] = key;
}

std::vector<uint32_t> CColourTable::SortedColours() const
{
    std::vector<uint32_t> colours;
    colours.reserve(m_size);
    for (const uint32_t key : m_keys)
        if (key)
            colours.push_back(key & kColourMask);
    std::sort(colours.begin(), colours.end());
    return colours;
}

void CColourTable::AssignIndices(const std::vector<uint32_t>& palette)
{
    for (size_t slot = 0; slot < m_keys.size(); ++slot)
        if (m_keys[slot])
            m_indices[slot] = static_cast<uint8_t>(
                std::lower_bound(palette.begin(), palette.end(), m_keys[slot] & kColourMask) - palette.begin());
}
