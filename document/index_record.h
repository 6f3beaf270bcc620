#pragma once
// The index record (opcode 1) that ends every KPZ file. Its last 4 bytes, the last 4 bytes
// of the file, give its size; it points at the header and the tables.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace quillon {

// Opcode, length, one byte, rasterCount, nine offsets (42 bytes), then the 4-byte size.
inline constexpr std::uint32_t kIndexRecordMinSize = 46;

struct IndexRecord {
  std::size_t start = 0;      // absolute offset of the opcode byte
  std::size_t dataStart = 0;  // what the offsets below count from
  std::uint32_t indexSize = 0;
  std::uint32_t rasterCount = 0;
  // Offsets from the data start, as stored.
  std::uint32_t headerOffset = 0;
  std::uint32_t pageTableOffset = 0;
  std::uint32_t table47Offset = 0;
  std::uint32_t table49Offset = 0;
  std::uint32_t table35Offset = 0;
  std::uint32_t lineStyleTableOffset = 0;
  std::uint32_t patternTableOffset = 0;  // the declaration, opcode 37
  std::uint32_t table45Offset = 0;
};

// nullopt unless: the size fits in the file, the length field plus 5 equals the size, and the
// opcode byte is 1. A record too short to hold its fields (under kIndexRecordMinSize) is
// refused as well. `dataStart` is not part of the checks; it is kept with the record.
std::optional<IndexRecord> ReadIndexRecord(std::span<const std::uint8_t> file,
                                           std::size_t dataStart);

}  // namespace quillon
