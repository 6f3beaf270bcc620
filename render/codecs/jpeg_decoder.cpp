#include "render/codecs/jpeg_decoder.h"

#include <csetjmp>
#include <cstring>

#include "render/codecs/jpeg_error_manager.h"
#include "render/codecs/jpeg_memory_source.h"

static_assert(JPEG_LIB_VERSION == 62, "the raster formats are decoded with the libjpeg 62 API");

namespace quillon {

namespace {

// libjpeg's own working memory (a progressive image keeps all its coefficients).
constexpr long kJpegMemoryLimit = 256l << 20;

// Everything libjpeg touches lives here, so that a longjmp out of libjpeg leaves no C++ object
// half-made.
struct JpegSession {
  jpeg_decompress_struct info{};
  JpegErrorManager errors;
  JpegMemorySource source;
};

// Returns false when libjpeg reports an error; the session is destroyed either way.
bool Run(JpegSession& s, std::span<const std::uint8_t> record, RasterTarget& target,
         bool& fits) {
  jpeg_decompress_struct& info = s.info;
  info.err = UseJpegErrorManager(s.errors);
  if (setjmp(s.errors.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  info.mem->max_memory_to_use = kJpegMemoryLimit;
  UseJpegMemorySource(info, s.source, record);
  jpeg_read_header(&info, TRUE);
  // A grey stream is widened to three equal bytes by libjpeg.
  if (info.jpeg_color_space == JCS_GRAYSCALE) info.out_color_space = JCS_RGB;
  const RasterGeometry& g = target.geometry();
  fits = info.image_width <= static_cast<JDIMENSION>(g.width) &&
         info.image_height <= static_cast<JDIMENSION>(g.rows);
  if (!fits) {
    jpeg_destroy_decompress(&info);
    return true;
  }
  jpeg_start_decompress(&info);
  if (info.output_components != 3 || info.output_width > static_cast<JDIMENSION>(g.width) ||
      info.output_height > static_cast<JDIMENSION>(g.rows)) {
    fits = false;
    jpeg_destroy_decompress(&info);
    return true;
  }
  const std::size_t rowBytes = static_cast<std::size_t>(info.output_width) * 3;
  const std::size_t fullBytes = static_cast<std::size_t>(g.width) * 3;
  while (info.output_scanline < info.output_height) {
    const auto row = static_cast<std::int32_t>(info.output_scanline);
    JSAMPROW pixels = target.BeginPixelRow(row);
    if (jpeg_read_scanlines(&info, &pixels, 1) != 1) break;
    if (rowBytes < fullBytes) std::memset(pixels + rowBytes, 0, fullBytes - rowBytes);
    target.EndPixelRow();
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

bool DecodeJpeg(std::span<const std::uint8_t> record, RasterTarget& target, std::string* error) {
  if (!target.ok() || target.geometry().kind != PixelKind::Rgb24) return false;
  JpegSession session;
  bool fits = true;
  const bool ran = Run(session, record, target, fits);
  target.Finish();
  if (!ran) {
    if (error) *error = session.errors.message;
    return false;
  }
  if (!fits) {
    if (error) *error = "the stream is larger than the raster";
    return false;
  }
  if (session.source.exhausted) {
    if (error) *error = "the stream ends early";
    return false;
  }
  return true;
}

}  // namespace quillon
