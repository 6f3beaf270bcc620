#include "render/raster_records.h"

#include <algorithm>
#include <array>
#include <new>
#include <string>

#include "render/codecs/group4_decoder.h"
#include "render/codecs/jpeg_decoder.h"
#include "render/codecs/jpeg_image_size.h"
#include "render/codecs/packbits_decoder.h"
#include "render/codecs/planar_rgb_decoder.h"
#include "render/codecs/run_pair_decoder.h"
#include "render/point_reader.h"
#include "render/raster_cache.h"
#include "render/raster_format.h"
#include "render/raster_painter.h"
#include "render/raster_reduction.h"

namespace quillon {

namespace {

constexpr std::uint8_t kMaxLevels = 5;
// Longest side of a raster we draw: an A0 sheet at 1200 dots per inch is 56000 pixels high.
// A side beyond it is damage, and turned it would be painted as hundreds of thousands of bands.
constexpr std::int32_t kMaxRasterSide = 1 << 17;

struct RasterLevel {
  std::int32_t width = 0, height = 0, offset = 0;
};

std::int32_t Wrap32(std::int64_t v) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
}

int BitCountOf(PixelKind kind) {
  switch (kind) {
    case PixelKind::Bitonal:
      return 1;
    case PixelKind::Gray8:
      return 8;
    case PixelKind::Rgb24:
      return 24;
  }
  return 0;
}

int Log2(int factor) {
  int level = 0;
  while ((1 << level) < factor) ++level;
  return level;
}

// The current image, freshly allocated and described for `geometry`; nullptr when its size is
// absurd or the heap refuses, and the raster is then skipped.
RasterImage* PrepareImage(DocumentHeap& heap, RasterCacheEntry& entry, int factor,
                          const RasterGeometry& geometry) {
  if (geometry.width > kMaxRasterSide || geometry.rows > kMaxRasterSide) return nullptr;
  const auto layout = MeasureRaster(geometry);
  if (!layout) return nullptr;
  RasterImage* image = NewCurrentImage(heap, entry, factor, layout->bytes);
  if (!image) return nullptr;
  image->width = layout->width;
  image->rows = layout->rows;
  image->stride = static_cast<std::uint32_t>(layout->stride);
  image->bitCount = static_cast<std::uint8_t>(BitCountOf(geometry.kind));
  image->rotation = static_cast<std::int16_t>(geometry.rotation);
  image->usable = false;
  return image;
}

// Whole-image decoders; false when the image must not be painted.
bool DecodeWhole(RasterCodec codec, std::span<const std::uint8_t> data, RasterLead lead,
                 RasterTarget& target) {
  switch (codec) {
    case RasterCodec::Group4:
      DecodeGroup4(data, lead, target);
      break;
    case RasterCodec::PackBits8:
      DecodePackBits8Image(data, lead, target);
      break;
    case RasterCodec::PlanarRgb:
      DecodePlanarRgbImage(data, target);
      break;
    case RasterCodec::Jpeg:
      if (!DecodeJpeg(data, target)) return false;
      break;
    default:
      return false;
  }
  target.Finish();
  return true;
}

void DecodeRow(RasterCodec codec, std::span<const std::uint8_t> data, std::int32_t row,
               RasterTarget& target) {
  switch (codec) {
    case RasterCodec::RunPairs:
      DecodeRunPairRow(data, row, target);
      break;
    case RasterCodec::PlanarRgb:
      DecodePlanarRgbRow(data, row, target);
      break;
    case RasterCodec::PackBits8:
      DecodePackBits8Row(data, row, target);
      break;
    default:
      break;
  }
}

// The JPEG stream of the raster's one data record, when the image is its whole picture at full
// size; empty otherwise (several records decode one over another, a smaller stream leaves
// the rest of the image black).
JpegSource WholeJpeg(const DrawState& st, const RasterDrawState& rs, const RasterImage& image,
                     std::span<const std::uint8_t> record) {
  const RasterHeader& h = rs.header;
  const bool oneRecord = !(h.flags & raster_flags::kRowRecords) || h.rows == 1;
  if (record.empty() || CodecOf(h.format) != RasterCodec::Jpeg || !oneRecord ||
      st.reductionFactor != 1 || image.factor != 1 || image.bitCount != 24)
    return {};
  if (ReadJpegImageSize(record) != JpegImageSize{h.width, h.rows}) return {};
  return {record, h.width, h.rows, image.rotation};
}

void Paint(DrawContext& ctx, DrawState& st, RasterDrawState& rs, const RasterImage& image,
           std::span<const std::uint8_t> record = {}) {
  if (!st.target || !st.heap()) return;
  const RasterHeader& h = rs.header;
  RasterPaintJob job;
  job.image = &image;
  job.x = h.cornerX;
  job.y = h.cornerY;
  job.destWidth = h.destWidth;
  job.destHeight = h.destHeight;
  job.header = h;
  job.rasterRop = ctx.rasterRop();
  job.jpeg = WholeJpeg(st, rs, image, record);
  const RasterCodec codec = CodecOf(h.format);
  if (codec == RasterCodec::Stored) {
    if (image.bitCount <= 8)
      job.colours = PaletteColourTable(rs.Palette(), h.colourCount, 1u << image.bitCount);
  } else if (image.bitCount == 1) {
    job.colours = BitonalColourTable(h);
    job.bitonalTable = true;
  } else if (image.bitCount == 8) {
    job.colours = PaletteColourTable(rs.Palette(), h.colourCount, 256);
  }
  if (PaintRaster(*st.target, *st.heap(), job) == PaintResult::NoMemory)
    ctx.ShowControlMessage("Heap Alloc Error");
}

// The raster of the current header, when data records belong to it.
bool Current(const DrawState& st, const RasterDrawState& rs) {
  return st.rasterOrdinal >= 0 && rs.ordinal == st.rasterOrdinal;
}

}  // namespace

