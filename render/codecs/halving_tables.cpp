#include "render/codecs/halving_tables.h"

namespace quillon {

void HalvingTables::Build(PairRule rule) {
  for (unsigned b = 0; b < 256; ++b) {
    unsigned results = 0;  // bit 3 = leftmost pair
    for (unsigned pair = 0; pair < 4; ++pair) {
      unsigned bits = (b >> (6 - 2 * pair)) & 3u;
      bool set = rule == PairRule::Or ? bits != 0 : bits == 3;
      if (set) results |= 1u << (3 - pair);
    }
    unsigned mirrored = 0;
    for (unsigned i = 0; i < 4; ++i)
      if (results & (1u << i)) mirrored |= 1u << (3 - i);
    unsigned reversed = 0;
    for (unsigned i = 0; i < 8; ++i)
      if (b & (1u << i)) reversed |= 1u << (7 - i);
    high[b] = static_cast<std::uint8_t>(results << 4);
    low[b] = static_cast<std::uint8_t>(results);
    mirroredLow[b] = static_cast<std::uint8_t>(mirrored);
    mirroredHigh[b] = static_cast<std::uint8_t>(mirrored << 4);
    reverse[b] = static_cast<std::uint8_t>(reversed);
  }
}

}  // namespace quillon
