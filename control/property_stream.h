#pragma once
// The stream form of the control's persisted properties, in their order: a format version,
// "_cx" and "_cy" (HIMETRIC, unsigned 32-bit), then "DataFileName", "xOrg", "yOrg",
// "ViewScale" and "Rot", each as a variant type tag followed by its value (a string as its
// byte length including the terminator, then UTF-16 code units). Little-endian.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

struct PersistedProperties {
  std::uint32_t cx = 0;
  std::uint32_t cy = 0;
  std::u16string DataFileName = u" ";
  double xOrg = 0;
  double yOrg = 0;
  double ViewScale = 0;
  std::int32_t Rot = 270;
};

inline constexpr std::uint32_t kPropertyStreamVersion = 0x0300;
inline constexpr std::uint16_t kTagString = 8;  // the variant types of the values
inline constexpr std::uint16_t kTagDouble = 5;
inline constexpr std::uint16_t kTagInt32 = 3;
// A longer name is refused on reading rather than allocated.
inline constexpr std::uint32_t kMaxNameBytes = 1u << 20;

std::vector<std::uint8_t> EncodeProperties(const PersistedProperties& properties);

// Reads exactly the bytes of one record through `read` (which fills the whole buffer or
// answers false). nullopt for a short stream, a newer version, an unexpected type tag, or a
// name that is too long or of odd length.
using PropertyByteSource = std::function<bool(void* out, std::size_t bytes)>;
std::optional<PersistedProperties> DecodeProperties(const PropertyByteSource& read);

}  // namespace quillon
