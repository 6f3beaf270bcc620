#include "render/cairo/paint_sources.h"

#include <algorithm>
#include <array>
#include <bit>

namespace quillon {

namespace {

// GDI's hatch tiles, top row first, the most significant bit leftmost.
constexpr std::array<std::array<std::uint8_t, 8>, 6> kHatchRows = {{
    {0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00},  // horizontal
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // forward diagonal
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // backward diagonal
    {0x08, 0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08},  // cross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // diagonal cross
}};

std::uint32_t CairoRgb(ColorRef c) {
  return 0xFF000000u | (c & 0xFF) << 16 | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// A1 pixels: the first pixel of a byte is its least significant bit on little-endian
// machines and its most significant on big-endian ones (cairo packs 32-bit words).
std::uint8_t MaskByte(std::uint8_t msbFirst) {
  if constexpr (std::endian::native == std::endian::big) return msbFirst;
  static const auto kReversed = [] {
    std::array<std::uint8_t, 256> t{};
    for (int i = 0; i < 256; ++i) {
      int r = 0;
      for (int b = 0; b < 8; ++b)
        if (i & (1 << b)) r |= 1 << (7 - b);
      t[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(r);
    }
    return t;
  }();
  return kReversed[msbFirst];
}

SharedPattern RepeatingPattern(CairoSurface surface) {
  SharedPattern pattern = SharePattern(cairo_pattern_create_for_surface(surface.get()));
  cairo_pattern_set_extend(pattern.get(), CAIRO_EXTEND_REPEAT);
  cairo_pattern_set_filter(pattern.get(), CAIRO_FILTER_NEAREST);
  return pattern;
}

}  // namespace

SharedPattern MakeHatchPattern(int hatch, ColorRef colour, ColorRef background) {
  if (hatch < 0 || hatch >= static_cast<int>(kHatchRows.size())) return nullptr;
  CairoSurface tile(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 8, 8));
  if (!Usable(tile.get())) return nullptr;
  cairo_surface_flush(tile.get());
  unsigned char* data = cairo_image_surface_get_data(tile.get());
  const int stride = cairo_image_surface_get_stride(tile.get());
  for (int y = 0; y < 8; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
    const std::uint8_t bits = kHatchRows[static_cast<std::size_t>(hatch)][static_cast<std::size_t>(y)];
    for (int x = 0; x < 8; ++x) row[x] = CairoRgb((bits >> (7 - x)) & 1 ? colour : background);
  }
  cairo_surface_mark_dirty(tile.get());
  return RepeatingPattern(std::move(tile));
}

SharedPattern MakeTilePattern(const DibPicture& picture) {
  CairoSurface tile = MakeRgbImage(picture, 0, 0, picture.width(), picture.rows());
  if (!tile) return nullptr;
  return RepeatingPattern(std::move(tile));
}

CairoSurface MakeRgbImage(const DibPicture& picture, int left, int top, int width, int height) {
  CairoSurface image(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
  if (!Usable(image.get())) return nullptr;
  cairo_surface_flush(image.get());
  unsigned char* data = cairo_image_surface_get_data(image.get());
  const int stride = cairo_image_surface_get_stride(image.get());
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* src = picture.Row(top + y);
    auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
    for (int x = 0; x < width; ++x) row[x] = picture.Rgb(src, left + x);
  }
  cairo_surface_mark_dirty(image.get());
  return image;
}

CairoSurface MakeBitMask(const BitonalStrip& strip, int index, const ImageTile& tile) {
  if (tile.left % 8 != 0) return nullptr;
  CairoSurface mask(cairo_image_surface_create(CAIRO_FORMAT_A1, tile.width, tile.height));
  if (!Usable(mask.get())) return nullptr;
  cairo_surface_flush(mask.get());
  unsigned char* data = cairo_image_surface_get_data(mask.get());
  const int stride = cairo_image_surface_get_stride(mask.get());
  const std::uint8_t flip = index == 1 ? 0x00 : 0xFF;
  // Bits past the tile's width in its last byte are ignored by cairo.
  const std::size_t first = static_cast<std::size_t>(tile.left) / 8;
  const std::size_t bytes = (static_cast<std::size_t>(tile.width) + 7) / 8;
  for (int y = 0; y < tile.height; ++y) {
    const std::uint8_t* src = strip.Row(tile.top + y) + first;
    unsigned char* row = data + static_cast<std::size_t>(y) * stride;
    for (std::size_t b = 0; b < bytes; ++b) row[b] = MaskByte(src[b] ^ flip);
  }
  cairo_surface_mark_dirty(mask.get());
  return mask;
}

bool ApplyMix(cairo_t* cr, int rop2, ColorRef penColour, bool& ownSource) {
  constexpr int kBlack = 1, kNotCopyPen = 4, kXorPen = 7, kMergePen = 15, kWhite = 16;
  ownSource = false;
  auto solid = [&](ColorRef c) {
    cairo_set_source_rgb(cr, RedOf(c), GreenOf(c), BlueOf(c));
    ownSource = true;
  };
  switch (rop2) {
    case gdi::kMixNop:
      return false;
    case gdi::kMixMaskPen:
      cairo_set_operator(cr, CAIRO_OPERATOR_MULTIPLY);
      return true;
    case kMergePen:
      cairo_set_operator(cr, CAIRO_OPERATOR_LIGHTEN);
      return true;
    case kXorPen:
      cairo_set_operator(cr, CAIRO_OPERATOR_DIFFERENCE);
      return true;
    case gdi::kMixNot:
      cairo_set_operator(cr, CAIRO_OPERATOR_DIFFERENCE);
      solid(0xFFFFFF);
      return true;
    case kBlack:
      cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
      solid(0);
      return true;
    case kWhite:
      cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
      solid(0xFFFFFF);
      return true;
    case kNotCopyPen:
      cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
      solid(~penColour & 0xFFFFFF);
      return true;
    default:
      cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
      return true;
  }
}

}  // namespace quillon
