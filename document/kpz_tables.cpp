#include "document/kpz_tables.h"

#include "document/byte_reader.h"
#include "document/kpz_values.h"
#include "document/opcodes.h"

namespace quillon {

namespace {

// Offset of the count field from the table's opcode byte.
constexpr std::uint64_t kCountAt = 5;

// Absolute position of a table that is present, or nullopt when the offset must be ignored.
// `absent` is set for offset 0.
std::optional<std::uint64_t> Locate(ByteReader& r, const IndexRecord& index, std::uint32_t offset,
                                    std::uint8_t op, bool& absent) {
  absent = offset == 0;
  if (absent) return std::nullopt;
  const std::uint64_t at = std::uint64_t{index.dataStart} + offset;
  if (at >= r.size() || r.u8_at(at) != op) return std::nullopt;
  return at;
}

// Whole `entrySize` entries that fit between `entries` and the end of the file.
std::uint32_t EntriesPresent(std::size_t fileSize, std::uint64_t entries, std::uint32_t entrySize) {
  if (entries >= fileSize) return 0;
  const std::uint64_t n = (fileSize - entries) / entrySize;
  return n > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(n);
}

// Tables with an unsigned 16-bit count at +5 and entries at +7. A count field cut off by the
// end of the file counts as 0.
void ApplyCounted16(ByteReader& r, const IndexRecord& index, std::uint32_t offset, std::uint8_t op,
                    std::uint32_t entrySize, std::uint32_t& count, std::size_t& entriesOffset) {
  bool absent = false;
  const auto at = Locate(r, index, offset, op, absent);
  if (absent) {
    count = 0;
    entriesOffset = 0;
    return;
  }
  if (!at) return;
  ByteReader field(r.bytes(), 0);
  field.seek(*at + kCountAt);
  std::uint32_t declared = field.u16();
  if (!field.ok()) declared = 0;
  const std::uint64_t entries = *at + 7;
  if (entrySize != 0) {
    const std::uint32_t present = EntriesPresent(r.size(), entries, entrySize);
    if (declared > present) declared = present;
  }
  count = declared;
  entriesOffset = static_cast<std::size_t>(entries <= r.size() ? entries : r.size());
}

}  // namespace

void ApplyIndexRecord(KpzDocument& doc, const IndexRecord& index) {
  doc.rasterCount = index.rasterCount;
  doc.dataStart = index.dataStart;
  ByteReader r(doc.view);

  ApplyCounted16(r, index, index.pageTableOffset, opcode::PageTable, 4, doc.pageTable.count,
                 doc.pageTable.entriesOffset);
  ApplyCounted16(r, index, index.lineStyleTableOffset, opcode::LineStyleTable, 4,
                 doc.lineStyleTable.count, doc.lineStyleTable.entriesOffset);
  // Entries of these are not interpreted: their counts stay as declared.
  ApplyCounted16(r, index, index.table47Offset, opcode::Table47, 0, doc.table47.count,
                 doc.table47.entriesOffset);
  ApplyCounted16(r, index, index.table49Offset, opcode::Table49, 0, doc.table49.count,
                 doc.table49.entriesOffset);
  std::size_t unusedEntries = 0;
  ApplyCounted16(r, index, index.patternTableOffset, opcode::PatternTableDeclaration, 0,
                 doc.patternDeclCount, unusedEntries);

  bool absent = false;
  if (auto at = Locate(r, index, index.table35Offset, opcode::Table35, absent)) {
    ByteReader field(doc.view);
    field.seek(*at + kCountAt);
    const std::int32_t count = field.i32();
    doc.table35.count = field.ok() ? static_cast<std::uint32_t>(count) : 0;
    const std::uint64_t entries = *at + 9;
    doc.table35.entriesOffset =
        static_cast<std::size_t>(entries <= doc.view.size() ? entries : doc.view.size());
  } else if (absent) {
    doc.table35 = RawTable{};
  }

  if (auto at = Locate(r, index, index.table45Offset, opcode::Table45, absent)) {
    ByteReader field(doc.view);
    field.seek(*at + kCountAt);
    const std::uint16_t first = field.u16();
    const std::uint16_t second = field.u16();
    doc.table45First = field.ok() ? first : 0;
    doc.table45Second = field.ok() ? second : 0;
  } else if (absent) {
    doc.table45First = doc.table45Second = 0;
  }
}

std::optional<std::uint32_t> PageOffset(const KpzDocument& doc, std::uint32_t page) {
  if (page >= doc.pageTable.count) return std::nullopt;
  ByteReader r(doc.view);
  const std::uint32_t offset = r.u32_at(doc.pageTable.entriesOffset + 4ull * page);
  if (!r.ok()) return std::nullopt;
  return offset;
}

std::optional<std::vector<float>> LineStyleDashes(const KpzDocument& doc, std::uint32_t entry) {
  if (entry >= doc.lineStyleTable.count) return std::nullopt;
  ByteReader r(doc.view);
  const std::uint32_t offset = r.u32_at(doc.lineStyleTable.entriesOffset + 4ull * entry);
  if (!r.ok()) return std::nullopt;
  // The definition's own opcode and length are not examined: only +7 and +9 matter.
  if (!r.seek(std::uint64_t{doc.dataStart} + offset + 7)) return std::nullopt;
  std::uint32_t count = r.u16();
  if (!r.ok()) return std::nullopt;
  const std::uint64_t present = r.remaining() / 4;
  if (count > present) count = static_cast<std::uint32_t>(present);
  std::vector<float> dashes;
  dashes.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) dashes.push_back(KpzFixedToFloat(r.u32()));
  return dashes;
}

}  // namespace quillon
