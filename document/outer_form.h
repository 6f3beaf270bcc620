#pragma once
// The two accepted outer forms of a KPZ file and the wrapper that the wrapped form puts in
// front of the display list. Offsets are absolute file offsets.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace quillon {

enum class OuterForm { Plain, Wrapped, Invalid };

inline constexpr std::uint32_t kWrapperMagic = 0xBABEFACEu;
inline constexpr std::uint32_t kPlainHeaderLength = 664;
inline constexpr std::uint32_t kMaxWrapperBlocks = 10;
inline constexpr std::size_t kWrapperStringCount = 9;

// Plain: byte 0 is 0 and the u32 at 1 is 664. Wrapped: the u32 at 0 is 0xBABEFACE.
// Too short for either test: Invalid.
OuterForm ClassifyOuterForm(std::span<const std::uint8_t> file);

// The raw values of a wrapper header; none of them is used for drawing.
struct WrapperInfo {
  std::uint32_t wrapperSize = 0;
  std::uint32_t blockCount = 0;
  std::uint32_t extraCount = 0;
  std::array<std::span<const std::uint8_t>, kWrapperStringCount> strings{};
  std::array<std::uint32_t, kMaxWrapperBlocks> blockSizes{};  // the first blockCount are set
  std::size_t extrasOffset = 0;                               // the extraCount 32-bit entries
  std::uint32_t remainder = 0;                                // r of the skip rule, unsigned 32-bit
  std::size_t blocksOffset = 0;                               // first embedded block
  std::size_t dataStart = 0;
};

// Reads the wrapper of a wrapped file. Refuses (nullopt, with a static reason text in
// *whyNot) a file that is not wrapped, has more than 10 blocks, or whose wrapper runs past
// the end of the file.
std::optional<WrapperInfo> ReadWrapper(std::span<const std::uint8_t> file,
                                       const char** whyNot = nullptr);

// Where the display list begins: the wrapper's data start for a wrapped file, 0 for any
// other file (the interpreter walks a file that skipped the form check from byte 0).
// nullopt only for a wrapped file whose wrapper is refused.
std::optional<std::size_t> FindDataStart(std::span<const std::uint8_t> file,
                                         const char** whyNot = nullptr);

}  // namespace quillon
