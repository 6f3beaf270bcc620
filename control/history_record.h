#pragma once
// The browser-history record of the control: the view and the document path, 292 bytes,
// little-endian.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace quillon {

struct HistoryRecord {
  static constexpr std::size_t kSize = 292;
  static constexpr std::size_t kPathOffset = 32;
  static constexpr std::size_t kPathBytes = 260;  // 259 characters and a terminating zero

  double xOrg = 0;
  double yOrg = 0;
  double ViewScale = 0;
  std::int32_t Rot = 0;
  std::string path;  // ANSI code page
};

// A longer path is cut to 259 bytes so that the terminator always fits.
std::array<std::uint8_t, HistoryRecord::kSize> EncodeHistory(const HistoryRecord& record);
// nullopt when fewer than 292 bytes are given. The path ends at the first zero and never
// runs past its 260 bytes, terminated or not.
std::optional<HistoryRecord> DecodeHistory(std::span<const std::uint8_t> bytes);

}  // namespace quillon
