#include "document/index_record.h"

#include "document/byte_reader.h"
#include "document/opcodes.h"

namespace quillon {

std::optional<IndexRecord> ReadIndexRecord(std::span<const std::uint8_t> file,
                                           std::size_t dataStart) {
  if (file.size() < 4) return std::nullopt;
  ByteReader r(file);
  IndexRecord index;
  index.dataStart = dataStart;
  index.indexSize = r.u32_at(file.size() - 4);
  if (index.indexSize > file.size()) return std::nullopt;
  // Below the minimum the length field would overlap the size field, or lie past the end.
  if (index.indexSize < kIndexRecordMinSize) return std::nullopt;
  index.start = file.size() - index.indexSize;
  const std::uint64_t length = r.u32_at(index.start + 1);
  if (length + 5 != index.indexSize) return std::nullopt;
  if (r.u8_at(index.start) != opcode::IndexRecord) return std::nullopt;

  r.seek(index.start + 6);
  index.rasterCount = r.u32();
  index.headerOffset = r.u32();
  index.pageTableOffset = r.u32();
  index.table47Offset = r.u32();
  index.table49Offset = r.u32();
  index.table35Offset = r.u32();
  index.lineStyleTableOffset = r.u32();
  index.patternTableOffset = r.u32();
  index.table45Offset = r.u32();
  if (!r.ok()) return std::nullopt;
  return index;
}

}  // namespace quillon
