#include "render/codecs/packbits_reader.h"

#include <algorithm>
#include <cstring>

namespace quillon {

std::size_t PackBitsReader::Read(std::uint8_t* out, std::size_t count) {
  std::size_t produced = 0;
  const std::size_t size = input_.size();
  while (produced < count) {
    if (pending_ == 0) {
      if (position_ >= size) break;
      const auto control = static_cast<std::int8_t>(input_[position_++]);
      if (control >= 0) {
        // A literal never reaches past the record.
        pending_ = std::min<std::size_t>(static_cast<std::size_t>(control), size - position_);
        literal_ = true;
      } else {
        if (position_ >= size) break;
        value_ = input_[position_++];
        pending_ = static_cast<std::size_t>(-static_cast<int>(control));
        literal_ = false;
      }
      continue;
    }
    const std::size_t n = std::min(pending_, count - produced);
    if (literal_) {
      std::memcpy(out + produced, input_.data() + position_, n);
      position_ += n;
    } else {
      std::memset(out + produced, value_, n);
    }
    produced += n;
    pending_ -= n;
  }
  return produced;
}

}  // namespace quillon
