#pragma once
// Paints a decoded raster with StretchDIBits: its colour table, the stretch mode, one opaque
// pass or two transparent ones, in bands of 40 source rows (in one call when the device keeps
// the raster's JPEG stream).

#include <cstdint>
#include <span>
#include <vector>

#include "document/document_platform.h"
#include "render/device.h"
#include "render/raster_cache.h"
#include "render/raster_state.h"

namespace quillon {

struct DibColour {
  std::uint8_t blue = 0, green = 0, red = 0, reserved = 0;
  bool operator==(const DibColour&) const = default;
};

// 0x00RRGGBB as a colour table entry.
DibColour DibColourOf(std::uint32_t rgb);

// The two entries of a bitonal image: 0 the background, 1 the foreground. Equal colours would
// hide the image, so the non-transparent one of them is complemented.
std::vector<DibColour> BitonalColourTable(const RasterHeader& header);

// The header palette, from the high byte of each channel: max(count, 1) entries, at most
// `maxEntries`.
std::vector<DibColour> PaletteColourTable(std::span<const RasterPaletteEntry> palette,
                                          std::uint32_t count, std::uint32_t maxEntries);

// Transparent painting, first pass: entries equal to the transparent colour white, the rest
// black. Second pass: transparent entries black, the rest kept. For bitonal tables the entry
// `transparentIndex` is the transparent one whatever its colour.
std::vector<DibColour> MaskTable(const std::vector<DibColour>& table, DibColour transparent,
                                 int transparentIndex);
std::vector<DibColour> PaintTable(const std::vector<DibColour>& table, DibColour transparent,
                                  int transparentIndex);

struct RasterPaintJob {
  const RasterImage* image = nullptr;
  std::int32_t x = 0, y = 0, destWidth = 0, destHeight = 0;
  RasterHeader header;                    // flags and colours
  std::vector<DibColour> colours;         // empty for 24-bit images
  bool bitonalTable = false;              // the table is the two-entry fore/back table
  std::uint32_t rasterRop = gdi::kRopSrcAnd;  // SRCCOPY: transparency is ignored
  // The JPEG stream the image was decoded from, when the image is that stream's whole picture
  // at full size; offered to the device when the raster is painted opaque.
  JpegSource jpeg;
};

enum class PaintResult { Painted, NotPainted, NoMemory };

// The header block comes from `heap`; when it cannot be had nothing is painted (NoMemory).
PaintResult PaintRaster(Device& dc, DocumentHeap& heap, const RasterPaintJob& job);

}  // namespace quillon
