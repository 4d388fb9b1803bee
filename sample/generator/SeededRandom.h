#pragma once

#include <cstddef>
#include <cstdint>
#include <random>

namespace pelko::sample {

// Small wrapper around std::mt19937 whose results are the same with every standard library.
// std::uniform_int_distribution is avoided on purpose: its algorithm is implementation-defined,
// so the same seed could give different files on different compilers.
class SeededRandom
{
public:
    explicit SeededRandom(std::uint32_t seed) : m_engine(seed) {}

    // A value in [0, n) for n > 0 (multiply-shift; the bias is far too small to matter here).
    int below(int n)
    {
        const std::uint64_t word = static_cast<std::uint32_t>(m_engine());
        return static_cast<int>((word * static_cast<std::uint64_t>(n)) >> 32);
    }

    // A value in [low, high].
    int between(int low, int high) { return low + below(high - low + 1); }

    // True with a probability of perMille / 1000.
    bool chance(int perMille) { return below(1000) < perMille; }

    template <typename T, std::size_t N> const T &pick(const T (&items)[N])
    {
        return items[below(static_cast<int>(N))];
    }

private:
    std::mt19937 m_engine;
};

} // namespace pelko::sample
