#include "document/outer_form.h"

#include "document/byte_reader.h"

namespace quillon {

namespace {

std::optional<WrapperInfo> Refuse(const char** whyNot, const char* reason) {
  if (whyNot) *whyNot = reason;
  return std::nullopt;
}

}  // namespace

OuterForm ClassifyOuterForm(std::span<const std::uint8_t> file) {
  ByteReader r(file);
  if (file.size() >= 5 && r.u8_at(0) == 0 && r.u32_at(1) == kPlainHeaderLength)
    return OuterForm::Plain;
  if (file.size() >= 4 && r.u32_at(0) == kWrapperMagic) return OuterForm::Wrapped;
  return OuterForm::Invalid;
}

std::optional<WrapperInfo> ReadWrapper(std::span<const std::uint8_t> file, const char** whyNot) {
  if (ClassifyOuterForm(file) != OuterForm::Wrapped) return Refuse(whyNot, "not a wrapped file");
  ByteReader r(file);
  WrapperInfo info;
  info.wrapperSize = r.u32_at(16);
  info.blockCount = r.u32_at(32);
  info.extraCount = r.u32_at(36);
  if (!r.ok()) return Refuse(whyNot, "wrapper header truncated");
  if (info.blockCount > kMaxWrapperBlocks) return Refuse(whyNot, "more than 10 wrapper blocks");

  r.seek(40);
  std::uint32_t stringBytes = 0;  // sum of (L + 2), unsigned 32-bit like r itself
  for (auto& s : info.strings) {
    const std::uint16_t length = r.u16();
    s = r.take_bytes(length);
    stringBytes += length + 2u;
  }
  if (!r.ok()) return Refuse(whyNot, "wrapper strings run past the end of the file");
  for (std::uint32_t i = 0; i < info.blockCount; ++i) info.blockSizes[i] = r.u32();
  if (!r.ok()) return Refuse(whyNot, "wrapper block sizes run past the end of the file");
  info.extrasOffset = r.position();
  if (!r.skip(4ull * info.extraCount))
    return Refuse(whyNot, "wrapper extra entries run past the end of the file");

  info.remainder =
      info.wrapperSize - 24u - stringBytes - 4u * info.blockCount - 4u * info.extraCount;
  // r + 4 wraps in 32 bits like r: writers of 32-bit size fields stored files whose r is
  // 0xFFFFFFFE (a skip of 2). A skip that then passes the end is still refused.
  const std::uint32_t skip = info.remainder + 4u;
  if (info.remainder != 0 && !r.skip(skip))
    return Refuse(whyNot, "wrapper remainder runs past the end of the file");
  info.blocksOffset = r.position();
  for (std::uint32_t i = 0; i < info.blockCount; ++i) {
    if (!r.skip(info.blockSizes[i]))
      return Refuse(whyNot, "wrapper blocks run past the end of the file");
  }
  info.dataStart = r.position();
  return info;
}

std::optional<std::size_t> FindDataStart(std::span<const std::uint8_t> file, const char** whyNot) {
  if (ClassifyOuterForm(file) != OuterForm::Wrapped) return 0;
  auto wrapper = ReadWrapper(file, whyNot);
  if (!wrapper) return std::nullopt;
  return wrapper->dataStart;
}

}  // namespace quillon
