#pragma once
// A libjpeg source manager over the bytes of one record.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>

#include <jpeglib.h>

namespace quillon {

struct JpegMemorySource {
  jpeg_source_mgr manager{};
  std::span<const std::uint8_t> bytes;
  // Set when the decoder wanted more than the record holds; it was given an end-of-image
  // marker instead of reading past the record.
  bool exhausted = false;
};

// Installs `source` (which must outlive the decompression) as the source of `info`.
void UseJpegMemorySource(jpeg_decompress_struct& info, JpegMemorySource& source,
                         std::span<const std::uint8_t> bytes);

}  // namespace quillon
