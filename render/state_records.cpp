#include "render/state_records.h"

#include "document/kpz_values.h"
#include "document/opcodes.h"

namespace quillon {

bool ReadPenState(DrawState& st, std::uint8_t op, ByteReader& in) {
  switch (op) {
    case opcode::LineWidthRecord:
    case opcode::OutlineWidthRecord: {
      const std::uint32_t raw = in.u32();
      if (!in.ok()) return false;
      (op == opcode::LineWidthRecord ? st.line.width : st.outline.width) = KpzFixedToFloat(raw);
      break;
    }
    case opcode::LineJoinRecord:
    case opcode::OutlineJoinRecord:
    case opcode::LineCapRecord: {
      const std::uint8_t code = in.u8();
      if (!in.ok()) return false;
      if (op == opcode::LineJoinRecord) st.line.join = code;
      if (op == opcode::OutlineJoinRecord) st.outline.join = code;
      if (op == opcode::LineCapRecord) st.line.cap = code;
      break;
    }
    case opcode::LineStyleRecord:
    case opcode::OutlineStyleRecord: {
      const std::uint16_t style = in.u16();
      if (!in.ok()) return false;
      (op == opcode::LineStyleRecord ? st.line.style : st.outline.style) = style;
      break;
    }
    case opcode::LineColourRecord:
    case opcode::OutlineColourRecord: {
      const std::uint32_t raw = in.u32();
      if (!in.ok()) return false;
      (op == opcode::LineColourRecord ? st.line.colour : st.outline.colour) =
          KpzColourToColorRef(raw);
      break;
    }
    case opcode::LineModeColourRecord:
    case opcode::OutlineModeColourRecord: {
      const std::uint8_t mix = in.u8();
      const std::uint32_t raw = in.u32();
      if (!in.ok()) return false;
      const bool line = op == opcode::LineModeColourRecord;
      (line ? st.line.mix : st.outline.mix) = mix;
      (line ? st.line.colour : st.outline.colour) = KpzColourToColorRef(raw);
      break;
    }
    default:
      return false;
  }
  const bool outline = op == opcode::OutlineWidthRecord || op == opcode::OutlineJoinRecord ||
                       op == opcode::OutlineStyleRecord || op == opcode::OutlineColourRecord ||
                       op == opcode::OutlineModeColourRecord;
  (outline ? st.outline.valid : st.line.valid) = false;
  return true;
}

bool ReadFillState(DrawState& st, std::uint8_t op, ByteReader& in) {
  switch (op) {
    case opcode::FillStyleRecord: {
      const std::uint16_t style = in.u16();
      if (!in.ok()) return false;
      st.fill.style = style;
      break;
    }
    case opcode::PatternForeRecord:
    case opcode::PatternBackRecord:
    case opcode::FillColourRecord: {
      const std::uint8_t mode = in.u8();
      const std::uint32_t raw = in.u32();
      if (!in.ok()) return false;
      const ColorRef colour = KpzColourToColorRef(raw);
      if (op == opcode::PatternForeRecord) {
        st.fill.foreMode = mode;
        st.fill.foreColour = colour;
      } else if (op == opcode::PatternBackRecord) {
        st.fill.backMode = mode;
        st.fill.backColour = colour;
      } else {
        st.fill.colourMode = mode;
        st.fill.colour = colour;
      }
      break;
    }
    case opcode::PatternAngleRecord: {
      in.i32();  // length, not used: the layout is fixed
      const std::uint32_t first = in.u32();
      const std::uint32_t angle = in.u32();
      if (!in.ok()) return false;
      st.fill.angleFirst = KpzFixedToFloat(first);
      st.fill.angle = KpzFixedToFloat(angle);
      return true;  // the angle alone does not change the brush
    }
    default:
      return false;
  }
  st.fill.valid = false;
  return true;
}

bool ReadStoredValue(DrawState& st, std::uint8_t op, ByteReader& in) {
  switch (op) {
    case opcode::Colour28Record:
    case opcode::Colour31Record: {
      const std::uint32_t raw = in.u32();
      if (!in.ok()) return false;
      (op == opcode::Colour28Record ? st.unusedColour28 : st.unusedColour31) = raw;
      return true;
    }
    case opcode::Value32Record: {
      const std::int32_t value = in.i32();
      if (!in.ok()) return false;
      st.unusedValue32 = value;
      return true;
    }
    case opcode::Value33Record: {
      const std::int16_t value = in.i16();
      if (!in.ok()) return false;
      st.unusedValue33 = value;
      return true;
    }
    default:
      return false;
  }
}

}  // namespace quillon
