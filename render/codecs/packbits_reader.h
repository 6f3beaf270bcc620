#pragma once
// The PackBits variant of the image formats. A control byte n read as signed: 0 to 127 copies
// the next n bytes, -1 to -128 repeats the next byte -n times.

#include <cstddef>
#include <cstdint>
#include <span>

namespace quillon {

class PackBitsReader {
 public:
  explicit PackBitsReader(std::span<const std::uint8_t> input) : input_(input) {}

  // Produces up to `count` bytes; fewer only when the input is used up. A literal or run that
  // goes past `count` is kept for the next call.
  std::size_t Read(std::uint8_t* out, std::size_t count);

  // Forgets what is left of the current literal or run.
  void Drop() { pending_ = 0; }

  bool AtEnd() const { return pending_ == 0 && position_ >= input_.size(); }

 private:
  std::span<const std::uint8_t> input_;
  std::size_t position_ = 0;
  std::size_t pending_ = 0;  // bytes still to come from the current control byte
  bool literal_ = false;
  std::uint8_t value_ = 0;   // the repeated byte
};

}  // namespace quillon
