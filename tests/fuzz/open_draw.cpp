// Opens an arbitrary file through the control's loader and draws it on the screen at two
// rotations and once as a print job, then closes it. Files live in memory: the loader,
// the outer-form check and the interpreter run exactly as on a mapped file.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/draw_context.h"
#include "render/null_device.h"
#include "tests/support/fake_document_platform.h"

namespace {

constexpr const char* kName = "fuzz.kpz";

// A 300 dpi A4 printer.
void MakeA4Printer(quillon::NullDevice& device) {
  device.SetDeviceCaps(quillon::gdi::kCapHorzRes, 2329);
  device.SetDeviceCaps(quillon::gdi::kCapVertRes, 3358);
  device.SetDeviceCaps(quillon::gdi::kCapLogPixelsX, 300);
  device.SetDeviceCaps(quillon::gdi::kCapLogPixelsY, 300);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quillon::test::FakeDocumentPlatform platform;
  // A few bytes can declare a raster of hundreds of megabytes on every page; decoding such
  // images only costs time (their size limits are tested elsewhere), so the fuzzer's heap
  // refuses them and the rasters are skipped the way a full heap makes them skipped.
  platform.maxAllocationBytes = 16u << 20;
  platform.dirtyAllocations = false;
  platform.AddFile(kName, std::vector<std::uint8_t>(data, data + size));
  quillon::DrawContext context(platform, size & 1, 2);
  if (context.OpenDocument(kName, 800, 600) != 0) return 0;

  quillon::NullDevice screen;
  for (int rotation : {270, 90}) {
    const double zoom = context.state()->zoom;
    context.DrawScreen(screen, {800, 600, 0, 0, zoom, rotation}, kName);
  }

  // A counting device: a trace would keep a line per call, and a small file of a thousand
  // pages that each print a banded raster makes tens of thousands of calls.
  quillon::NullDevice printer;
  MakeA4Printer(printer);
  context.state()->rotation = 0;
  context.DrawPrint(printer, {800, 600, 0, 0}, kName);

  context.CloseDocument(&screen);
  return 0;
}
