#pragma once
// Operand sizes of every display-list record: the one place that knows how far each record
// reaches. Used wherever records are stepped over without drawing (page walks, tools, fuzzing).

#include <cstdint>

#include "document/byte_reader.h"

namespace quillon {

// Records skipped by their signed 32-bit length: the reader advances 4 + len.
bool IsLengthPrefixed(std::uint8_t op);

// Steps over a record by its signed 32-bit length; `r` is just after the opcode byte. A
// negative length would move a walk backwards (and could loop for ever), so it is refused and
// leaves `r` failed, like a length that runs past the end.
bool SkipLengthPrefixed(ByteReader& r);

// Advances `r`, positioned just after the opcode byte, past the operands of `op` as the
// record layout defines them. Returns false (and leaves `r` failed) when the record runs past
// the end of the bytes or holds a negative length or count.
bool ConsumeRecord(std::uint8_t op, ByteReader& r);

}  // namespace quillon
