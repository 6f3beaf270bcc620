#include "render/codecs/raster_target.h"

#include <algorithm>
#include <cstring>

namespace quillon {

namespace {

// Larger images are refused: a damaged header must not make us allocate gigabytes.
constexpr std::uint64_t kMaxImageBytes = 1ull << 30;

int LevelsOf(int factor) {
  switch (factor) {
    case 1: return 0;
    case 2: return 1;
    case 4: return 2;
    case 8: return 3;
    case 16: return 4;
    case 32: return 5;
    default: return -1;
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
    case PixelKind::Bitonal: stride = (outW + 31) / 32 * 4; break;
    case PixelKind::Gray8: stride = (outW + 3) / 4 * 4; break;
    case PixelKind::Rgb24: stride = (outW * 3 + 3) / 4 * 4; break;
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

RasterTarget::RasterTarget(const RasterGeometry& geometry, std::span<std::uint8_t> image,
                           const HalvingTables* tables)
    : geometry_(geometry), image_(image), tables_(tables) {
  const auto layout = MeasureRaster(geometry);
  if (!layout || image.size() < layout->bytes) return;
  levels_ = LevelsOf(geometry.factor);
  if (levels_ > 0 && !tables) return;
  layout_ = *layout;
  image_ = image.first(layout_.bytes);
  lazyClear_ = geometry.rotation == 0 && levels_ == 0;
  if (!lazyClear_ && !image_.empty()) std::memset(image_.data(), 0, image_.size());

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
    scratch_.assign(rowBytes_, 0);
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
  if (lazyClear_ && clearedRows_ < layout_.rows) ClearThrough(layout_.rows - 1);
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
    for (std::size_t p = 0; p < 8; ++p) x |= static_cast<std::uint64_t>(slots[p][k]) << (56 - 8 * p);
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
  row_ = row;
  direct_ = ok_ && geometry_.rotation == 0 && row >= 0 && row < geometry_.rows;
  if (!direct_) return scratch_.data();
  ClearThrough(row);
  return OutRow(row);
}

void RasterTarget::EndPixelRow() {
  if (direct_ || !ok_ || row_ < 0 || row_ >= geometry_.rows) return;
  const std::size_t bpp = BytesPerPixel(geometry_.kind);
  const std::int32_t w = geometry_.width;
  const std::uint8_t* src = scratch_.data();
  const std::size_t stride = layout_.stride;
  switch (geometry_.rotation) {
    case 180: {
      std::uint8_t* out = OutRow(geometry_.rows - 1 - row_) + (static_cast<std::size_t>(w) - 1) * bpp;
      if (bpp == 1) {
        for (std::int32_t j = 0; j < w; ++j) out[-j] = src[j];
      } else {
        for (std::int32_t j = 0; j < w; ++j, out -= 3, src += 3) std::memcpy(out, src, 3);
      }
      break;
    }
    case 90:
    case 270: {
      const std::size_t x = geometry_.rotation == 90
                                ? static_cast<std::size_t>(geometry_.rows - 1 - row_)
                                : static_cast<std::size_t>(row_);
      const bool down = geometry_.rotation == 90;
      std::uint8_t* out = image_.data() + x * bpp +
                          (down ? 0 : static_cast<std::size_t>(w - 1) * stride);
      const std::ptrdiff_t step = down ? static_cast<std::ptrdiff_t>(stride)
                                       : -static_cast<std::ptrdiff_t>(stride);
      if (bpp == 1) {
        for (std::int32_t j = 0; j < w; ++j, out += step) *out = src[j];
      } else {
        for (std::int32_t j = 0; j < w; ++j, out += step, src += 3) std::memcpy(out, src, 3);
      }
      break;
    }
    default: break;
  }
}

}  // namespace quillon
