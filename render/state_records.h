#pragma once
// Records that only set drawing state: pen and fill state (they mark the pens or the fill
// brush for re-creation), the stored-but-unused values, and the plot information.
// Each takes the reader just after the opcode byte and returns false when the record does
// not fit in the file (the reader is then failed and nothing is stored).

#include <cstdint>

#include "document/byte_reader.h"
#include "render/draw_state.h"

namespace quillon {

// 18-24, 26, 27, 58, 60.
bool ReadPenState(DrawState& st, std::uint8_t op, ByteReader& in);
// 25, 29, 30, 55, 59.
bool ReadFillState(DrawState& st, std::uint8_t op, ByteReader& in);
// 28, 31, 32, 33: kept, nothing draws with them.
bool ReadStoredValue(DrawState& st, std::uint8_t op, ByteReader& in);
// 2 and 57: 527 and 535 bytes of operands.
bool ReadPlotInfo(DrawState& st, std::uint8_t op, ByteReader& in);

}  // namespace quillon
