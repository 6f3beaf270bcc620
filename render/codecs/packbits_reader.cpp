#include "render/codecs/packbits_reader.h"

#include <algorithm>
#include <cstring>

namespace quillon {

namespace {

// Most literals and runs are short: they are copied in whole 16-byte chunks, which may write
// and read a little past their end, instead of a library call each. A control's bytes rounded
// up to chunks: at most 128.
constexpr std::size_t kChunk = 16;
constexpr std::size_t kMostRounded = 128;

inline void CopyChunks(std::uint8_t* out, const std::uint8_t* in, std::size_t n) {
  std::size_t k = 0;
  do {
    std::memcpy(out + k, in + k, kChunk);
    k += kChunk;
  } while (k < n);
}

inline void FillChunks(std::uint8_t* out, std::uint8_t value, std::size_t n) {
  std::uint8_t pattern[kChunk];
  std::memset(pattern, value, kChunk);
  std::size_t k = 0;
  do {
    std::memcpy(out + k, pattern, kChunk);
    k += kChunk;
  } while (k < n);
}

}  // namespace

std::size_t PackBitsReader::Read(std::uint8_t* out, std::size_t count) {
  std::size_t produced = 0;
  const std::uint8_t* data = input_.data();
  const std::size_t size = input_.size();
  std::size_t position = position_;

  // While a whole control and its rounded-up bytes fit on both sides, nothing is held back.
  if (pending_ == 0) {
    while (count - produced >= kMostRounded && size - position > kMostRounded) {
      const auto control = static_cast<std::int8_t>(data[position]);
      if (control >= 0) {
        const auto n = static_cast<std::size_t>(control);
        CopyChunks(out + produced, data + position + 1, n);
        position += 1 + n;
        produced += n;
      } else {
        const auto n = static_cast<std::size_t>(-static_cast<int>(control));
        FillChunks(out + produced, data[position + 1], n);
        position += 2;
        produced += n;
      }
    }
  }

  // Near the end of the row or of the record: exact copies, a literal or run may be cut.
  while (produced < count) {
    if (pending_ == 0) {
      if (position >= size) break;
      const auto control = static_cast<std::int8_t>(data[position++]);
      if (control >= 0) {
        // A literal never reaches past the record.
        pending_ = std::min<std::size_t>(static_cast<std::size_t>(control), size - position);
        literal_ = true;
      } else {
        if (position >= size) break;
        value_ = data[position++];
        pending_ = static_cast<std::size_t>(-static_cast<int>(control));
        literal_ = false;
      }
      continue;
    }
    const std::size_t n = std::min(pending_, count - produced);
    if (literal_) {
      std::memcpy(out + produced, data + position, n);
      position += n;
    } else {
      std::memset(out + produced, value_, n);
    }
    produced += n;
    pending_ -= n;
  }
  position_ = position;
  return produced;
}

}  // namespace quillon
