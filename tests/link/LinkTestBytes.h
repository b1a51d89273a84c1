#pragma once
// Small helpers for laying out instrument blocks by hand in the tests.

#include <cstdint>
#include <span>
#include <vector>

namespace lumidrax::test {

using ByteVec = std::vector<std::uint8_t>;

// Appends a 16-bit value, low byte first.
void Put16(ByteVec& v, int value);
// Overwrites a 16-bit value at an offset.
void Set16(ByteVec& v, std::size_t offset, int value);
// Appends the checksum: the sum of every byte so far, modulo 65536.
void AppendChecksum(ByteVec& v);

inline std::span<const std::uint8_t> Span(const ByteVec& v)
{
    return {v.data(), v.size()};
}

} // namespace lumidrax::test
