#include "document/document_platform.h"

#include <cstdio>

namespace quillon {

std::optional<std::size_t> DocumentPlatform::ReadLeadingBytes(const std::string& name,
                                                              std::span<std::uint8_t> out) {
  std::FILE* stream = std::fopen(name.c_str(), "r+b");
  if (stream == nullptr) return std::nullopt;
  std::size_t got = std::fread(out.data(), 1, out.size(), stream);
  std::fclose(stream);
  return got;
}

}  // namespace quillon
