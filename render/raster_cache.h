#pragma once
// The per-document raster cache: one entry per raster of the document, holding the decoded
// image (already turned to the view rotation) at the factor last drawn and kept copies at
// factors 4 to 32. Entries and images live in the document heap; images are stored turned, so
// the whole cache goes when the view rotation changes.

#include <cstddef>
#include <cstdint>

#include "document/document_platform.h"
#include "render/draw_state.h"

namespace quillon {

// One decoded (or stored) image as it is painted: width and rows after turning.
struct RasterImage {
  std::uint8_t* bits = nullptr;
  std::size_t bytes = 0;
  std::int32_t width = 0, rows = 0;
  std::uint32_t stride = 0;
  std::uint8_t factor = 0;
  std::uint8_t bitCount = 0;
  std::int16_t rotation = 0;  // the view rotation it was turned for
  bool borrowed = false;      // the record's bytes in the mapped file, never freed
  bool usable = false;        // decoded without a failure that forbids painting it
};

inline constexpr int kKeptFactors = 4;  // 4, 8, 16, 32

struct RasterCacheEntry {
  RasterImage own;  // the current image when it is not a kept copy (factors 1 and 2)
  RasterImage kept[kKeptFactors];
  std::int8_t currentKept = -1;  // index of the kept copy that is the current image, -1 own
  std::uint8_t present = 0;      // bit values are the factors present
  std::uint8_t lastFactor = 1;
};

inline RasterImage& CurrentImage(RasterCacheEntry& entry) {
  return entry.currentKept >= 0 ? entry.kept[entry.currentKept] : entry.own;
}

// Index of factor 4..32 among the kept copies; -1 for 1 and 2.
int KeptIndex(int factor);

// The entry of raster `ordinal` (0-based), allocating the table at the first use: one entry
// per raster the document declares plus one; rasters beyond those share a last entry whose
// images are freed whenever another raster takes it. nullptr when the heap refuses.
RasterCacheEntry* RasterCacheSlot(DrawState& st, std::int32_t ordinal);

// Frees every image and the table; the next raster allocates a new one.
void ReleaseRasterCache(DrawState& st);

// The image for `factor` turned for `rotation`, when the entry holds one that can be painted.
// (A print may draw at another rotation than the screen that filled the cache.)
const RasterImage* CachedImage(const RasterCacheEntry& entry, int factor, int rotation);

// Called when the entry's last factor differs from the new one: a kept copy at 4..32 becomes
// the current image; for 1 and 2 the current image goes and the factor must be decoded again.
void SwitchFactor(DocumentHeap& heap, RasterCacheEntry& entry, int factor);

// A zero-filled image of `bytes` that becomes the current one (and the kept copy for 4..32);
// what it replaces is freed. nullptr when the heap refuses.
RasterImage* NewCurrentImage(DocumentHeap& heap, RasterCacheEntry& entry, int factor,
                             std::size_t bytes);

// The record's own bytes become the current image.
RasterImage* BorrowCurrentImage(DocumentHeap& heap, RasterCacheEntry& entry,
                                const std::uint8_t* bits, std::size_t bytes);

// Frees all images of one entry and forgets its factors.
void ClearEntry(DocumentHeap& heap, RasterCacheEntry& entry);

}  // namespace quillon
