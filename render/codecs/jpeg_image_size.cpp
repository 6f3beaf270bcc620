#include "render/codecs/jpeg_image_size.h"

#include <csetjmp>

#include "render/codecs/jpeg_error_manager.h"
#include "render/codecs/jpeg_memory_source.h"

namespace quillon {

namespace {

// Everything libjpeg touches, so that a longjmp out of it leaves no C++ object half-made.
struct HeaderSession {
  jpeg_decompress_struct info{};
  JpegErrorManager errors;
  JpegMemorySource source;
};

bool ReadHeader(HeaderSession& s, std::span<const std::uint8_t> stream, JpegImageSize& size) {
  s.info.err = UseJpegErrorManager(s.errors);
  if (setjmp(s.errors.jump)) {
    jpeg_destroy_decompress(&s.info);
    return false;
  }
  jpeg_create_decompress(&s.info);
  UseJpegMemorySource(s.info, s.source, stream);
  const bool read = jpeg_read_header(&s.info, TRUE) == JPEG_HEADER_OK;
  size = {static_cast<std::int32_t>(s.info.image_width),
          static_cast<std::int32_t>(s.info.image_height)};
  jpeg_destroy_decompress(&s.info);
  return read && !s.source.exhausted;
}

}  // namespace

std::optional<JpegImageSize> ReadJpegImageSize(std::span<const std::uint8_t> stream) {
  HeaderSession session;
  JpegImageSize size;
  if (!ReadHeader(session, stream, size)) return std::nullopt;
  return size;
}

}  // namespace quillon
