// The stream form of the persisted properties from arbitrary bytes, read through a byte source
// that hands out the input in the pieces the reader asks for: a stream decodes or is refused,
// and what decodes encodes back to a stream that decodes to the same properties.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "control/property_stream.h"

namespace {

using quillon::PersistedProperties;

std::optional<PersistedProperties> Decode(const std::uint8_t* data, std::size_t size) {
  std::size_t at = 0;
  return quillon::DecodeProperties([&](void* out, std::size_t bytes) {
    if (bytes > size - at) return false;
    std::memcpy(out, data + at, bytes);
    at += bytes;
    return true;
  });
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool Same(const PersistedProperties& a, const PersistedProperties& b) {
  return a.cx == b.cx && a.cy == b.cy && a.DataFileName == b.DataFileName &&
         SameBits(a.xOrg, b.xOrg) && SameBits(a.yOrg, b.yOrg) &&
         SameBits(a.ViewScale, b.ViewScale) && a.Rot == b.Rot;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto properties = Decode(data, size);
  if (!properties) return 0;
  if (properties->DataFileName.size() * 2 > quillon::kMaxNameBytes) std::abort();
  const std::vector<std::uint8_t> bytes = quillon::EncodeProperties(*properties);
  const auto again = Decode(bytes.data(), bytes.size());
  if (!again || !Same(*again, *properties)) std::abort();
  return 0;
}
