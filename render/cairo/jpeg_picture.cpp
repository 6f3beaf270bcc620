#include "render/cairo/jpeg_picture.h"

#include <cstring>
#include <memory>
#include <new>

namespace quillon {

namespace {

bool Turned(int rotation) { return rotation == 90 || rotation == 270; }

// cairo keeps a pointer to the data until the surface goes (a PDF page is written at its end),
// so the stream is copied into a block the surface frees.
bool AttachStream(cairo_surface_t* image, std::span<const std::uint8_t> stream) {
  std::unique_ptr<unsigned char[]> copy(new (std::nothrow) unsigned char[stream.size()]);
  if (!copy) return false;
  std::memcpy(copy.get(), stream.data(), stream.size());
  auto release = [](void* data) { delete[] static_cast<unsigned char*>(data); };
  if (cairo_surface_set_mime_data(image, CAIRO_MIME_TYPE_JPEG, copy.get(), stream.size(), release,
                                  copy.get()) != CAIRO_STATUS_SUCCESS)
    return false;
  copy.release();
  return true;
}

}  // namespace

cairo_matrix_t UprightToBitmap(const DibPicture& picture, const JpegSource& source) {
  const double w = source.width, h = source.rows;
  // Upright (u, v) to the bitmap's stored rows (x, y), as the decoder turns pixels.
  cairo_matrix_t turn;
  switch (source.rotation) {
    case 90:
      cairo_matrix_init(&turn, 0, 1, -1, 0, h, 0);  // x = h - v, y = u
      break;
    case 180:
      cairo_matrix_init(&turn, -1, 0, 0, -1, w, h);
      break;
    case 270:
      cairo_matrix_init(&turn, 0, -1, 1, 0, 0, w);  // x = v, y = w - u
      break;
    default:
      cairo_matrix_init_identity(&turn);
      break;
  }
  cairo_matrix_t seen;
  if (picture.bottomUp())
    cairo_matrix_init(&seen, 1, 0, 0, -1, 0, picture.rows());
  else
    cairo_matrix_init_identity(&seen);
  cairo_matrix_t out;
  cairo_matrix_multiply(&out, &turn, &seen);
  return out;
}

CairoSurface MakeJpegPicture(const DibPicture& picture, const JpegSource& source) {
  const int w = source.width, h = source.rows;
  const bool turned = Turned(source.rotation);
  if (picture.bitCount() != 24 || source.stream.empty() || w <= 0 || h <= 0 ||
      picture.width() != (turned ? h : w) || picture.rows() != (turned ? w : h))
    return nullptr;
  CairoSurface image(cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h));
  if (!Usable(image.get())) return nullptr;
  cairo_surface_flush(image.get());
  unsigned char* data = cairo_image_surface_get_data(image.get());
  const int stride = cairo_image_surface_get_stride(image.get());
  for (int v = 0; v < h; ++v) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(v) * stride);
    for (int u = 0; u < w; ++u) {
      int x = u, y = v;
      switch (source.rotation) {
        case 90:
          x = h - 1 - v, y = u;
          break;
        case 180:
          x = w - 1 - u, y = h - 1 - v;
          break;
        case 270:
          x = v, y = w - 1 - u;
          break;
        default:
          break;
      }
      const std::uint8_t* px =
          picture.Row(picture.bottomUp() ? picture.rows() - 1 - y : y) + static_cast<std::size_t>(x) * 3;
      if (px[0] != px[2]) return nullptr;
      row[u] = static_cast<std::uint32_t>(px[0]) << 16 | static_cast<std::uint32_t>(px[1]) << 8 | px[2];
    }
  }
  cairo_surface_mark_dirty(image.get());
  if (!AttachStream(image.get(), source.stream)) return nullptr;
  return image;
}

}  // namespace quillon
