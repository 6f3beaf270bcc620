#include "render/raster_cache.h"

#include <algorithm>
#include <new>

namespace quillon {

namespace {

// More entries than this are not cached one by one: the last entry serves the rest.
constexpr std::uint64_t kMaxCachedRasters = 1u << 16;

void FreeImage(DocumentHeap& heap, RasterImage& image) {
  if (image.bits && !image.borrowed) heap.Free(image.bits);
  image = RasterImage{};
}

void DropCurrent(DocumentHeap& heap, RasterCacheEntry& entry) {
  FreeImage(heap, entry.own);
  entry.currentKept = -1;
}

}  // namespace

int KeptIndex(int factor) {
  switch (factor) {
    case 4:
      return 0;
    case 8:
      return 1;
    case 16:
      return 2;
    case 32:
      return 3;
    default:
      return -1;
  }
}

RasterCacheEntry* RasterCacheSlot(DrawState& st, std::int32_t ordinal) {
  if (!st.heap() || ordinal < 0) return nullptr;
  DocumentHeap& heap = *st.heap();
  RasterCache& cache = st.rasterCache;
  if (!cache.entries) {
    const std::uint64_t count = std::min<std::uint64_t>(
        static_cast<std::uint64_t>(st.doc().rasterCount) + 1, kMaxCachedRasters);
    void* block = heap.Allocate(static_cast<std::size_t>(count) * sizeof(RasterCacheEntry));
    if (!block) return nullptr;
    cache.entries = static_cast<RasterCacheEntry*>(block);
    cache.count = static_cast<std::uint32_t>(count);
    for (std::uint32_t i = 0; i < cache.count; ++i) new (&cache.entries[i]) RasterCacheEntry();
  }
  const auto index = static_cast<std::uint32_t>(ordinal);
  if (index + 1 < cache.count) return &cache.entries[index];
  RasterCacheEntry& shared = cache.entries[cache.count - 1];  // the last one is shared
  ClearEntry(heap, shared);
  return &shared;
}

void ReleaseRasterCache(DrawState& st) {
  RasterCache& cache = st.rasterCache;
  if (cache.entries && st.heap()) {
    for (std::uint32_t i = 0; i < cache.count; ++i) ClearEntry(*st.heap(), cache.entries[i]);
    st.heap()->Free(cache.entries);
  }
  cache = RasterCache{};
}

const RasterImage* CachedImage(const RasterCacheEntry& entry, int factor, int rotation) {
  if (factor < 1 || factor > 32 || !(entry.present & factor)) return nullptr;
  const int kept = KeptIndex(factor);
  // Bits 1 and 2 speak of the current image only; it must still be of that factor.
  const RasterImage& image = kept >= 0 ? entry.kept[kept] : entry.own;
  if (kept < 0 && entry.currentKept >= 0) return nullptr;
  if (!image.bits || image.factor != factor || !image.usable || image.rotation != rotation)
    return nullptr;
  return &image;
}

void SwitchFactor(DocumentHeap& heap, RasterCacheEntry& entry, int factor) {
  const int kept = KeptIndex(factor);
  if (kept >= 0) {
    if (!entry.kept[kept].bits) return;
    DropCurrent(heap, entry);
    entry.currentKept = static_cast<std::int8_t>(kept);
    return;
  }
  DropCurrent(heap, entry);
  entry.present = static_cast<std::uint8_t>(entry.present & ~factor);
}

RasterImage* NewCurrentImage(DocumentHeap& heap, RasterCacheEntry& entry, int factor,
                             std::size_t bytes) {
  auto* bits = static_cast<std::uint8_t*>(heap.Allocate(bytes == 0 ? 1 : bytes));
  if (!bits) return nullptr;
  DropCurrent(heap, entry);
  const int kept = KeptIndex(factor);
  RasterImage* image = &entry.own;
  if (kept >= 0) {
    FreeImage(heap, entry.kept[kept]);
    entry.currentKept = static_cast<std::int8_t>(kept);
    image = &entry.kept[kept];
  }
  entry.present = static_cast<std::uint8_t>(entry.present & ~factor);
  image->bits = bits;
  image->bytes = bytes;
  image->factor = static_cast<std::uint8_t>(factor);
  return image;
}

RasterImage* BorrowCurrentImage(DocumentHeap& heap, RasterCacheEntry& entry,
                                const std::uint8_t* bits, std::size_t bytes) {
  DropCurrent(heap, entry);
  entry.own.bits = const_cast<std::uint8_t*>(bits);  // never written: painted only
  entry.own.bytes = bytes;
  entry.own.factor = 1;
  entry.own.borrowed = true;
  return &entry.own;
}

void ClearEntry(DocumentHeap& heap, RasterCacheEntry& entry) {
  DropCurrent(heap, entry);
  for (auto& image : entry.kept) FreeImage(heap, image);
  entry.present = 0;
  entry.lastFactor = 1;
}

}  // namespace quillon
