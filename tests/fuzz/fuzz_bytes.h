#pragma once
// Reads a fuzz input as a stream of raw values: bytes, little-endian integers and doubles taken
// bit for bit (so NaNs, infinities and denormals come as often as any other value). Past the
// end every value reads as zero.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

namespace quillon::fuzz {

class FuzzBytes {
 public:
  FuzzBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool empty() const { return at_ >= size_; }
  std::size_t left() const { return empty() ? 0 : size_ - at_; }

  std::uint64_t Bits(int bytes) {
    std::uint64_t v = 0;
    for (int i = 0; i < bytes && at_ < size_; ++i) v |= std::uint64_t{data_[at_++]} << (8 * i);
    return v;
  }
  std::uint8_t Byte() { return static_cast<std::uint8_t>(Bits(1)); }
  std::int32_t Int() { return static_cast<std::int32_t>(static_cast<std::uint32_t>(Bits(4))); }
  double Double() { return std::bit_cast<double>(Bits(8)); }
  // A length byte, then that many bytes (fewer at the end of the input).
  std::string Text() {
    std::string text;
    for (std::size_t n = Byte(); n > 0 && at_ < size_; --n) text.push_back(static_cast<char>(data_[at_++]));
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

}  // namespace quillon::fuzz
