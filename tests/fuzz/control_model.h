#pragma once
// The portable half of the control for the fuzz targets that drive it: the view and navigation
// with a small plot open in a DrawContext, painted onto a null screen the way the control's
// paint does (the view's scale, origin and rotation go to the draw; the zoom, the extents and
// the page size it reports come back into the view).

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/numeric.h"
#include "interact/navigation.h"
#include "render/draw_context.h"
#include "render/null_device.h"
#include "tests/support/fake_document_platform.h"
#include "tests/support/kpz_builder.h"

namespace quillon::fuzz {

// Lines, a fill, text and a Group 4 raster on a 0.3 x 0.2 m page at 400 dpi.
inline std::vector<std::uint8_t> ControlModelPlot() {
  KpzBuilder b;
  b.PageSize(0.3, 0.2, 15748);
  KpzRasterHeader raster;
  raster.format = 0x1000;
  raster.rows = 4;
  raster.bytesPerRow = 2;
  raster.width = 16;
  raster.x2 = 1600;
  raster.y2 = 400;
  raster.colours = {0x000000, 0xFFFFFF};
  const std::vector<std::uint8_t> group4 = {0x00, 0x10, 0x00, 0x10, 0x00, 0x10};
  b.BeginPage()
      .LineWidth(3)
      .Polyline({{0, 0}, {4000, 3000}, {100, 2500}})
      .FillColour(1, KpzBuilder::Rgb(10, 200, 30))
      .Rectangles({{100, 100, 900, 700}})
      .Font("Arial", 120)
      .Text(0, {{500, 500}}, "view")
      .RasterHeader(raster)
      .RasterData(group4)
      .EndPage();
  return b.Build();
}

class ControlModel : public ViewListener {
 public:
  static constexpr const char* kName = "view.kpz";

  ControlModel() : context_(platform_, 0, 2) {
    platform_.maxAllocationBytes = 16u << 20;
    platform_.dirtyAllocations = false;
    platform_.AddFile(kName, ControlModelPlot());
  }
  ~ControlModel() override { context_.CloseDocument(&screen_); }

  Navigation nav;
  bool scalePut = false;

  // The load of the first paint: the window size, then the extents and the plot.
  bool Load(int width, int height, const std::string& name = kName) {
    ViewFrame& frame = nav.frame;
    frame.BufferWidth = width & ~1;
    frame.BufferHeight = height & ~1;
    frame.ViewWidth = nav.view.DrawExtentX = width;
    frame.ViewHeight = nav.view.DrawExtentY = height;
    SetExtentsToView(nav.view, frame.ViewWidth, frame.ViewHeight);
    loaded_ = context_.OpenDocument(name, frame.ViewWidth, frame.ViewHeight) == 0;
    return loaded_;
  }

  void Paint() {
    if (!loaded_) return;
    ViewState& view = nav.view;
    const DrawResult drawn = context_.DrawScreen(
        screen_,
        {view.DrawExtentX, view.DrawExtentY, view.xOrg, view.yOrg, view.ViewScale, view.Rot,
         scalePut},
        kName);
    view.ViewScale = drawn.zoom;
    if (scalePut) {
      view.DrawExtentX = drawn.width;
      view.DrawExtentY = drawn.height;
      scalePut = false;
    }
    nav.frame.KpzXSize = TruncToInt(std::trunc(drawn.page.width));
    nav.frame.KpzYSize = TruncToInt(std::trunc(drawn.page.height));
  }

  void Close() {
    context_.CloseDocument(&screen_);
    loaded_ = false;
  }

  // ViewListener: a paint follows at the caller's choice, as window messages would.
  void InvalidateView() override {}
  void InvalidateArea(const ViewRect&, bool) override {}
  void UpdateView() override { Paint(); }
  bool JournalOpen() const override { return journal; }
  void JournalKeyword(std::string_view) override {}
  void JournalViewState(const ViewState&) override {}
  void ResetZoom() override {}
  void ResetRasterCache() override { context_.RequestRasterCacheReset(); }

  bool journal = false;

 private:
  test::FakeDocumentPlatform platform_;
  DrawContext context_;
  NullDevice screen_;
  bool loaded_ = false;
};

}  // namespace quillon::fuzz
