#pragma once
// One display-list record: dispatch on its opcode byte.

#include <cstdint>

#include "document/byte_reader.h"
#include "render/draw_context.h"
#include "render/draw_state.h"

namespace quillon {

// Runs the record whose opcode byte was just read; `in` is at its operands and is left at the
// next record. The end-of-page record moves `in` to the byte before the file's last one, so
// that the next fetch ends the page. False when the record cannot be read whole, or a length
// is negative: the page ends there.
bool DispatchRecord(DrawContext& ctx, DrawState& st, std::uint8_t op, ByteReader& in);

}  // namespace quillon
