#include "document/header_record.h"

#include <cmath>

#include "document/byte_reader.h"
#include "document/kpz_values.h"
#include "document/opcodes.h"

namespace quillon {

bool ReadHeaderRecord(KpzDocument& doc, const IndexRecord& index) {
  ByteReader r(doc.view);
  const std::uint64_t at = std::uint64_t{index.dataStart} + index.headerOffset;
  if (at >= r.size() || r.u8_at(at) != opcode::HeaderRecord) return false;
  if (r.size() - at < kHeaderRecordSize) return false;

  r.seek(at + 5);
  doc.header.word = r.i32();
  doc.header.value1 = KpzFixedToDouble(r.u32());
  doc.header.pageWidth = KpzFixedToDouble(r.u32());
  doc.header.pageHeight = KpzFixedToDouble(r.u32());
  doc.header.value2 = KpzFixedToDouble(r.u32());
  doc.header.shortValue = r.i16();
  doc.header.resolution = r.u16();
  r.seek(at + kVersionTextAt);
  const auto text = r.take_bytes(kVersionTextSize);
  doc.header.versionText.fill('\0');
  for (std::size_t i = 0; i < text.size() && text[i] != 0; ++i)
    doc.header.versionText[i] = static_cast<char>(text[i]);
  return r.ok();
}

double PageDotsX(const KpzDocument& doc) {
  return std::trunc(doc.header.pageWidth * doc.header.resolution);
}
double PageDotsY(const KpzDocument& doc) {
  return std::trunc(doc.header.pageHeight * doc.header.resolution);
}

}  // namespace quillon
