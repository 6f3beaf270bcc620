#pragma once
// The raster being drawn: its header, the palette store, the records still expected and the
// decoder's destination for rasters that arrive a row per record. Kept by the DrawContext.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "render/codecs/raster_target.h"
#include "render/device.h"

namespace quillon {

struct RasterCacheEntry;

struct RasterHeader {
  std::uint8_t flags = 0;
  std::uint32_t foreColour = 0, backColour = 0;  // 0x00RRGGBB
  std::int32_t cornerX = 0, cornerY = 0;         // turned and moved by the rotation rule
  std::int32_t destWidth = 0, destHeight = 0;    // exchanged for 90 and 270
  std::int32_t rows = 0, bytesPerRow = 0, width = 0;
  std::uint16_t format = 0;
  std::uint16_t colourCount = 0;
};

namespace raster_flags {
inline constexpr std::uint8_t kRowRecords = 0x80, kTransparent = 0x04,
                              kForegroundTransparent = 0x08;
}  // namespace raster_flags

// A palette entry as stored: the index and each channel as the 8-bit value × 256.
struct RasterPaletteEntry {
  std::uint16_t index = 0, red = 0, green = 0, blue = 0;
};
static_assert(sizeof(RasterPaletteEntry) == 8);

class RasterDrawState {
 public:
  static constexpr std::uint32_t kPaletteEntries = 65535;

  RasterDrawState() = default;
  ~RasterDrawState() { DropTarget(); }
  RasterDrawState(const RasterDrawState&) = delete;
  RasterDrawState& operator=(const RasterDrawState&) = delete;

  // The palette store, grown to hold at least `entries` (at most kPaletteEntries) as the
  // raster headers ask: most rasters have two colours, and a full store costs half a
  // megabyte of zeroes. Empty once it could not be had.
  std::span<RasterPaletteEntry> Palette(std::uint32_t entries = 0);

  // The destination of a row-per-record raster; dropped without touching its image, which
  // may be gone by then (cache reset, document closed).
  void SetTarget(std::unique_ptr<RasterTarget> target) {
    DropTarget();
    target_ = std::move(target);
  }
  RasterTarget* target() const { return target_.get(); }
  void DropTarget() {
    if (target_) target_->Abandon();
    target_.reset();
  }
  // Completes the image (clears the rows never reached) and lets the destination go.
  void FinishTarget() {
    if (target_) target_->Finish();
    DropTarget();
  }

  RasterHeader header;
  RasterGeometry geometry;            // what the decoders of opcode 54 produce
  std::uint32_t pending = 0;          // data records still expected
  bool drawable = false;              // decoding and painting can go ahead
  bool decodeFailed = false;          // the image must not be painted
  bool imageFresh = false;            // the image is as the heap gave it: all zero
  std::int32_t ordinal = -1;          // the raster the state belongs to
  RasterCacheEntry* entry = nullptr;  // its cache entry (document heap)

 private:
  std::vector<RasterPaletteEntry> palette_;
  bool paletteFailed_ = false;
  std::unique_ptr<RasterTarget> target_;
};

}  // namespace quillon
