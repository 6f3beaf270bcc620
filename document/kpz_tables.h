#pragma once
// The tables that the index record points at: pages, line styles, the pattern declaration
// and the raw tables 35, 45, 47, 49.

#include <cstdint>
#include <optional>
#include <vector>

#include "document/index_record.h"
#include "document/kpz_document.h"

namespace quillon {

// Fills doc.rasterCount, doc.dataStart and the table fields from `index`, over doc.view.
// Per table: offset 0 empties it; a non-zero offset whose byte is not the table's opcode
// leaves the previous values. A table cut short by the end of the file keeps only what the
// file holds (page and line-style counts are cut to their whole entries present).
void ApplyIndexRecord(KpzDocument& doc, const IndexRecord& index);

// Offset (from the data start) of the first record of page `page`; nullopt past the table.
std::optional<std::uint32_t> PageOffset(const KpzDocument& doc, std::uint32_t page);

// Dash lengths of line-style table entry `entry` (style number - 6), drawn and skipped in
// turn; cut to the lengths the file holds. nullopt when the entry or its definition is not
// in the file.
std::optional<std::vector<float>> LineStyleDashes(const KpzDocument& doc, std::uint32_t entry);

}  // namespace quillon
