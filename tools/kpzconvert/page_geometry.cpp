#include "tools/kpzconvert/page_geometry.h"

#include <algorithm>
#include <cmath>

namespace quillon {

namespace {

constexpr double kMetresPerInch = 0.0254;
constexpr double kPointsPerInch = 72;
constexpr double kDefaultPngDpi = 96;
constexpr double kMinVectorDpi = 300;
constexpr double kMaxVectorDpi = 1e6;
// cairo's image surfaces end at 32767 pixels a side; a gigabyte of pixels is the most a
// conversion asks for.
constexpr double kMaxPictureSide = 32767;
constexpr double kMaxPicturePixels = 1u << 28;
// Device pixels stay far inside the interpreter's 32-bit coordinates.
constexpr double kMaxDeviceSide = 1e8;

}  // namespace

std::string ComputeGeometry(const PlotPage& page, OutputFormat format,
                            const ConvertOptions& options, PageGeometry& g) {
  if (!(page.widthMetres > 0 && page.heightMetres > 0 && page.dotsPerMetre > 0) ||
      !std::isfinite(page.widthMetres * page.heightMetres))
    return "the plot declares no page size";
  const bool turned = options.rotation == 90 || options.rotation == 270;
  const double wm = turned ? page.heightMetres : page.widthMetres;
  const double hm = turned ? page.widthMetres : page.heightMetres;
  const double wDots = wm * page.dotsPerMetre, hDots = hm * page.dotsPerMetre;
  const double plotDpi = page.dotsPerMetre * kMetresPerInch;
  g = PageGeometry{};

  if (format == OutputFormat::Png) {
    double w = 0, h = 0;
    switch (options.sizing) {
      case Sizing::Size:
        g.zoom = std::min(options.width / wDots, options.height / hDots);
        w = options.width, h = options.height;
        break;
      case Sizing::Scale:
        g.zoom = options.scale;
        break;
      default:
        g.zoom = (options.sizing == Sizing::Dpi ? options.dpi : kDefaultPngDpi) / plotDpi;
        break;
    }
    if (options.sizing != Sizing::Size) {
      w = std::max(1.0, std::ceil(wDots * g.zoom));
      h = std::max(1.0, std::ceil(hDots * g.zoom));
    }
    if (!(w <= kMaxPictureSide && h <= kMaxPictureSide && w * h <= kMaxPicturePixels))
      return "a picture of " + std::to_string(static_cast<long long>(std::min(w, 1e15))) + "x" +
             std::to_string(static_cast<long long>(std::min(h, 1e15))) +
             " pixels is too large (at most 32767 a side and 268 million in all)";
    g.deviceWidth = static_cast<int>(w);
    g.deviceHeight = static_cast<int>(h);
    g.dpi = std::max(1, static_cast<int>(std::lround(std::min(g.zoom * plotDpi, 1e6))));
    g.unitsPerPixel = 1;
    g.surfaceWidth = w;
    g.surfaceHeight = h;
    return "";
  }

  double scale = 1;
  if (options.sizing == Sizing::Scale) scale = options.scale;
  if (options.sizing == Sizing::Size)
    scale = std::min(options.width / 1000.0 / wm, options.height / 1000.0 / hm);
  const double dpi =
      options.sizing == Sizing::Dpi ? options.dpi : std::max(kMinVectorDpi, std::ceil(plotDpi / scale));
  if (!(dpi <= kMaxVectorDpi)) return "the page is too small to draw at that scale";
  g.zoom = scale * dpi / plotDpi;
  const double wInches = wm * scale / kMetresPerInch, hInches = hm * scale / kMetresPerInch;
  const double w = std::max(1.0, std::ceil(wInches * dpi)), h = std::max(1.0, std::ceil(hInches * dpi));
  if (!(w <= kMaxDeviceSide && h <= kMaxDeviceSide && wDots * g.zoom <= kMaxDeviceSide &&
        hDots * g.zoom <= kMaxDeviceSide))
    return "the page is too large to draw at " + std::to_string(static_cast<long>(dpi)) + " dpi";
  g.deviceWidth = static_cast<int>(w);
  g.deviceHeight = static_cast<int>(h);
  g.dpi = static_cast<int>(dpi);
  g.unitsPerPixel = kPointsPerInch / dpi;
  g.surfaceWidth = wInches * kPointsPerInch;
  g.surfaceHeight = hInches * kPointsPerInch;
  return "";
}

}  // namespace quillon
