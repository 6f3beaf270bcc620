#include "control/property_stream.h"

#include <bit>

namespace quillon {

namespace {

constexpr std::size_t kNamePieceBytes = 4096;

void PutBytes(std::vector<std::uint8_t>& out, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

bool GetBytes(const PropertyByteSource& read, std::uint64_t& v, int bytes) {
  std::uint8_t raw[8] = {};
  if (!read(raw, static_cast<std::size_t>(bytes))) return false;
  v = 0;
  for (int i = 0; i < bytes; ++i) v |= static_cast<std::uint64_t>(raw[i]) << (8 * i);
  return true;
}

bool GetTag(const PropertyByteSource& read, std::uint16_t expected) {
  std::uint64_t tag = 0;
  return GetBytes(read, tag, 2) && tag == expected;
}

bool GetDouble(const PropertyByteSource& read, double& v) {
  std::uint64_t bits = 0;
  if (!GetTag(read, kTagDouble) || !GetBytes(read, bits, 8)) return false;
  v = std::bit_cast<double>(bits);
  return true;
}

void PutDouble(std::vector<std::uint8_t>& out, double v) {
  PutBytes(out, kTagDouble, 2);
  PutBytes(out, std::bit_cast<std::uint64_t>(v), 8);
}

}  // namespace

std::vector<std::uint8_t> EncodeProperties(const PersistedProperties& p) {
  std::vector<std::uint8_t> out;
  PutBytes(out, kPropertyStreamVersion, 4);
  PutBytes(out, p.cx, 4);
  PutBytes(out, p.cy, 4);
  PutBytes(out, kTagString, 2);
  PutBytes(out, (p.DataFileName.size() + 1) * 2, 4);
  for (char16_t c : p.DataFileName) PutBytes(out, c, 2);
  PutBytes(out, 0, 2);
  PutDouble(out, p.xOrg);
  PutDouble(out, p.yOrg);
  PutDouble(out, p.ViewScale);
  PutBytes(out, kTagInt32, 2);
  PutBytes(out, static_cast<std::uint32_t>(p.Rot), 4);
  return out;
}

std::optional<PersistedProperties> DecodeProperties(const PropertyByteSource& read) {
  PersistedProperties p;
  std::uint64_t v = 0;
  if (!GetBytes(read, v, 4) || v > kPropertyStreamVersion) return std::nullopt;
  if (!GetBytes(read, v, 4)) return std::nullopt;
  p.cx = static_cast<std::uint32_t>(v);
  if (!GetBytes(read, v, 4)) return std::nullopt;
  p.cy = static_cast<std::uint32_t>(v);
  if (!GetTag(read, kTagString) || !GetBytes(read, v, 4)) return std::nullopt;
  if (v > kMaxNameBytes || v % 2 != 0) return std::nullopt;
  // Read a piece at a time: a stream that claims a long name but ends early costs no more
  // memory than the bytes it holds.
  std::vector<std::uint8_t> name;
  for (std::size_t left = static_cast<std::size_t>(v); left > 0;) {
    const std::size_t piece = left < kNamePieceBytes ? left : kNamePieceBytes;
    const std::size_t at = name.size();
    name.resize(at + piece);
    if (!read(name.data() + at, piece)) return std::nullopt;
    left -= piece;
  }
  p.DataFileName.clear();
  for (std::size_t i = 0; i + 1 < name.size(); i += 2) {
    p.DataFileName.push_back(static_cast<char16_t>(name[i] | (name[i + 1] << 8)));
  }
  // The terminator is part of the stored length.
  if (!p.DataFileName.empty() && p.DataFileName.back() == u'\0') p.DataFileName.pop_back();
  if (!GetDouble(read, p.xOrg) || !GetDouble(read, p.yOrg) || !GetDouble(read, p.ViewScale)) {
    return std::nullopt;
  }
  if (!GetTag(read, kTagInt32) || !GetBytes(read, v, 4)) return std::nullopt;
  p.Rot = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
  return p;
}

}  // namespace quillon
