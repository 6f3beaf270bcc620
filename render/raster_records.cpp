#include "render/raster_records.h"

#include <string>

namespace quillon {

namespace {
constexpr std::uint16_t kRunPairs = 0x0001, kGroup4 = 0x1000;
constexpr std::uint8_t kMaxLevels = 5;
}  // namespace

// Decoding, the raster cache and StretchDIBits come with the raster work; the records are
// read exactly here, the header keeps the state it owns (ordinal, halving rule) and the
// device gets a note of what was read.

bool HandleRasterHeader(DrawContext& ctx, KpzDocument& doc, ByteReader& in) {
  const std::uint8_t flags = in.u8();
  const std::uint32_t fore = in.u32();
  const std::uint32_t back = in.u32();
  in.skip(12);
  const std::int32_t x = in.i32(), y = in.i32();
  const std::int32_t x1 = in.i32(), y1 = in.i32(), x2 = in.i32(), y2 = in.i32();
  const std::int32_t rows = in.i32(), bytesPerRow = in.i32(), width = in.i32();
  const std::uint16_t format = in.u16();
  const std::uint16_t colours = in.u16();
  in.skip(4ull * (colours == 0 ? 1 : colours));
  if (!in.ok()) return false;
  ++doc.rasterOrdinal;
  if (doc.printing) doc.reductionFactor = 1;
  if (format & (kRunPairs | kGroup4)) ctx.SetHalvingRule(back == 0 ? PairRule::And : PairRule::Or);
  if (doc.targetDc)
    doc.targetDc->Note(
        "raster-header flags=" + std::to_string(flags) + " format=" + std::to_string(format) +
        " at=(" + std::to_string(x) + "," + std::to_string(y) + ") box=(" + std::to_string(x1) +
        "," + std::to_string(y1) + ")-(" + std::to_string(x2) + "," + std::to_string(y2) +
        ") rows=" + std::to_string(rows) + " bytesPerRow=" + std::to_string(bytesPerRow) +
        " width=" + std::to_string(width) + " colours=" + std::to_string(colours) +
        " fore=" + std::to_string(fore) + " back=" + std::to_string(back));
  return true;
}

bool HandleRasterData(DrawContext&, KpzDocument& doc, ByteReader& in) {
  const std::int32_t length = in.i32();
  if (!in.ok() || length < 0 || !in.skip(static_cast<std::uint64_t>(length))) return false;
  if (doc.targetDc) doc.targetDc->Note("raster-data len=" + std::to_string(length));
  return true;
}

bool HandleRasterLevels(DrawContext&, KpzDocument& doc, ByteReader& in) {
  in.skip(4);
  const std::uint8_t levels = in.u8();
  std::string text = "raster-levels n=" + std::to_string(levels);
  for (unsigned i = 0; i < levels; ++i) {
    const std::int32_t w = in.i32(), h = in.i32(), offset = in.i32();
    if (i < kMaxLevels)
      text +=
          " (" + std::to_string(w) + "x" + std::to_string(h) + "@" + std::to_string(offset) + ")";
  }
  if (!in.ok()) return false;
  if (doc.targetDc) doc.targetDc->Note(text);
  return true;
}

}  // namespace quillon