bool HandleRasterHeader(DrawContext& ctx, DrawState& st, ByteReader& in) {
  RasterDrawState& rs = ctx.rasterState();
  const std::uint8_t flags = in.u8();
  const std::uint32_t fore = in.u32();
  const std::uint32_t back = in.u32();
  in.skip(12);
  const std::int32_t x = in.i32(), y = in.i32();
  const std::int32_t x1 = in.i32(), y1 = in.i32(), x2 = in.i32(), y2 = in.i32();
  const std::int32_t rows = in.i32(), bytesPerRow = in.i32(), width = in.i32();
  const std::uint16_t format = in.u16();
  const std::uint16_t colours = in.u16();
  if (!in.ok()) return false;
  // Colour i goes to palette entry i; without a palette store the raster cannot be drawn but
  // its record is still passed over whole.
  const std::uint32_t stored = colours == 0 ? 1 : colours;
  // A record too short for its colours is refused before the loop: a header that claims
  // 65535 colours and runs past the end of the file, reached from many pages, would otherwise
  // go through 65535 failed reads each time.
  if (!in.has(std::uint64_t{stored} * 4)) return false;
  const std::span<RasterPaletteEntry> palette = rs.Palette(stored);
  for (std::uint32_t i = 0; i < stored; ++i) {
    const std::uint32_t c = in.u32();
    if (i < palette.size())
      palette[i] = {static_cast<std::uint16_t>(i),
                    static_cast<std::uint16_t>(((c >> 16) & 0xFF) << 8),
                    static_cast<std::uint16_t>(((c >> 8) & 0xFF) << 8),
                    static_cast<std::uint16_t>((c & 0xFF) << 8)};
  }

  ++st.rasterOrdinal;
  if (st.printing) st.reductionFactor = 1;
  rs.DropTarget();
  rs.ordinal = st.rasterOrdinal;
  rs.entry = nullptr;
  rs.drawable = false;
  rs.decodeFailed = false;
  rs.imageFresh = false;
  rs.pending =
      (flags & raster_flags::kRowRecords) ? static_cast<std::uint32_t>(std::max(rows, 0)) : 1;

  const int rotation = st.rotation;
  const std::int32_t w = Wrap32(static_cast<std::int64_t>(x2) - x1);
  const std::int32_t h = Wrap32(static_cast<std::int64_t>(y2) - y1);
  const DevicePoint p = RotatePoint(x, y, rotation, ctx.pageDots());
  RasterHeader& header = rs.header;
  header = RasterHeader{};
  header.flags = flags;
  header.foreColour = fore;
  header.backColour = back;
  header.cornerX = p.x;
  header.cornerY = p.y;
  switch (rotation) {
    case 90:
      header.cornerX = Wrap32(static_cast<std::int64_t>(p.x) - h);
      break;
    case 180:
      header.cornerX = Wrap32(static_cast<std::int64_t>(p.x) - w);
      header.cornerY = Wrap32(static_cast<std::int64_t>(p.y) - h);
      break;
    case 270:
      header.cornerY = Wrap32(static_cast<std::int64_t>(p.y) - w);
      break;
    default:
      break;
  }
  const bool turned = rotation == 90 || rotation == 270;
  header.destWidth = turned ? h : w;
  header.destHeight = turned ? w : h;
  header.rows = rows;
  header.bytesPerRow = bytesPerRow;
  header.width = width;
  header.format = format;
  header.colourCount = colours;

  if (IsBitonalFormat(format)) ctx.SetHalvingRule(back == 0 ? PairRule::And : PairRule::Or);

  if (st.target && st.target->WantsNotes())
    st.target->Note(
        "raster-header flags=" + std::to_string(flags) + " format=" + std::to_string(format) +
        " at=(" + std::to_string(x) + "," + std::to_string(y) + ") box=(" + std::to_string(x1) +
        "," + std::to_string(y1) + ")-(" + std::to_string(x2) + "," + std::to_string(y2) +
        ") rows=" + std::to_string(rows) + " bytesPerRow=" + std::to_string(bytesPerRow) +
        " width=" + std::to_string(width) + " colours=" + std::to_string(colours) +
        " fore=" + std::to_string(fore) + " back=" + std::to_string(back));

  int factor = 1;
  const bool reducible = !st.printing && IsReducible(format);
  if (reducible) factor = ReductionFactorFor(st.rasterThresholds, ctx.viewWidth(), width, format);
  if (!st.printing) st.reductionFactor = static_cast<std::uint8_t>(factor);
  factor = st.reductionFactor;

  const RasterCodec codec = CodecOf(format);
  if (codec == RasterCodec::None || palette.empty() || !st.heap()) return true;
  RasterCacheEntry* entry = RasterCacheSlot(st, st.rasterOrdinal);
  if (!entry) return true;
  if (reducible) {
    if (entry->lastFactor != factor) SwitchFactor(*st.heap(), *entry, factor);
    entry->lastFactor = static_cast<std::uint8_t>(factor);
  }
  rs.entry = entry;
  if (codec == RasterCodec::Stored || (HasLevels(format) && factor > 1) ||
      CachedImage(*entry, factor, rotation)) {
    rs.drawable = true;
    return true;
  }

  RasterGeometry& geometry = rs.geometry;
  geometry.width = width;
  geometry.rows = rows;
  geometry.rotation = rotation;
  geometry.kind = PixelKindOf(codec);
  geometry.factor = geometry.kind == PixelKind::Bitonal ? factor : 1;
  RasterImage* image = PrepareImage(*st.heap(), *entry, factor, geometry);
  if (!image) return true;  // this raster is skipped, the plot goes on
  rs.imageFresh = true;
  if (IsPerRowFormat(format)) {
    auto target = std::unique_ptr<RasterTarget>(new (std::nothrow) RasterTarget(
        geometry, {image->bits, image->bytes}, &ctx.halvingTables(), true));
    rs.imageFresh = false;
    if (!target || !target->ok()) return true;
    rs.SetTarget(std::move(target));
  }
  rs.drawable = true;
  return true;
}

