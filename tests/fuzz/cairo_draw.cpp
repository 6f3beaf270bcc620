// Opens an arbitrary file through the control's loader and draws it with the cairo device:
// onto a small picture at two rotations with and without antialiasing, and onto a PDF page
// whose bytes are dropped. Files live in memory, as in open_draw.

#include <cairo-pdf.h>
#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/cairo/cairo_device.h"
#include "render/draw_context.h"
#include "tests/support/fake_document_platform.h"

namespace {

constexpr const char* kName = "fuzz.kpz";

cairo_status_t Drop(void*, const unsigned char*, unsigned int) { return CAIRO_STATUS_SUCCESS; }

void Draw(quillon::DrawContext& context, cairo_surface_t* surface, const quillon::CairoTarget& t,
          int rotation) {
  quillon::CairoDevice device(surface, t);
  const double zoom = context.state()->zoom;
  context.DrawScreen(device, {static_cast<double>(t.width), static_cast<double>(t.height), 0, 0,
                              zoom, rotation},
                     kName);
  context.CloseDocument(&device);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quillon::test::FakeDocumentPlatform platform;
  // As in open_draw: huge declared rasters only cost time, so the heap refuses them.
  platform.maxAllocationBytes = 16u << 20;
  platform.AddFile(kName, std::vector<std::uint8_t>(data, data + size));
  quillon::DrawContext context(platform, size & 1, 0);

  quillon::CairoSurface picture(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 160, 120));
  for (int rotation : {270, 90}) {
    if (context.OpenDocument(kName, 160, 120) != 0) return 0;
    quillon::CairoTarget target{160, 120, 1, 96, rotation == 90, false};
    Draw(context, picture.get(), target, rotation);
  }

  if (context.OpenDocument(kName, 160, 120) != 0) return 0;
  quillon::CairoSurface pdf(cairo_pdf_surface_create_for_stream(Drop, nullptr, 120, 90));
  quillon::CairoTarget vector{160, 120, 0.75, 96, true, true};
  Draw(context, pdf.get(), vector, 0);
  cairo_surface_finish(pdf.get());
  return 0;
}
