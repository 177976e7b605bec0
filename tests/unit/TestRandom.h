#pragma once

#include <cstdint>

// A small deterministic generator for the damage tests: the same seed gives the same
// damaged copies on every run.
class CTestRandom {
public:
    explicit CTestRandom(uint32_t seed) : m_state(seed) {}
    // A number below bound (which is above 0).
    uint32_t Next(uint32_t bound)
    {
        m_state = m_state * 1664525u + 1013904223u;
        return static_cast<uint32_t>((uint64_t{m_state >> 8} * bound) >> 24);
    }

private:
    uint32_t m_state;
};
