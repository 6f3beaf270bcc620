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
  doc.headerWord = r.i32();
  doc.headerValue1 = KpzFixedToDouble(r.u32());
  doc.pageWidth = KpzFixedToDouble(r.u32());
  doc.pageHeight = KpzFixedToDouble(r.u32());
  doc.headerValue2 = KpzFixedToDouble(r.u32());
  doc.headerShort = r.i16();
  doc.resolution = r.u16();
  r.seek(at + kVersionTextAt);
  const auto text = r.take_bytes(kVersionTextSize);
  doc.versionText.fill('\0');
  for (std::size_t i = 0; i < text.size() && text[i] != 0; ++i)
    doc.versionText[i] = static_cast<char>(text[i]);
  return r.ok();
}

double PageDotsX(const KpzDocument& doc) { return std::trunc(doc.pageWidth * doc.resolution); }
double PageDotsY(const KpzDocument& doc) { return std::trunc(doc.pageHeight * doc.resolution); }

}  // namespace quillon
