#pragma once
// The size a JPEG stream declares, read from its header through libjpeg without decoding it.

#include <cstdint>
#include <optional>
#include <span>

namespace quillon {

struct JpegImageSize {
  std::int32_t width = 0, rows = 0;
  bool operator==(const JpegImageSize&) const = default;
};

// nullopt when libjpeg cannot read the header.
std::optional<JpegImageSize> ReadJpegImageSize(std::span<const std::uint8_t> stream);

}  // namespace quillon
