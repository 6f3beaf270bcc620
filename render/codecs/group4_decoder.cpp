#include "render/codecs/group4_decoder.h"

#include <cstring>
#include <vector>

#include "render/codecs/group4_tables.h"

namespace quillon {

namespace {

// Bits of the stream, least significant first, in a 64-bit accumulator. Past the end of the
// record the stream reads as 0 bits, which no code accepts: decoding then stops by itself.
class BitReader {
 public:
  explicit BitReader(std::span<const std::uint8_t> bytes)
      : next_(bytes.data()), end_(bytes.data() + bytes.size()) {
    Refill();
  }

  void Refill() {
    if (end_ - next_ >= 8) {
      std::uint64_t word;
      std::memcpy(&word, next_, 8);
      word = ToLittle(word);
      bits_ |= word << count_;
      next_ += (63 - count_) >> 3;
      count_ |= 56;
    } else {
      while (count_ <= 56 && next_ < end_) {
        bits_ |= static_cast<std::uint64_t>(*next_++) << count_;
        count_ += 8;
      }
      if (next_ == end_ && count_ < 56) count_ = 56;  // zero bits beyond the end
    }
  }

  unsigned Peek(unsigned n) const { return static_cast<unsigned>(bits_) & ((1u << n) - 1); }
  void Skip(unsigned n) {
    bits_ >>= n;
    count_ -= n;
  }
  bool Low() const { return count_ < 16; }

 private:
  static std::uint64_t ToLittle(std::uint64_t word) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    return __builtin_bswap64(word);
#else
    return word;
#endif
  }

  const std::uint8_t* next_;
  const std::uint8_t* end_;
  std::uint64_t bits_ = 0;
  unsigned count_ = 0;
};

#if defined(__GNUC__)
#define QUILLON_ALWAYS_INLINE inline __attribute__((always_inline))
#else
#define QUILLON_ALWAYS_INLINE inline
#endif

// One run: make-up codes followed by a terminating code. Returns -1 for an invalid code.
// Inlined so that the bit reader stays in registers.
QUILLON_ALWAYS_INLINE std::int64_t ReadRun(
    BitReader& in, const std::array<std::uint16_t, 1u << Group4Tables::kRunBits>& table) {
  std::int64_t run = 0;
  for (;;) {
    if (in.Low()) in.Refill();
    const unsigned entry = table[in.Peek(Group4Tables::kRunBits)];
    if (entry == 0) return -1;
    in.Skip(entry & 15);
    const unsigned length = entry >> 4;
    run += length;
    if (length < 64) return run;
    if (run > (1ll << 31)) return -1;
  }
}

}  // namespace

std::int32_t DecodeGroup4(std::span<const std::uint8_t> record, RasterLead lead,
                          RasterTarget& target) {
  if (!target.ok() || target.geometry().kind != PixelKind::Bitonal) return 0;
  if (lead == RasterLead::Present) {
    if (record.size() < kRasterLeadBytes) return 0;
    record = record.subspan(kRasterLeadBytes);
  }
  const Group4Tables& tables = GetGroup4Tables();
  const std::int64_t width = target.geometry().width;
  const std::int32_t rows = target.geometry().rows;
  const auto w32 = static_cast<std::uint32_t>(width);

  // Changing elements of the reference and the coding line, each closed by sentinels at the
  // width. Equal neighbours cancel, so a line's elements strictly increase. One slot before
  // each line: for the coding line a guard that equals no position, so the cancelling test can
  // look back without a count check; for the reference line 0, where stepping b1 back from
  // the first element lands, and from where the search goes on to the second (as it must).
  constexpr std::size_t kSentinels = 4;
  constexpr std::uint32_t kGuard = 0xFFFFFFFFu;
  constexpr std::size_t kLineSlots = 1 + kGroup4MaxChanges + kSentinels;
  std::vector<std::uint32_t> lines(2 * kLineSlots);
  std::uint32_t* ref = lines.data() + 1;
  std::uint32_t* cur = ref + kLineSlots;
  ref[-1] = 0;
  for (std::size_t i = 0; i < kSentinels; ++i) ref[i] = w32;

  BitReader in(record);
  std::int32_t line = 0;
  for (; line < rows; ++line) {
    cur[-1] = kGuard;
    std::size_t count = 0;
    std::int64_t a0 = -1;   // before the first pixel
    std::ptrdiff_t bi = 0;  // b1's index: its parity is the colour of a0 (1 black)
    bool failed = false;
    auto change = [&](std::int64_t position) {
      if (position >= width) return true;
      if ((cur - 1)[count] == position) {  // the last element, or the guard
        --count;
        return true;
      }
      if (count == kGroup4MaxChanges) return false;
      cur[count++] = static_cast<std::uint32_t>(position);
      return true;
    };
    while (a0 < width) {
      // The sentinels (the width) end the search, as a0 is below the width here.
      while (ref[bi] <= a0) bi += 2;
      if (in.Low()) in.Refill();
      const Group4ModeEntry mode = tables.modes[in.Peek(Group4Tables::kModeBits)];
      in.Skip(mode.length);
      if (mode.mode == Group4Mode::Vertical) {
        const std::int64_t a1 = static_cast<std::int64_t>(ref[bi]) + mode.offset;
        if (a1 < (a0 < 0 ? 0 : a0) || a1 > width || !change(a1)) {
          failed = true;
          break;
        }
        a0 = a1;
        --bi;
      } else if (mode.mode == Group4Mode::Horizontal) {
        const std::int64_t start = a0 < 0 ? 0 : a0;
        const bool black = bi & 1;
        const std::int64_t run1 = ReadRun(in, black ? tables.black : tables.white);
        const std::int64_t run2 = run1 < 0 ? -1 : ReadRun(in, black ? tables.white : tables.black);
        if (run2 < 0 || start + run1 + run2 > width || !change(start + run1) ||
            !change(start + run1 + run2)) {
          failed = true;
          break;
        }
        a0 = start + run1 + run2;
      } else if (mode.mode == Group4Mode::Pass) {
        a0 = ref[bi + 1];
        bi += 2;
      } else {
        failed = true;
        break;
      }
    }
    if (failed || a0 != width) break;

    for (std::size_t i = 0; i < kSentinels; ++i) cur[count + i] = w32;
    FillChanges(target.BeginBitonalRow(line), cur, count);
    target.EndBitonalRow();

    std::uint32_t* swap = ref;
    ref = cur;
    cur = swap;
    ref[-1] = 0;
  }
  target.Finish();
  return line;
}

}  // namespace quillon
