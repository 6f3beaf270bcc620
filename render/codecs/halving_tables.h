#pragma once
// Byte lookup tables that halve one-bit images: each of a byte's four pixel pairs (most
// significant bit leftmost) gives one bit by the pair rule.

#include <array>
#include <cstdint>

namespace quillon {

enum class PairRule { Or, And };  // a result bit is set when either / both pixels are set

struct HalvingTables {
  using Table = std::array<std::uint8_t, 256>;
  Table high{};          // the four results, left to right, in the high nibble
  Table low{};           // ... in the low nibble
  Table mirroredLow{};   // bit-reversed into the low nibble (images turned by 180 degrees)
  Table mirroredHigh{};  // bit-reversed into the high nibble
  Table reverse{};       // the eight bits of a byte reversed

  void Build(PairRule rule);
};

}  // namespace quillon
