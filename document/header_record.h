#pragma once
// The header record (opcode 0): page size in metres, resolution in dots per metre, and the
// values kept but not interpreted.

#include <cstddef>
#include <cstdint>

#include "document/index_record.h"
#include "document/kpz_document.h"

namespace quillon {

inline constexpr std::size_t kHeaderRecordSize = 669;  // opcode, length 664, fields
inline constexpr std::size_t kVersionTextAt = 605;
inline constexpr std::size_t kVersionTextSize = 32;

// Reads the header at index.dataStart + index.headerOffset into doc (over doc.view). When
// the byte there is not 0, or the 669 bytes do not fit in the file, nothing is changed and
// the result is false.
bool ReadHeaderRecord(KpzDocument& doc, const IndexRecord& index);

// Page size in dots, truncated toward zero (pageWidth × resolution and likewise for y).
double PageDotsX(const KpzDocument& doc);
double PageDotsY(const KpzDocument& doc);

}  // namespace quillon
