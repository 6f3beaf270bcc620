#pragma once
// The block in front of the coded stream in the data records of the image formats.

#include <cstddef>
#include <cstdint>

namespace quillon {

// Data records of the image formats carry 1024 bytes before the stream; reduced levels do not.
inline constexpr std::size_t kRasterLeadBytes = 1024;
enum class RasterLead : std::uint8_t { Absent, Present };

}  // namespace quillon
