#include "render/setup_mapping.h"

#include <algorithm>
#include <cmath>

namespace quillon {

namespace {

struct PageDotsExact {
  double width, height;  // not truncated
};

PageDotsExact PageOf(const DrawState& st) {
  const KpzHeader& header = st.doc().header;
  return {header.pageWidth * st.resolution, header.pageHeight * st.resolution};
}

}  // namespace

void SetupScreenMapping(Device& dc, DrawState& st, const MapArea& area) {
  const PageDotsExact page = PageOf(st);
  dc.SetGraphicsMode(gdi::kGraphicsAdvanced);
  dc.SetMapMode(gdi::kMapIsotropic);
  dc.SetWindowExt(TruncToInt(page.width), TruncToInt(page.height));
  if (st.zoom == 0) {
    dc.SetViewportExt(TruncToInt(area.width), TruncToInt(area.height));
    dc.SetViewportOrg(TruncToInt(area.originX), TruncToInt(area.originY));
    const double fitted = std::min(area.width / page.width, area.height / page.height);
    // An empty page (no header yet) has no scale to remember.
    if (std::isfinite(fitted)) st.zoom = fitted;
  } else {
    dc.SetViewportExt(TruncToInt(page.width * st.zoom), TruncToInt(page.height * st.zoom));
    dc.SetViewportOrg(TruncToInt(area.originX), TruncToInt(area.originY));
  }
}

void SetupPrintMapping(Device& dc, const DrawState& st, const MapArea& printable,
                       const MapExtents& view, PlotType plotType) {
  const KpzDocument& doc = st.doc();
  const PageDotsExact page = PageOf(st);
  const ScaleOption option = st.print.scaleOption;
  const bool fit = st.print.fits();
  const bool currentView = plotType == PlotType::CurrentView;
  const double pixelsPerMetre = dc.GetDeviceCaps(gdi::kCapLogPixelsX) * kInchesPerMetre;
  const double percent = st.print.scalePercent * 0.01;
  // The page's size on paper at true size (or the percentage of it).
  const double trueWidth = pixelsPerMetre * doc.header.pageWidth;
  const double trueHeight = pixelsPerMetre * doc.header.pageHeight;
  const double scaledWidth = option == ScaleOption::Percentage ? trueWidth * percent : trueWidth;
  const double scaledHeight = option == ScaleOption::Percentage ? trueHeight * percent : trueHeight;

  double viewportWidth = printable.width, viewportHeight = printable.height;
  double originX = printable.originX, originY = printable.originY;
  // Screen pixels to printer pixels, for a print of the current view.
  double screenToPaper = 0;
  bool scaled = true;
  if (fit) {
    if (currentView) {
      screenToPaper =
          std::min(printable.width / doc.loadViewWidth, printable.height / doc.loadViewHeight);
      viewportWidth = screenToPaper * view.width;
      viewportHeight = screenToPaper * view.height;
    }
  } else if (option == ScaleOption::TrueSize || option == ScaleOption::Percentage) {
    viewportWidth = scaledWidth;
    viewportHeight = scaledHeight;
    if (currentView)
      screenToPaper = std::max(viewportWidth / view.width, viewportHeight / view.height);
  } else {
    scaled = false;
  }

  double clipWidth = 0, clipHeight = 0;
  if (scaled && currentView) {
    if (originX != 0 || originY != 0) {
      originX *= screenToPaper;
      originY *= screenToPaper;
    }
    clipWidth = screenToPaper * doc.loadViewWidth + 1.5;
    clipHeight = screenToPaper * doc.loadViewHeight + 1.5;
  }

  // The clip is laid down in device pixels, before the map mode changes.
  if (clipWidth > 0 && clipHeight > 0) {
    const int cw = TruncToInt(clipWidth), ch = TruncToInt(clipHeight);
    dc.BeginPath();
    dc.MoveTo(0, 0);
    dc.LineTo(0, ch);
    dc.LineTo(cw, ch);
    dc.LineTo(cw, 0);
    dc.LineTo(0, 0);
    dc.EndPath();
    dc.SelectClipPath(gdi::kRgnCopy);
  }
  dc.SetMapMode(gdi::kMapIsotropic);
  if (plotType == PlotType::WholePage && fit) {
    const bool turned = st.rotation == 90 || st.rotation == 270;
    dc.SetWindowExt(TruncToInt(turned ? page.height : page.width),
                    TruncToInt(turned ? page.width : page.height));
  } else {
    dc.SetWindowExt(TruncToInt(page.width), TruncToInt(page.height));
    if (plotType == PlotType::Form) {
      viewportWidth = scaledWidth;
      viewportHeight = scaledHeight;
      if (option == ScaleOption::Percentage) {
        originX *= percent;
        originY *= percent;
      }
    }
  }
  dc.SetViewportExt(TruncToInt(viewportWidth), TruncToInt(viewportHeight));
  dc.SetViewportOrg(TruncToInt(originX), TruncToInt(originY));
}

void SetupMapping(Device& dc, DrawState& st, double width, double height, double originX,
                  double originY, double targetWidth, double targetHeight, int printFlag,
                  int plotType) {
  const MapArea area{width, height, originX, originY};
  if (printFlag == 0) {
    SetupScreenMapping(dc, st, area);
  } else {
    SetupPrintMapping(dc, st, area, {targetWidth, targetHeight}, static_cast<PlotType>(plotType));
  }
}

}  // namespace quillon
