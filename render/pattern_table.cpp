#include "render/pattern_table.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

namespace quillon {

namespace {

void Put16(std::uint8_t* at, std::uint16_t v) {
  at[0] = static_cast<std::uint8_t>(v);
  at[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::uint8_t* at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint32_t Get32(const std::uint8_t* at) {
  return at[0] | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16 |
         std::uint32_t{at[3]} << 24;
}

void WriteHeader(std::uint8_t* at, std::int32_t width, std::int32_t height, std::uint16_t bitCount,
                 std::uint32_t coloursUsed, std::uint32_t sizeImage) {
  std::memset(at, 0, kDibHeaderBytes);
  Put32(at, kDibHeaderBytes);
  Put32(at + 4, static_cast<std::uint32_t>(width));
  Put32(at + 8, static_cast<std::uint32_t>(height));
  Put16(at + 12, 1);  // planes
  Put16(at + 14, bitCount);
  Put32(at + 16, 0);  // BI_RGB
  Put32(at + 20, sizeImage);
  Put32(at + 32, coloursUsed);
}

void FreeTable(DrawState& st) {
  DocumentHeap* heap = st.heap();
  if (heap && st.patterns.entries) {
    for (std::uint32_t i = 0; i < st.patterns.count; ++i) heap->Free(st.patterns.entries[i].dib);
    heap->Free(st.patterns.entries);
  }
  st.patterns.entries = nullptr;
  st.patterns.capacity = 0;
  st.patterns.count = 0;
}

bool Grow(DrawState& st) {
  DocumentHeap* heap = st.heap();
  if (!heap) return false;
  const std::uint64_t want = std::max<std::uint64_t>(4, std::uint64_t{st.patterns.capacity} * 2);
  if (want > 0xFFFFFFFFu || want > SIZE_MAX / sizeof(PatternEntry)) return false;
  auto* table = static_cast<PatternEntry*>(
      heap->Allocate(static_cast<std::size_t>(want) * sizeof(PatternEntry)));
  if (!table) return false;
  for (std::uint32_t i = 0; i < want; ++i) new (&table[i]) PatternEntry{};
  std::copy_n(st.patterns.entries, st.patterns.count, table);
  heap->Free(st.patterns.entries);
  st.patterns.entries = table;
  st.patterns.capacity = static_cast<std::uint32_t>(want);
  return true;
}

// The bitmap of a record, or none when its size is zero, negative or beyond the limits.
bool BuildBitmap(DocumentHeap& heap, const PatternRecord& record, PatternEntry& entry) {
  if (record.width <= 0 || record.rows <= 0) return true;
  const auto width = static_cast<std::uint32_t>(record.width);
  const auto rows = static_cast<std::uint32_t>(record.rows);
  if (width > kMaxPatternSide || rows > kMaxPatternSide ||
      std::uint64_t{width} * rows > kMaxPatternPixels)
    return true;
  const PatternFormat format = PatternFormatFor(record.format);
  const std::size_t stride = DibStride(width, format.bitCount);
  // Palette depths always carry their whole table, whatever the record's count, so that GDI
  // never reads colours beyond the block; above 8 bits the record's colours have no use.
  const std::uint32_t palette = PaletteSize(format.bitCount);
  const std::size_t colourBytes = std::size_t{palette} * 4;
  const std::uint64_t size = kDibHeaderBytes + colourBytes + std::uint64_t{stride} * rows;
  auto* dib = static_cast<std::uint8_t*>(heap.Allocate(static_cast<std::size_t>(size)));
  if (!dib) return false;
  WriteHeader(dib, record.width, record.rows, format.bitCount, format.coloursUsed,
              static_cast<std::uint32_t>(stride * rows));
  std::uint8_t* table = dib + kDibHeaderBytes;
  const std::size_t given = std::min<std::size_t>(record.colours.size() / 4, palette);
  for (std::size_t i = 0; i < given; ++i) {
    // Each channel is stored as its two's complement.
    const std::uint8_t* c = record.colours.data() + 4 * i;
    table[4 * i + 0] = static_cast<std::uint8_t>(256 - c[0]);
    table[4 * i + 1] = static_cast<std::uint8_t>(256 - c[1]);
    table[4 * i + 2] = static_cast<std::uint8_t>(256 - c[2]);
    table[4 * i + 3] = 0;
  }
  // Rows come padded as the record says; the bitmap wants them padded to 32 bits.
  std::uint8_t* bits = table + colourBytes;
  const auto recordStride = static_cast<std::size_t>(record.bytesPerRow);
  const std::size_t copy = std::min(recordStride, stride);
  for (std::uint32_t y = 0; y < rows; ++y)
    std::memcpy(bits + std::size_t{y} * stride, record.pixels.data() + y * recordStride, copy);
  entry.dib = dib;
  entry.dibSize = static_cast<std::size_t>(size);
  entry.colourBytes = colourBytes;
  entry.width = record.width;
  entry.height = record.rows;
  entry.bitCount = format.bitCount;
  return true;
}

}  // namespace

PatternFormat PatternFormatFor(std::uint16_t code) {
  switch (code) {
    case 0x8010:
    case 0xC010:
      return {1, 2};
    case 0x8020:
    case 0xC020:
      return {4, 16};
    case 0x8040:
    case 0xC040:
      return {8, 256};
    case 0x8080:
    case 0xC080:
      return {24, 0};
    default:
      return {32, 0};
  }
}

std::uint32_t PaletteSize(std::uint16_t bitCount) {
  return bitCount == 1 ? 2 : bitCount == 4 ? 16 : bitCount == 8 ? 256 : 0;
}

bool ResetPatternTable(DrawState& st) {
  FreeTable(st);
  if (st.doc().patternDeclCount == 0 || !st.heap()) return true;
  const std::uint64_t room = std::uint64_t{st.doc().patternDeclCount} + 1;
  if (room > 0xFFFFFFFFu || room > SIZE_MAX / sizeof(PatternEntry)) return false;
  auto* table = static_cast<PatternEntry*>(
      st.heap()->Allocate(static_cast<std::size_t>(room) * sizeof(PatternEntry)));
  if (!table) return false;
  for (std::uint64_t i = 0; i < room; ++i) new (&table[i]) PatternEntry{};
  st.patterns.entries = table;
  st.patterns.capacity = static_cast<std::uint32_t>(room);
  return true;
}

PatternEntry* AddPattern(DrawState& st, const PatternRecord& record) {
  if (!st.heap()) return nullptr;
  if (record.rows > 0 && record.bytesPerRow >= 0 &&
      record.pixels.size() < std::uint64_t(record.rows) * std::uint64_t(record.bytesPerRow))
    return nullptr;
  if (st.patterns.count == st.patterns.capacity && !Grow(st)) return nullptr;
  PatternEntry entry;
  entry.id = record.id;
  entry.value1 = record.value1;
  entry.value2 = record.value2;
  if (!BuildBitmap(*st.heap(), record, entry)) return nullptr;
  st.patterns.entries[st.patterns.count] = entry;
  return &st.patterns.entries[st.patterns.count++];
}

PatternEntry* FindPattern(DrawState& st, std::uint16_t id) {
  for (std::uint32_t i = st.patterns.count; i-- > 0;)
    if (st.patterns.entries[i].id == id) return &st.patterns.entries[i];
  return nullptr;
}

bool PatternDrawable(const PatternEntry& entry) {
  return entry.dib != nullptr && entry.width > 0 && entry.height > 0;
}

std::span<std::uint8_t> PatternColours(const PatternEntry& entry) {
  if (!entry.dib) return {};
  return {entry.dib + kDibHeaderBytes, entry.colourBytes};
}

std::span<std::uint8_t> PatternBits(const PatternEntry& entry) {
  if (!entry.dib) return {};
  const std::size_t at = kDibHeaderBytes + entry.colourBytes;
  return {entry.dib + at, entry.dibSize - at};
}

std::size_t PatternStride(const PatternEntry& entry) {
  return entry.dib ? DibStride(static_cast<std::uint32_t>(entry.width), entry.bitCount) : 0;
}

RowsView PatternRows(const PatternEntry& entry) {
  if (!PatternDrawable(entry)) return {};
  return {PatternBits(entry), static_cast<std::uint32_t>(entry.width),
          static_cast<std::uint32_t>(entry.height), PatternStride(entry), entry.bitCount};
}

DibView PatternDib(const PatternEntry& entry) {
  if (!entry.dib) return {};
  return {{entry.dib, kDibHeaderBytes + entry.colourBytes}, PatternBits(entry)};
}

void SetColourEntry(std::span<std::uint8_t> table, std::size_t index, ColorRef colour,
                    bool swapRedBlue) {
  if (table.size() < 4 * (index + 1)) return;
  std::uint8_t red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
  if (swapRedBlue) std::swap(red, blue);
  table[4 * index + 0] = blue;
  table[4 * index + 1] = green;
  table[4 * index + 2] = red;
  table[4 * index + 3] = 0;
}

ColorRef ColourEntry(std::span<const std::uint8_t> table, std::size_t index) {
  if (table.size() < 4 * (index + 1)) return 0;
  const std::uint8_t* e = table.data() + 4 * index;
  return ColorRef{e[2]} | ColorRef{e[1]} << 8 | ColorRef{e[0]} << 16;
}

std::vector<std::uint8_t> PackLike(const PatternEntry& entry, const PixelRows& rows) {
  std::vector<std::uint8_t> dib(kDibHeaderBytes + entry.colourBytes + rows.data.size());
  std::memcpy(dib.data(), entry.dib, kDibHeaderBytes + entry.colourBytes);
  Put32(dib.data() + 4, rows.width);
  Put32(dib.data() + 8, rows.height);
  Put32(dib.data() + 20, static_cast<std::uint32_t>(rows.stride * rows.height));
  std::copy(rows.data.begin(), rows.data.end(),
            dib.begin() + static_cast<std::ptrdiff_t>(kDibHeaderBytes + entry.colourBytes));
  return dib;
}

std::int32_t DibWidth(std::span<const std::uint8_t> dib) {
  return dib.size() >= kDibHeaderBytes ? static_cast<std::int32_t>(Get32(dib.data() + 4)) : 0;
}
std::int32_t DibHeight(std::span<const std::uint8_t> dib) {
  return dib.size() >= kDibHeaderBytes ? static_cast<std::int32_t>(Get32(dib.data() + 8)) : 0;
}
std::uint32_t DibSizeImage(std::span<const std::uint8_t> dib) {
  return dib.size() >= kDibHeaderBytes ? Get32(dib.data() + 20) : 0;
}
void SetDibHeight(std::span<std::uint8_t> dib, std::int32_t height) {
  if (dib.size() >= kDibHeaderBytes) Put32(dib.data() + 8, static_cast<std::uint32_t>(height));
}

}  // namespace quillon
