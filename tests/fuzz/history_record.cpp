// The 292-byte browser-history record from arbitrary bytes: a record of any length decodes or
// is refused, and what decodes encodes back to the same record.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "control/history_record.h"

namespace {

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillon;
  const auto record = DecodeHistory(std::span<const std::uint8_t>(data, size));
  if (!record) {
    if (size >= HistoryRecord::kSize) std::abort();
    return 0;
  }
  if (record->path.size() >= HistoryRecord::kPathBytes ||
      record->path.find('\0') != std::string::npos) {
    std::abort();
  }
  const auto bytes = EncodeHistory(*record);
  const auto again = DecodeHistory(bytes);
  if (!again || !SameBits(again->xOrg, record->xOrg) || !SameBits(again->yOrg, record->yOrg) ||
      !SameBits(again->ViewScale, record->ViewScale) || again->Rot != record->Rot ||
      again->path != record->path) {
    std::abort();
  }
  return 0;
}
