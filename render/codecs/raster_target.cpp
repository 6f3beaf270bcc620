#include "render/codecs/raster_target.h"

#include <algorithm>
#include <cstring>

#include "render/codecs/pixel_transpose.h"

namespace quillon {

namespace {

// Larger images are refused: a damaged header must not make us allocate gigabytes.
constexpr std::uint64_t kMaxImageBytes = 1ull << 30;

// The band of a turned 8-bit or RGB image: about this many bytes, at most 64 rows (one bit
// each in a mask), a multiple of 16 rows when it can be (the block of the byte transpose).
constexpr std::size_t kBandBytes = 512 * 1024;
constexpr std::int32_t kMostBandRows = 64;

int LevelsOf(int factor) {
  switch (factor) {
    case 1:
      return 0;
    case 2:
      return 1;
    case 4:
      return 2;
    case 8:
      return 3;
    case 16:
      return 4;
    case 32:
      return 5;
    default:
      return -1;
  }
}

bool Turned(int rotation) { return rotation == 90 || rotation == 270; }

std::size_t BytesPerPixel(PixelKind kind) { return kind == PixelKind::Rgb24 ? 3 : 1; }

}  // namespace

std::optional<RasterLayout> MeasureRaster(const RasterGeometry& g) {
  if (g.width <= 0 || g.rows <= 0) return std::nullopt;
  if (g.rotation != 0 && g.rotation != 90 && g.rotation != 180 && g.rotation != 270)
    return std::nullopt;
  const int levels = LevelsOf(g.factor);
  if (levels < 0 || (g.kind != PixelKind::Bitonal && g.factor != 1)) return std::nullopt;
  const std::uint64_t w = static_cast<std::uint64_t>(g.width) >> levels;
  const std::uint64_t h = static_cast<std::uint64_t>(g.rows) >> levels;
  const std::uint64_t outW = Turned(g.rotation) ? h : w;
  const std::uint64_t outH = Turned(g.rotation) ? w : h;
  std::uint64_t stride = 0;
  switch (g.kind) {
    case PixelKind::Bitonal:
      stride = (outW + 31) / 32 * 4;
      break;
    case PixelKind::Gray8:
      stride = (outW + 3) / 4 * 4;
      break;
    case PixelKind::Rgb24:
      stride = (outW * 3 + 3) / 4 * 4;
      break;
  }
  // Both factors are below 2^33, so the product cannot overflow.
  const std::uint64_t bytes = stride * outH;
  if (bytes > kMaxImageBytes) return std::nullopt;
  // The source row must fit too (a tall, thin raster turned by 90 degrees).
  if (static_cast<std::uint64_t>(g.width) * BytesPerPixel(g.kind) > kMaxImageBytes)
    return std::nullopt;
  RasterLayout layout;
  layout.width = static_cast<std::int32_t>(outW);
  layout.rows = static_cast<std::int32_t>(outH);
  layout.stride = static_cast<std::size_t>(stride);
  layout.bytes = static_cast<std::size_t>(bytes);
  return layout;
}

void FillSpan(const BitRow& row, std::uint32_t begin, std::uint32_t end) {
  if (row.mirrored) {
    const std::uint32_t b = row.width - end;
    end = row.width - begin;
    begin = b;
  }
  std::uint8_t* bits = row.bits;
  const std::uint32_t first = begin >> 3, last = end >> 3;
  const std::uint8_t head = static_cast<std::uint8_t>(0xFFu >> (begin & 7));
  const std::uint8_t tail = static_cast<std::uint8_t>(~(0xFFu >> (end & 7)));
  if (first == last) {
    bits[first] |= head & tail;
    return;
  }
  bits[first] |= head;
  const std::uint32_t whole = last - first - 1;
  if (whole <= 8) {
    for (std::uint32_t k = first + 1; k < last; ++k) bits[k] = 0xFF;
  } else {
    std::memset(bits + first + 1, 0xFF, whole);
  }
  if (end & 7) bits[last] |= tail;
}

// Most spans of a drawing are a few pixels long. The row is taken as 64-bit big-endian words
// from its start (pixel 0 the most significant bit); a span within one or two of its whole
// words is ORed into them. Consecutive spans thus read back a word at the address and size it
// was just stored with, which the processor forwards; a word read at another byte offset than
// the store before it waits for that store to reach the cache.
inline void OrWord(std::uint8_t* at, std::uint64_t mask) {
  std::uint64_t word;
  std::memcpy(&word, at, 8);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  word |= mask;
#else
  word |= __builtin_bswap64(mask);
#endif
  std::memcpy(at, &word, 8);
}

template <bool Mirrored>
void FillChangesIn(const BitRow& row, const std::uint32_t* changes, std::size_t count) {
  const std::uint32_t width = row.width;
  const std::uint32_t words = (width + 7) / 8 / 8;  // whole words of the row
  std::uint8_t* bits = row.bits;
  const BitRow plain{bits, width, false};  // spans below are already mirrored
  for (std::size_t i = 0; i < count; i += 2) {
    std::uint32_t begin = changes[i];
    std::uint32_t end = changes[i + 1];
    if (Mirrored) {
      const std::uint32_t b = width - end;
      end = width - begin;
      begin = b;
    }
    const std::uint32_t first = begin >> 6, last = (end - 1) >> 6;
    const std::uint64_t from = ~0ull >> (begin & 63);             // pixels from begin on
    const std::uint64_t upTo = ~0ull << (63 - ((end - 1) & 63));  // pixels before end
    if (last >= words || last > first + 1) {
      FillSpan(plain, begin, end);
    } else if (last == first) {
      OrWord(bits + 8 * first, from & upTo);
    } else {
      OrWord(bits + 8 * first, from);
      OrWord(bits + 8 * last, upTo);
    }
  }
}

void FillChanges(const BitRow& row, const std::uint32_t* changes, std::size_t count) {
  if (row.mirrored)
    FillChangesIn<true>(row, changes, count);
  else
    FillChangesIn<false>(row, changes, count);
}

RasterTarget::RasterTarget(const RasterGeometry& geometry, std::span<std::uint8_t> image,
                           const HalvingTables* tables, bool zeroed)
    : geometry_(geometry), image_(image), tables_(tables), zeroed_(zeroed) {
  const auto layout = MeasureRaster(geometry);
  if (!layout || image.size() < layout->bytes) return;
  levels_ = LevelsOf(geometry.factor);
  if (levels_ > 0 && !tables) return;
  layout_ = *layout;
  image_ = image.first(layout_.bytes);
  lazyClear_ = geometry.rotation == 0 && levels_ == 0;
  lazyColumns_ = geometry.kind != PixelKind::Bitonal && Turned(geometry.rotation);
  if (zeroed_)
    clearedRows_ = layout_.rows;
  else if (!lazyClear_ && !lazyColumns_ && !image_.empty())
    std::memset(image_.data(), 0, image_.size());

  if (geometry.kind == PixelKind::Bitonal) {
    rowBytes_ = (static_cast<std::size_t>(geometry.width) + 7) / 8;
    // One spare zero byte: halving reads bytes in pairs.
    scratch_.assign(rowBytes_ + 1, 0);
    std::size_t bytes = rowBytes_;
    levelBytes_.push_back(bytes);
    for (int level = 0; level < levels_; ++level) {
      bytes = (bytes + 1) / 2;
      levelBytes_.push_back(bytes);
      pairs_.emplace_back(bytes + 1, 0);
    }
    levelRowsSeen_.assign(static_cast<std::size_t>(levels_), 0);
    if (Turned(geometry.rotation)) {
      columnRowBytes_ = levelBytes_.back();
      columnRows_.assign(8 * columnRowBytes_, 0);
    }
  } else {
    rowBytes_ = static_cast<std::size_t>(geometry.width) * BytesPerPixel(geometry.kind);
    if (lazyColumns_) {
      // 16 spare bytes a row: RGB pixels are read several at a time.
      bandStride_ = (rowBytes_ + 16 + 15) / 16 * 16;
      const std::size_t fit = std::max<std::size_t>(1, kBandBytes / bandStride_);
      std::int32_t rows = static_cast<std::int32_t>(std::min<std::size_t>(fit, kMostBandRows));
      if (rows >= 16) rows = rows / 16 * 16;
      bandRows_ = std::min(rows, geometry.rows);
      band_.assign(static_cast<std::size_t>(bandRows_ + 1) * bandStride_, 0);
    } else {
      scratch_.assign(rowBytes_, 0);
    }
  }
  ok_ = true;
}

BitRow RasterTarget::BeginBitonalRow(std::int32_t row) {
  row_ = row;
  const bool inside = ok_ && row >= 0 && row < geometry_.rows;
  BitRow out;
  out.width = static_cast<std::uint32_t>(geometry_.width);
  direct_ = false;
  if (inside && levels_ == 0 && geometry_.rotation == 0) {
    ClearThrough(row);
    out.bits = OutRow(row);
    direct_ = true;
  } else if (inside && levels_ == 0 && Turned(geometry_.rotation)) {
    out.bits = ColumnSlot(row);
    direct_ = true;
  } else if (inside && levels_ == 0 && geometry_.rotation == 180) {
    out.bits = OutRow(geometry_.rows - 1 - row);
    out.mirrored = true;
    direct_ = true;
  } else {
    std::memset(scratch_.data(), 0, scratch_.size());
    out.bits = scratch_.data();
  }
  return out;
}

void RasterTarget::EndBitonalRow() {
  if (!ok_ || row_ < 0 || row_ >= geometry_.rows) return;
  if (Turned(geometry_.rotation) && levels_ == 0) {
    columnSlots_ = static_cast<std::uint8_t>(columnSlots_ | (1u << columnSlot_));
    return;
  }
  if (!direct_) PushLevel(0, scratch_.data());
}

void RasterTarget::ClearThrough(std::int32_t y) {
  if (y < clearedRows_) return;
  std::memset(OutRow(clearedRows_), 0,
              static_cast<std::size_t>(y + 1 - clearedRows_) * layout_.stride);
  clearedRows_ = y + 1;
}

void RasterTarget::Finish() {
  if (!ok_) return;
  CloseOpenRow();
  if (lazyClear_ && clearedRows_ < layout_.rows) ClearThrough(layout_.rows - 1);
  FlushBand();
  if (lazyColumns_) ClearUnwrittenColumns();
  FlushColumns();
}

// The slot for the output column of reduced source row `row` (turned by 90 or 270), after
// writing out the rows held for another byte column.
std::uint8_t* RasterTarget::ColumnSlot(std::int32_t row) {
  const std::int32_t reducedRows = geometry_.rows >> levels_;
  const std::int32_t x = geometry_.rotation == 90 ? reducedRows - 1 - row : row;
  if ((x >> 3) != columnByte_) {
    FlushColumns();
    columnByte_ = x >> 3;
  }
  columnSlot_ = x & 7;
  return columnRows_.data() + static_cast<std::size_t>(columnSlot_) * columnRowBytes_;
}

// Each group of eight source pixels of the held rows, an 8 × 8 bit block, is transposed into
// one byte of each of eight output rows. Blocks that are all white are skipped.
void RasterTarget::FlushColumns() {
  if (columnSlots_ == 0) return;
  const std::int32_t count = layout_.rows;  // source pixels per reduced row
  const std::size_t stride = layout_.stride;
  std::uint8_t* column = image_.data() + columnByte_;
  const bool down = geometry_.rotation == 90;  // source pixel j goes to output row j
  const std::size_t bytes = (static_cast<std::size_t>(count) + 7) / 8;
  const std::uint8_t* slots[8];
  for (std::size_t p = 0; p < 8; ++p) slots[p] = columnRows_.data() + p * columnRowBytes_;
  for (std::size_t k = 0; k < bytes; ++k) {
    std::uint64_t x = 0;
    for (std::size_t p = 0; p < 8; ++p)
      x |= static_cast<std::uint64_t>(slots[p][k]) << (56 - 8 * p);
    if (x == 0) continue;
    std::uint64_t t = (x ^ (x >> 7)) & 0x00AA00AA00AA00AAull;
    x = x ^ t ^ (t << 7);
    t = (x ^ (x >> 14)) & 0x0000CCCC0000CCCCull;
    x = x ^ t ^ (t << 14);
    t = (x ^ (x >> 28)) & 0x00000000F0F0F0F0ull;
    x = x ^ t ^ (t << 28);
    for (std::size_t q = 0; q < 8; ++q) {
      const auto out = static_cast<std::uint8_t>(x >> (56 - 8 * q));
      const std::int32_t j = static_cast<std::int32_t>(k * 8 + q);
      if (out == 0 || j >= count) continue;
      const std::int32_t y = down ? j : count - 1 - j;
      column[static_cast<std::size_t>(y) * stride] |= out;
    }
  }
  std::memset(columnRows_.data(), 0, columnRows_.size());
  columnSlots_ = 0;
}

// Two consecutive rows of one level make one row of the next: each byte pair of a row gives
// one byte by the pair rule, and the two rows' results are ORed.
void RasterTarget::PushLevel(int level, const std::uint8_t* bits) {
  if (level == levels_) {
    const std::int32_t reducedSourceRows = geometry_.rows >> levels_;
    if (reducedRows_ < reducedSourceRows) PlaceReducedRow(reducedRows_++, bits);
    return;
  }
  const auto l = static_cast<std::size_t>(level);
  std::uint8_t* acc = pairs_[l].data();
  const std::size_t n = levelBytes_[l + 1];
  const auto& high = tables_->high;
  const auto& low = tables_->low;
  if ((levelRowsSeen_[l] & 1) == 0) {
    for (std::size_t k = 0; k < n; ++k)
      acc[k] = static_cast<std::uint8_t>(high[bits[2 * k]] | low[bits[2 * k + 1]]);
  } else {
    for (std::size_t k = 0; k < n; ++k)
      acc[k] |= static_cast<std::uint8_t>(high[bits[2 * k]] | low[bits[2 * k + 1]]);
  }
  if ((levelRowsSeen_[l]++ & 1) == 1) PushLevel(level + 1, acc);
}

void RasterTarget::PlaceReducedRow(std::int32_t row, const std::uint8_t* bits) {
  const std::int32_t width = geometry_.width >> levels_;
  if (width == 0) return;
  const std::size_t bytes = (static_cast<std::size_t>(width) + 7) / 8;
  const auto lastMask = static_cast<std::uint8_t>(0xFFu << ((8 - (width & 7)) & 7));
  switch (geometry_.rotation) {
    case 0: {
      std::uint8_t* out = OutRow(row);
      std::memcpy(out, bits, bytes);
      out[bytes - 1] &= lastMask;
      break;
    }
    case 180: {
      std::uint8_t* out = OutRow(layout_.rows - 1 - row);
      if ((width & 7) == 0) {
        for (std::size_t k = 0; k < bytes; ++k) out[k] = tables_->reverse[bits[bytes - 1 - k]];
      } else {
        for (std::int32_t j = 0; j < width; ++j) {
          if (bits[j >> 3] & (0x80u >> (j & 7))) {
            const std::int32_t x = width - 1 - j;
            out[x >> 3] |= static_cast<std::uint8_t>(0x80u >> (x & 7));
          }
        }
      }
      break;
    }
    default: {
      std::uint8_t* slot = ColumnSlot(row);
      for (std::size_t k = 0; k < bytes; ++k) slot[k] |= bits[k];
      slot[bytes - 1] &= lastMask;
      columnSlots_ = static_cast<std::uint8_t>(columnSlots_ | (1u << columnSlot_));
      break;
    }
  }
}

std::uint8_t* RasterTarget::BeginPixelRow(std::int32_t row) {
  CloseOpenRow();
  row_ = row;
  direct_ = false;
  const bool inside = ok_ && row >= 0 && row < geometry_.rows;
  if (ok_ && !band_.empty())
    return inside ? BandSlot(row)
                  : band_.data() + static_cast<std::size_t>(bandRows_) * bandStride_;
  if (!inside || geometry_.rotation != 0) return scratch_.data();
  // The decoder fills the pixels; only the rows skipped and the padding are cleared here.
  direct_ = true;
  if (row >= clearedRows_) {
    if (row > clearedRows_) ClearThrough(row - 1);
    clearedRows_ = row + 1;
  }
  std::uint8_t* out = OutRow(row);
  if (layout_.stride > rowBytes_) std::memset(out + rowBytes_, 0, layout_.stride - rowBytes_);
  openRow_ = row;
  return out;
}

// A row handed out at rotation 0 whose decoder stopped before End: its bytes are undefined.
void RasterTarget::CloseOpenRow() {
  if (openRow_ < 0) return;
  std::memset(OutRow(openRow_), 0, rowBytes_);
  openRow_ = -1;
}

std::uint8_t* RasterTarget::BandSlot(std::int32_t row) {
  const std::int32_t first = row - row % bandRows_;
  const std::int32_t slot = row - first;
  // Another band, or this row again: what is held is written out first.
  if (first != bandFirst_ || ((bandHeld_ >> slot) & 1)) {
    FlushBand();
    bandFirst_ = first;
  }
  bandSlot_ = slot;
  return band_.data() + static_cast<std::size_t>(slot) * bandStride_;
}

// Writes the complete rows held, each unbroken stretch of them at once.
void RasterTarget::FlushBand() {
  if (bandHeld_ == 0) return;
  const std::int32_t count = std::min(bandRows_, geometry_.rows - bandFirst_);
  for (std::int32_t k = 0; k < count;) {
    if (((bandHeld_ >> k) & 1) == 0) {
      ++k;
      continue;
    }
    std::int32_t end = k + 1;
    while (end < count && ((bandHeld_ >> end) & 1)) ++end;
    WriteBandRows(k, end - k);
    k = end;
  }
  bandHeld_ = 0;
}

// Band slots [first, first + count) to their output columns.
void RasterTarget::WriteBandRows(std::int32_t first, std::int32_t count) {
  const std::int32_t lo = bandFirst_ + first, hi = lo + count;
  if (lazyColumns_) {
    if (writtenLo_ == writtenHi_) {
      writtenLo_ = lo;
      writtenHi_ = hi;
    } else if (hi == writtenLo_) {
      writtenLo_ = lo;
    } else if (lo == writtenHi_) {
      writtenHi_ = hi;
    } else if (lo < writtenLo_ || hi > writtenHi_) {
      ClearUnwrittenColumns();
    }
  }
  const std::size_t bpp = BytesPerPixel(geometry_.kind);
  const std::size_t w = static_cast<std::size_t>(geometry_.width);
  const auto stride = static_cast<std::ptrdiff_t>(layout_.stride);
  const std::uint8_t* rows[kMostBandRows];
  std::uint8_t* out = image_.data();
  std::ptrdiff_t step = stride;
  if (geometry_.rotation == 90) {
    // Source row r goes to column rows - 1 - r, pixel j to row j: the band's last row first.
    out += static_cast<std::size_t>(geometry_.rows - hi) * bpp;
    for (std::int32_t k = 0; k < count; ++k)
      rows[k] = band_.data() + static_cast<std::size_t>(first + count - 1 - k) * bandStride_;
  } else {
    // Source row r goes to column r, pixel j to row width - 1 - j.
    out += static_cast<std::size_t>(lo) * bpp + (w - 1) * layout_.stride;
    step = -stride;
    for (std::int32_t k = 0; k < count; ++k)
      rows[k] = band_.data() + static_cast<std::size_t>(first + k) * bandStride_;
  }
  TransposePixelRows(rows, static_cast<std::size_t>(count), w, bpp, out, step);
}

// Clears every byte of the turned image outside the columns written so far; from then on the
// image is defined everywhere and rows may come in any order.
void RasterTarget::ClearUnwrittenColumns() {
  lazyColumns_ = false;
  if (zeroed_) return;
  if (writtenLo_ == writtenHi_) {
    std::memset(image_.data(), 0, image_.size());
    return;
  }
  const std::size_t bpp = BytesPerPixel(geometry_.kind);
  const std::int32_t xa = geometry_.rotation == 90 ? geometry_.rows - writtenHi_ : writtenLo_;
  const std::size_t begin = static_cast<std::size_t>(xa) * bpp;
  const std::size_t end = begin + static_cast<std::size_t>(writtenHi_ - writtenLo_) * bpp;
  if (begin == 0 && end == layout_.stride) return;
  for (std::int32_t y = 0; y < layout_.rows; ++y) {
    std::uint8_t* row = OutRow(y);
    std::memset(row, 0, begin);
    std::memset(row + end, 0, layout_.stride - end);
  }
}

void RasterTarget::EndPixelRow() {
  if (direct_) {
    openRow_ = -1;
    return;
  }
  if (!ok_ || row_ < 0 || row_ >= geometry_.rows) return;
  if (!band_.empty()) {
    bandHeld_ |= 1ull << bandSlot_;
    return;
  }
  const std::size_t bpp = BytesPerPixel(geometry_.kind);
  const std::int32_t w = geometry_.width;
  const std::uint8_t* src = scratch_.data();
  switch (geometry_.rotation) {
    case 180: {
      std::uint8_t* out =
          OutRow(geometry_.rows - 1 - row_) + (static_cast<std::size_t>(w) - 1) * bpp;
      if (bpp == 1) {
        for (std::int32_t j = 0; j < w; ++j) out[-j] = src[j];
      } else {
        for (std::int32_t j = 0; j < w; ++j, out -= 3, src += 3) std::memcpy(out, src, 3);
      }
      break;
    }
    default:
      break;
  }
}

}  // namespace quillon
