#include "control/history_record.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace quillon {

namespace {

void PutU64(std::uint8_t* at, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint64_t GetU64(const std::uint8_t* at) {
  std::uint64_t v = 0;
  for (int i = 0; i < 8; ++i) v |= static_cast<std::uint64_t>(at[i]) << (8 * i);
  return v;
}
void PutDouble(std::uint8_t* at, double v) { PutU64(at, std::bit_cast<std::uint64_t>(v)); }
double GetDouble(const std::uint8_t* at) { return std::bit_cast<double>(GetU64(at)); }

}  // namespace

std::array<std::uint8_t, HistoryRecord::kSize> EncodeHistory(const HistoryRecord& record) {
  std::array<std::uint8_t, HistoryRecord::kSize> bytes{};
  PutDouble(&bytes[0], record.xOrg);
  PutDouble(&bytes[8], record.yOrg);
  PutDouble(&bytes[16], record.ViewScale);
  const auto rot = static_cast<std::uint32_t>(record.Rot);
  for (int i = 0; i < 4; ++i) bytes[24 + i] = static_cast<std::uint8_t>(rot >> (8 * i));
  const std::size_t n = std::min(record.path.size(), HistoryRecord::kPathBytes - 1);
  std::memcpy(&bytes[HistoryRecord::kPathOffset], record.path.data(), n);
  return bytes;
}

std::optional<HistoryRecord> DecodeHistory(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < HistoryRecord::kSize) return std::nullopt;
  HistoryRecord record;
  record.xOrg = GetDouble(&bytes[0]);
  record.yOrg = GetDouble(&bytes[8]);
  record.ViewScale = GetDouble(&bytes[16]);
  std::uint32_t rot = 0;
  for (int i = 0; i < 4; ++i) rot |= static_cast<std::uint32_t>(bytes[24 + i]) << (8 * i);
  record.Rot = static_cast<std::int32_t>(rot);
  const auto path = bytes.subspan(HistoryRecord::kPathOffset, HistoryRecord::kPathBytes - 1);
  const auto end = std::find(path.begin(), path.end(), std::uint8_t{0});
  record.path.assign(path.begin(), end);
  return record;
}

}  // namespace quillon
