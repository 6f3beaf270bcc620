#pragma once
// Draws a KpzBuilder plot with the cairo device onto an RGB picture held in memory, one device
// pixel per dot unless asked otherwise, antialiasing off, and reads its pixels back.

#include <cairo.h>

#include <cstdint>
#include <vector>

#include "render/cairo/cairo_device.h"
#include "render/draw_context.h"
#include "tests/support/fake_document_platform.h"
#include "tests/support/kpz_builder.h"

namespace quillon::test {

inline constexpr std::uint32_t kWhitePixel = 0xFFFFFF, kBlackPixel = 0x000000;

class CairoPicture {
 public:
  // The origin shifts the view (device pixels), as scrolling does.
  CairoPicture(const KpzBuilder& plot, int width, int height, int rotation = 0, double zoom = 1,
               double originX = 0, double originY = 0)
      : surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)) {
    platform_.AddFile("plot.kpz", plot.Build());
    DrawContext context(platform_, 0, 0);
    opened_ = context.OpenDocument("plot.kpz", width, height) == 0;
    if (!opened_) return;
    CairoTarget target{width, height, 1, 96, false, false};
    CairoDevice device(surface_.get(), target);
    device.ClearToWhite();
    context.DrawScreen(device, {static_cast<double>(width), static_cast<double>(height), originX,
                                originY, zoom, rotation},
                       "plot.kpz");
    context.CloseDocument(&device);
    device.Flush();
    error_ = device.error();
    cairo_surface_flush(surface_.get());
  }

  bool opened() const { return opened_; }
  const std::string& error() const { return error_; }
  // 0xRRGGBB.
  std::uint32_t At(int x, int y) const {
    const unsigned char* data = cairo_image_surface_get_data(surface_.get());
    const int stride = cairo_image_surface_get_stride(surface_.get());
    return reinterpret_cast<const std::uint32_t*>(data + y * stride)[x] & 0xFFFFFF;
  }
  // How many pixels of row y (or column x) have the colour.
  int CountInRow(int y, std::uint32_t colour) const {
    int n = 0;
    for (int x = 0; x < cairo_image_surface_get_width(surface_.get()); ++x) n += At(x, y) == colour;
    return n;
  }
  int CountInColumn(int x, std::uint32_t colour) const {
    int n = 0;
    for (int y = 0; y < cairo_image_surface_get_height(surface_.get()); ++y) n += At(x, y) == colour;
    return n;
  }

 private:
  FakeDocumentPlatform platform_;
  CairoSurface surface_;
  bool opened_ = false;
  std::string error_;
};

}  // namespace quillon::test