bool HandleRasterData(DrawContext& ctx, DrawState& st, ByteReader& in) {
  RasterDrawState& rs = ctx.rasterState();
  const std::int32_t length = in.i32();
  if (!in.ok() || length < 0) return false;
  const std::span<const std::uint8_t> data = in.take_bytes(static_cast<std::uint64_t>(length));
  if (!in.ok()) return false;
  if (st.target && st.target->WantsNotes())
    st.target->Note("raster-data len=" + std::to_string(length));
  if (rs.pending == 0 || !Current(st, rs)) return true;  // nothing expected: passed over
  --rs.pending;
  if (!rs.drawable || !rs.entry || !st.heap()) return true;

  RasterCacheEntry& entry = *rs.entry;
  const RasterHeader& h = rs.header;
  const RasterCodec codec = CodecOf(h.format);
  const int factor = st.reductionFactor;
  if (codec == RasterCodec::Stored) {
    RasterImage* image =
        BorrowCurrentImage(*st.heap(), entry, data.data(), data.size());
    const int bits = StoredBitCount(h.format);
    image->bitCount = static_cast<std::uint8_t>(bits);
    image->width = h.width;
    image->rows = h.rows;
    const std::uint64_t stride =
        h.width > 0 ? (static_cast<std::uint64_t>(h.width) * bits + 31) / 32 * 4 : 0;
    image->stride = stride <= 0xFFFFFFFFu ? static_cast<std::uint32_t>(stride) : 0;
    image->usable = image->stride != 0 && h.rows > 0 && h.width <= kMaxRasterSide &&
                    h.rows <= kMaxRasterSide;  // the painter checks the length
  } else if ((!HasLevels(h.format) || factor == 1) && !CachedImage(entry, factor, st.rotation)) {
    RasterImage& image = CurrentImage(entry);
    if (image.bits && image.factor == factor) {
      if (RasterTarget* rows = rs.target()) {
        DecodeRow(codec, data, h.rows - 1 - static_cast<std::int32_t>(rs.pending), *rows);
      } else {
        // Whole-image data sent in several records: each decodes over the last.
        RasterTarget target(rs.geometry, {image.bits, image.bytes}, &ctx.halvingTables(),
                            rs.imageFresh);
        rs.imageFresh = false;
        if (!target.ok() || !DecodeWhole(codec, data, RasterLead::Present, target))
          rs.decodeFailed = true;
      }
    }
  }
  if (rs.pending > 0) return true;

  // Completion.
  rs.FinishTarget();
  RasterImage& image = CurrentImage(entry);
  if (codec != RasterCodec::Stored && image.bits && image.factor == factor && !rs.decodeFailed &&
      (!HasLevels(h.format) || factor == 1))
    image.usable = true;
  if (!SkipsPresentFactor(h.format) && image.usable)
    entry.present = static_cast<std::uint8_t>(entry.present | factor);
  if (st.printing) entry.lastFactor = 1;
  if (HasLevels(h.format) && factor > 1) return true;  // opcode 61 paints it
  if (image.bits && image.usable && (codec == RasterCodec::Stored || image.factor == factor))
    Paint(ctx, st, rs, image, data);
  return true;
}

