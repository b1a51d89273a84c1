#pragma once
// SplitMix64: a tiny, well-mixed generator whose output is the same on every
// platform (std::uniform_*_distribution is not). The generators draw every
// value from the seed, a stream and an index, so that a sample's noise does
// not depend on the order of computation.

#include <cstdint>

namespace lumidrax::chartgen {

inline std::uint64_t SplitMix(std::uint64_t x)
{
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

// 53 well-mixed bits from the seed, a stream and an index.
inline std::uint64_t MixedBits(std::uint64_t seed, std::uint64_t stream, std::uint64_t index)
{
    return SplitMix(SplitMix(seed ^ (stream * 0xD1B54A32D192ED03ULL)) + index) >> 11;
}

} // namespace lumidrax::chartgen
