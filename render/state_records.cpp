#include "render/state_records.h"

#include "document/kpz_values.h"
#include "document/opcodes.h"

namespace quillon {

bool ReadPenState(KpzDocument& doc, std::uint8_t op, ByteReader& in) {
  switch (op) {
    case opcode::LineWidthRecord:
    case opcode::OutlineWidthRecord: {
      const std::uint32_t raw = in.u32();
      if (!in.ok()) return false;
      (op == opcode::LineWidthRecord ? doc.lineWidth : doc.outlineWidth) = KpzFixedToFloat(raw);
      break;
    }
    case opcode::LineJoinRecord:
    case opcode::OutlineJoinRecord:
    case opcode::LineCapRecord: {
      const std::uint8_t code = in.u8();
      if (!in.ok()) return false;
      if (op == opcode::LineJoinRecord) doc.lineJoin = code;
      if (op == opcode::OutlineJoinRecord) doc.outlineJoin = code;
      if (op == opcode::LineCapRecord) doc.lineCap = code;
      break;
    }
    case opcode::LineStyleRecord:
    case opcode::OutlineStyleRecord: {
      const std::uint16_t style = in.u16();
      if (!in.ok()) return false;
      (op == opcode::LineStyleRecord ? doc.lineStyle : doc.outlineStyle) = style;
      break;
    }
    case opcode::LineColourRecord:
    case opcode::OutlineColourRecord: {
      const std::uint32_t raw = in.u32();
      if (!in.ok()) return false;
      (op == opcode::LineColourRecord ? doc.lineColour : doc.outlineColour) =
          KpzColourToColorRef(raw);
      break;
    }
    case opcode::LineModeColourRecord:
    case opcode::OutlineModeColourRecord: {
      const std::uint8_t mix = in.u8();
      const std::uint32_t raw = in.u32();
      if (!in.ok()) return false;
      const bool line = op == opcode::LineModeColourRecord;
      (line ? doc.lineMix : doc.outlineMix) = mix;
      (line ? doc.lineColour : doc.outlineColour) = KpzColourToColorRef(raw);
      break;
    }
    default:
      return false;
  }
  const bool outline = op == opcode::OutlineWidthRecord || op == opcode::OutlineJoinRecord ||
                       op == opcode::OutlineStyleRecord || op == opcode::OutlineColourRecord ||
                       op == opcode::OutlineModeColourRecord;
  (outline ? doc.outlinePenValid : doc.linePenValid) = false;
  return true;
}

bool ReadFillState(KpzDocument& doc, std::uint8_t op, ByteReader& in) {
  switch (op) {
    case opcode::FillStyleRecord: {
      const std::uint16_t style = in.u16();
      if (!in.ok()) return false;
      doc.fillStyle = style;
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
        doc.patternForeMode = mode;
        doc.patternForeColour = colour;
      } else if (op == opcode::PatternBackRecord) {
        doc.patternBackMode = mode;
        doc.patternBackColour = colour;
      } else {
        doc.fillColourMode = mode;
        doc.fillColour = colour;
      }
      break;
    }
    case opcode::PatternAngleRecord: {
      in.i32();  // length, not used: the layout is fixed
      const std::uint32_t first = in.u32();
      const std::uint32_t angle = in.u32();
      if (!in.ok()) return false;
      doc.patternAngleFirst = KpzFixedToFloat(first);
      doc.patternAngle = KpzFixedToFloat(angle);
      return true;  // the angle alone does not change the brush
    }
    default:
      return false;
  }
  doc.brushValid = false;
  return true;
}

bool ReadStoredValue(KpzDocument& doc, std::uint8_t op, ByteReader& in) {
  switch (op) {
    case opcode::Colour28Record:
    case opcode::Colour31Record: {
      const std::uint32_t raw = in.u32();
      if (!in.ok()) return false;
      (op == opcode::Colour28Record ? doc.unusedColour28 : doc.unusedColour31) = raw;
      return true;
    }
    case opcode::Value32Record: {
      const std::int32_t value = in.i32();
      if (!in.ok()) return false;
      doc.unusedValue32 = value;
      return true;
    }
    case opcode::Value33Record: {
      const std::int16_t value = in.i16();
      if (!in.ok()) return false;
      doc.unusedValue33 = value;
      return true;
    }
    default:
      return false;
  }
}

}  // namespace quillon
