#include <algorithm>

#include "document/kpz_values.h"
#include "document/opcodes.h"
#include "render/state_records.h"

namespace quillon {

namespace {
constexpr std::size_t kPlotNameBytes = 512;
constexpr std::size_t kPlotInfo2Extra = 8;
}  // namespace

bool ReadPlotInfo(DrawState& st, std::uint8_t op, ByteReader& in) {
  in.i32();  // length, not used for stepping
  const std::uint8_t infoByte = in.u8();
  const std::uint32_t x = in.u32();
  const std::uint32_t y = in.u32();
  const std::uint16_t word = in.u16();
  const auto name = in.take_bytes(kPlotNameBytes);
  if (op == opcode::PlotInfoRecord2) in.skip(kPlotInfo2Extra);
  if (!in.ok()) return false;
  st.plotInfo.byte = infoByte;
  st.plotInfo.x = KpzFixedToDouble(x);
  st.plotInfo.y = KpzFixedToDouble(y);
  st.plotInfo.word = word;
  // Text up to its first NUL; the rest of the 513 bytes stays NUL.
  st.plotInfo.name.fill('\0');
  const auto end = std::find(name.begin(), name.end(), std::uint8_t{0});
  std::copy(name.begin(), end, st.plotInfo.name.begin());
  return true;
}

}  // namespace quillon
