#pragma once

#include "platform/Random.h"

#include <array>
#include <cstddef>
#include <cstdint>

// Draws long runs of numbers from the shared Random much faster than calling next() one by
// one: a diffuse filter on a 50 megapixel photo needs 200 million raw words, and the library's
// generator spends most of its time per call, not per word.
//
// The batch takes over the generator's state on construction and hands it back in finish()
// (or the destructor), so the numbers drawn and the generator's state afterwards are exactly
// what the same count of Random::next() calls would give. When the standard library keeps
// its state in a form we do not recognise, every word comes from the engine one call at a time.
class RandomBatch
{
public:
    explicit RandomBatch(Random &random);
    ~RandomBatch();
    RandomBatch(const RandomBatch &) = delete;
    RandomBatch &operator=(const RandomBatch &) = delete;

    // The next count raw 32-bit words of the engine, tempered, in order.
    void words(std::uint32_t *out, std::size_t count);

    // The value Random::next() makes of two successive raw words.
    static double toUnit(std::uint32_t first, std::uint32_t second)
    {
        // Both parts convert exactly and their sum is exact (53 bits), which keeps the
        // conversion vectorisable without 64-bit integer to double instructions.
        return double(first >> 5) * (1.0 / 134217728.0) + double(second >> 6) * (1.0 / 9007199254740992.0);
    }

    // Writes the state back into the Random; further words() calls are not allowed.
    void finish();

private:
    static constexpr std::size_t N = 624;
    void regenerate();

    Random &m_random;
    std::array<std::uint32_t, N> m_state{};
    std::size_t m_pos = N;
    bool m_fast = false;
    bool m_finished = false;
};
