#pragma once
// Bounds-checked little-endian reader over an untrusted byte range (a mapped KPZ file).
// Every read of file bytes goes through this class. A read that does not fit marks the
// reader as failed (sticky), yields zero and leaves the position at the end of the range,
// so a handler can read all its operands and check ok() once.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace quillon {

class ByteReader {
 public:
  ByteReader() = default;
  explicit ByteReader(std::span<const std::uint8_t> bytes, std::size_t position = 0)
      : bytes_(bytes), pos_(position <= bytes.size() ? position : bytes.size()),
        failed_(position > bytes.size()) {}

  std::span<const std::uint8_t> bytes() const { return bytes_; }
  std::size_t position() const { return pos_; }
  std::size_t size() const { return bytes_.size(); }
  std::size_t remaining() const { return bytes_.size() - pos_; }
  bool ok() const { return !failed_; }
  bool has(std::uint64_t n) const { return n <= remaining(); }

  // Moves to an absolute position; a position beyond the end fails.
  bool seek(std::uint64_t position) {
    if (position > bytes_.size()) return fail();
    pos_ = static_cast<std::size_t>(position);
    return true;
  }
  bool skip(std::uint64_t n) {
    if (!has(n)) return fail();
    pos_ += static_cast<std::size_t>(n);
    return true;
  }

  std::uint8_t u8() { return take<std::uint8_t>(); }
  std::int8_t i8() { return static_cast<std::int8_t>(take<std::uint8_t>()); }
  std::uint16_t u16() { return take<std::uint16_t>(); }
  std::int16_t i16() { return static_cast<std::int16_t>(take<std::uint16_t>()); }
  std::uint32_t u32() { return take<std::uint32_t>(); }
  std::int32_t i32() { return static_cast<std::int32_t>(take<std::uint32_t>()); }
  double f64() {
    std::uint64_t bits = take<std::uint64_t>();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }

  // A view of the next n bytes, advancing past them; empty (and failed) if they are not there.
  std::span<const std::uint8_t> take_bytes(std::uint64_t n) {
    if (!has(n)) {
      fail();
      return {};
    }
    auto view = bytes_.subspan(pos_, static_cast<std::size_t>(n));
    pos_ += static_cast<std::size_t>(n);
    return view;
  }

  // Reads at an absolute position without moving; fails (and yields 0) when out of range.
  std::uint8_t u8_at(std::uint64_t position) {
    return position < bytes_.size() ? bytes_[static_cast<std::size_t>(position)]
                                    : (fail(), std::uint8_t{0});
  }
  std::uint32_t u32_at(std::uint64_t position) {
    if (position > bytes_.size() || bytes_.size() - position < 4) return fail(), 0u;
    return load<std::uint32_t>(static_cast<std::size_t>(position));
  }

 private:
  bool fail() {
    failed_ = true;
    pos_ = bytes_.size();
    return false;
  }
  template <typename T>
  T load(std::size_t at) const {
    T value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
      value |= static_cast<T>(static_cast<T>(bytes_[at + i]) << (8 * i));
    return value;
  }
  template <typename T>
  T take() {
    if (!has(sizeof(T))) return fail(), T{0};
    T value = load<T>(pos_);
    pos_ += sizeof(T);
    return value;
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
  bool failed_ = false;
};

}  // namespace quillon
