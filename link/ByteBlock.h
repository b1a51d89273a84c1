#pragma once
// Read access to the received bytes of one block. Every accessor checks the
// offset against the received count: a byte beyond it reads as 0, so no
// count inside the data can make a decoder read past what arrived. The
// decoders check lengths themselves before they rely on a field.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace lumidrax {

class ByteBlock {
  public:
    explicit ByteBlock(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t Size() const { return bytes_.size(); }
    bool Has(std::size_t offset, std::size_t count) const
    {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }

    int U8(std::size_t offset) const { return offset < bytes_.size() ? bytes_[offset] : 0; }
    // Unsigned 16-bit value, low byte first.
    int U16(std::size_t offset) const { return U8(offset) | (U8(offset + 1) << 8); }
    // Signed pair (v, s): v - 256 when s is 255, otherwise v.
    int SignedPair(std::size_t offset) const { return U8(offset + 1) == 255 ? U8(offset) - 256 : U8(offset); }
    // IEEE 754 single precision, little-endian.
    float Single(std::size_t offset) const
    {
        const std::uint32_t bits =
            static_cast<std::uint32_t>(U16(offset)) | (static_cast<std::uint32_t>(U16(offset + 2)) << 16);
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    // Sum of the bytes [from, to) modulo 65536.
    int Sum16(std::size_t from, std::size_t to) const
    {
        unsigned sum = 0;
        for (std::size_t k = from; k < to && k < bytes_.size(); ++k)
            sum += bytes_[k];
        return static_cast<int>(sum & 0xFFFFu);
    }

  private:
    std::span<const std::uint8_t> bytes_;
};

} // namespace lumidrax
