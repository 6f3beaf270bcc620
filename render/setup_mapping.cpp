#include "render/setup_mapping.h"

#include <algorithm>
#include <cmath>

#include "base/numeric.h"

namespace quillon {

void SetupMapping(Device& dc, KpzDocument& doc, double width, double height, double originX,
                  double originY, double targetWidth, double targetHeight, int printFlag,
                  int plotType) {
  const double pageW = doc.pageWidth * doc.resolution;
  const double pageH = doc.pageHeight * doc.resolution;
  double a = width, b = height, x = originX, y = originY;
  const double c = targetWidth, d = targetHeight;
  const int option = doc.scaleOption;
  const bool fit = option == 1 || option == -1;

  if (printFlag == 0) {
    dc.SetGraphicsMode(gdi::kGraphicsAdvanced);
    dc.SetMapMode(gdi::kMapIsotropic);
    dc.SetWindowExt(TruncToInt(pageW), TruncToInt(pageH));
    if (doc.zoom == 0) {
      dc.SetViewportExt(TruncToInt(a), TruncToInt(b));
      dc.SetViewportOrg(TruncToInt(x), TruncToInt(y));
      const double fitted = std::min(a / pageW, b / pageH);
      // An empty page (no header yet) has no scale to remember.
      if (std::isfinite(fitted)) doc.zoom = fitted;
    } else {
      dc.SetViewportExt(TruncToInt(pageW * doc.zoom), TruncToInt(pageH * doc.zoom));
      dc.SetViewportOrg(TruncToInt(x), TruncToInt(y));
    }
    return;
  }

  const double pixelsPerMetre = dc.GetDeviceCaps(gdi::kCapLogPixelsX) * kInchesPerMetre;
  const double percent = doc.scalePercent * 0.01;
  double o = 0, clipWidth = 0, clipHeight = 0;
  bool scaled = true;
  if (fit) {
    if (plotType == 1) {
      o = std::min(a / doc.loadViewWidth, b / doc.loadViewHeight);
      a = o * c;
      b = o * d;
    }
  } else if (option == 2 || option == 4) {
    a = pixelsPerMetre * doc.pageWidth;
    b = pixelsPerMetre * doc.pageHeight;
    if (option == 4) {
      a *= percent;
      b *= percent;
    }
    if (plotType == 1) o = std::max(a / c, b / d);
  } else {
    scaled = false;
  }
  if (scaled && plotType == 1) {
    if (x != 0 || y != 0) {
      x *= o;
      y *= o;
    }
    clipWidth = o * doc.loadViewWidth + 1.5;
    clipHeight = o * doc.loadViewHeight + 1.5;
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
  if (plotType == 0 && fit) {
    const bool turned = doc.rotation == 90 || doc.rotation == 270;
    dc.SetWindowExt(TruncToInt(turned ? pageH : pageW), TruncToInt(turned ? pageW : pageH));
  } else {
    dc.SetWindowExt(TruncToInt(pageW), TruncToInt(pageH));
    if (plotType == 2) {
      a = pixelsPerMetre * doc.pageWidth;
      b = pixelsPerMetre * doc.pageHeight;
      if (option == 4) {
        a *= percent;
        b *= percent;
        x *= percent;
        y *= percent;
      }
    }
  }
  dc.SetViewportExt(TruncToInt(a), TruncToInt(b));
  dc.SetViewportOrg(TruncToInt(x), TruncToInt(y));
}

}  // namespace quillon
