#pragma once
// The document's pattern definitions: the table made afresh at every draw, entries appended
// by the pattern records, looked up by id (the last definition of an id wins).

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "render/bit_rotation.h"
#include "render/device.h"
#include "render/draw_state.h"

namespace quillon {

inline constexpr std::size_t kDibHeaderBytes = 40;
// Larger definitions are kept as entries without a bitmap: no brush or tile is made of them.
inline constexpr std::uint32_t kMaxPatternSide = 1u << 16;
inline constexpr std::uint64_t kMaxPatternPixels = 1u << 24;

struct PatternFormat {
  std::uint16_t bitCount;
  std::uint32_t coloursUsed;  // biClrUsed
};
PatternFormat PatternFormatFor(std::uint16_t code);
// Colour table entries a bitmap of this depth carries: 2, 16, 256, or none above 8 bits.
std::uint32_t PaletteSize(std::uint16_t bitCount);

// A pattern record as read.
struct PatternRecord {
  std::uint16_t id = 0;
  std::int32_t value1 = 0, value2 = 0;
  std::int32_t rows = 0, bytesPerRow = 0, width = 0;
  std::uint16_t format = 0;
  std::span<const std::uint8_t> colours;  // C colour values of 4 bytes
  std::span<const std::uint8_t> pixels;   // rows x bytesPerRow bytes, bottom row first
};

// Frees the previous table and its bitmaps and allocates room for the declared count plus
// one (no table when none is declared). False when the heap refuses.
bool ResetPatternTable(DrawState& st);
// Appends an entry; the table grows when more patterns come than were declared. Nullptr when
// the heap refuses (the record is then simply not defined).
PatternEntry* AddPattern(DrawState& st, const PatternRecord& record);
PatternEntry* FindPattern(DrawState& st, std::uint16_t id);

// Parts of an entry's packed bitmap (empty for an entry without one).
std::span<std::uint8_t> PatternColours(const PatternEntry& entry);
std::span<std::uint8_t> PatternBits(const PatternEntry& entry);
std::size_t PatternStride(const PatternEntry& entry);
RowsView PatternRows(const PatternEntry& entry);
DibView PatternDib(const PatternEntry& entry);
bool PatternDrawable(const PatternEntry& entry);

// Writes colour table entry `index` (blue, green, red, 0) from a COLORREF; with swapRedBlue
// the red and blue bytes trade places. Out-of-range indices are ignored.
void SetColourEntry(std::span<std::uint8_t> table, std::size_t index, ColorRef colour,
                    bool swapRedBlue = false);
ColorRef ColourEntry(std::span<const std::uint8_t> table, std::size_t index);

// A packed bitmap with the entry's header and colour table around other rows (a reduced or
// turned copy): width, height and biSizeImage follow the rows.
std::vector<std::uint8_t> PackLike(const PatternEntry& entry, const PixelRows& rows);
// Header fields of a packed bitmap.
std::int32_t DibWidth(std::span<const std::uint8_t> dib);
std::int32_t DibHeight(std::span<const std::uint8_t> dib);
std::uint32_t DibSizeImage(std::span<const std::uint8_t> dib);
void SetDibHeight(std::span<std::uint8_t> dib, std::int32_t height);

}  // namespace quillon
