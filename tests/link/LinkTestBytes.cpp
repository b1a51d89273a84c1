#include "LinkTestBytes.h"

namespace lumidrax::test {

void Put16(ByteVec& v, int value)
{
    v.push_back(static_cast<std::uint8_t>(value & 0xFF));
    v.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void Set16(ByteVec& v, std::size_t offset, int value)
{
    v[offset] = static_cast<std::uint8_t>(value & 0xFF);
    v[offset + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

void AppendChecksum(ByteVec& v)
{
    unsigned sum = 0;
    for (std::uint8_t b : v)
        sum += b;
    Put16(v, static_cast<int>(sum & 0xFFFF));
}

} // namespace lumidrax::test
