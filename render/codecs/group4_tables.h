#pragma once
// Code tables of the T.4/T.6 coding, for a stream whose first bit is the least significant bit
// of each byte: looked up by the next bits of the stream, least significant first.

#include <array>
#include <cstdint>

namespace quillon {

// 2-D modes; Invalid covers the extension codes, the end-of-facsimile-block and damage.
enum class Group4Mode : std::uint8_t { Invalid, Pass, Horizontal, Vertical };

struct Group4ModeEntry {
  Group4Mode mode = Group4Mode::Invalid;
  std::int8_t offset = 0;  // a1 - b1 in vertical mode
  std::uint8_t length = 0;
};

struct Group4Tables {
  static constexpr unsigned kModeBits = 7;
  static constexpr unsigned kRunBits = 13;
  std::array<Group4ModeEntry, 1u << kModeBits> modes{};
  // run length × 16 + code length; 0 for an invalid code (a code that begins with eight
  // 0 bits, as an end-of-line code does, among them).
  std::array<std::uint16_t, 1u << kRunBits> white{};
  std::array<std::uint16_t, 1u << kRunBits> black{};
};

const Group4Tables& GetGroup4Tables();

}  // namespace quillon