bool HandleRasterLevels(DrawContext& ctx, DrawState& st, ByteReader& in) {
  RasterDrawState& rs = ctx.rasterState();
  in.skip(4);
  const std::uint8_t count = in.u8();
  std::array<RasterLevel, kMaxLevels> levels{};
  for (unsigned i = 0; i < count; ++i) {
    const std::int32_t w = in.i32(), h = in.i32(), offset = in.i32();
    if (i < kMaxLevels) levels[i] = {w, h, offset};
  }
  if (!in.ok()) return false;
  if (st.target && st.target->WantsNotes()) {
    std::string text = "raster-levels n=" + std::to_string(count);
    for (unsigned i = 0; i < count && i < kMaxLevels; ++i)
      text += " (" + std::to_string(levels[i].width) + "x" + std::to_string(levels[i].height) +
              "@" + std::to_string(levels[i].offset) + ")";
    st.target->Note(text);
  }

  const int factor = st.reductionFactor;
  if (!Current(st, rs) || !rs.drawable || !rs.entry || !st.heap() || st.printing ||
      !HasLevels(rs.header.format) || factor <= 1)
    return true;
  const int level = Log2(factor);
  if (level < 1 || level > kMaxLevels || level > count) return true;
  RasterCacheEntry& entry = *rs.entry;
  const RasterCodec codec = CodecOf(rs.header.format);
  if (!CachedImage(entry, factor, st.rotation)) {
    const RasterLevel& l = levels[static_cast<std::size_t>(level - 1)];
    // At the offset: one byte, an int32 length and the level's data, all inside the file.
    ByteReader at(st.doc().view);
    if (l.offset < 0 || !at.seek(static_cast<std::uint64_t>(l.offset))) return true;
    at.u8();
    const std::int32_t length = at.i32();
    if (!at.ok() || length < 0) return true;
    const std::span<const std::uint8_t> data = at.take_bytes(static_cast<std::uint64_t>(length));
    if (!at.ok()) return true;
    RasterGeometry geometry;
    geometry.width = l.width;
    geometry.rows = l.height;
    geometry.rotation = st.rotation;
    geometry.factor = 1;
    geometry.kind = PixelKindOf(codec);
    RasterImage* image = PrepareImage(*st.heap(), entry, factor, geometry);
    if (!image) return true;
    RasterTarget target(geometry, {image->bits, image->bytes}, &ctx.halvingTables(), true);
    if (!target.ok() || !DecodeWhole(codec, data, RasterLead::Absent, target)) return true;
    image->usable = true;
    entry.present = static_cast<std::uint8_t>(entry.present | factor);
  }
  if (const RasterImage* image = CachedImage(entry, factor, st.rotation))
    Paint(ctx, st, rs, *image);
  return true;
}

}  // namespace quillon
