#include "tools/kpzconvert/plot_conversion.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>

#include "render/cairo/cairo_device.h"
#include "render/draw_context.h"

namespace quillon {

namespace {

CairoSurface MakeSurface(const ConvertJob& job, const PageGeometry& g) {
  switch (job.format) {
    case OutputFormat::Pdf:
      return CairoSurface(
          cairo_pdf_surface_create(job.out.c_str(), g.surfaceWidth, g.surfaceHeight));
    case OutputFormat::Svg: {
      CairoSurface svg(cairo_svg_surface_create(job.out.c_str(), g.surfaceWidth, g.surfaceHeight));
      if (Usable(svg.get())) cairo_svg_surface_restrict_to_version(svg.get(), CAIRO_SVG_VERSION_1_1);
      return svg;
    }
    default:
      return CairoSurface(
          cairo_image_surface_create(CAIRO_FORMAT_RGB24, g.deviceWidth, g.deviceHeight));
  }
}

std::string Failed(const std::string& what, cairo_status_t status) {
  return what + ": " + cairo_status_to_string(status);
}

}  // namespace

ConversionResult ConvertPlot(DocumentPlatform& platform, const ConvertJob& job,
                             const ConvertOptions& options) {
  ConversionResult result;
  // Opaque rasters off and the finest raster levels: the control's defaults.
  DrawContext context(platform, 0, 0);
  if (context.OpenDocument(job.file, 800, 600) != 0) {
    result.reason = "the plot cannot be opened";
    return result;
  }
  const KpzDocument& doc = *context.document();
  const PlotPage page{doc.header.pageWidth, doc.header.pageHeight,
                      static_cast<double>(doc.header.resolution)};
  result.reason = ComputeGeometry(page, job.format, options, result.geometry);
  if (!result.reason.empty()) return result;
  if (options.page && static_cast<std::uint32_t>(*options.page) > doc.pageTable.count) {
    result.reason = "the plot has " + std::to_string(doc.pageTable.count) + " page(s), not " +
                    std::to_string(*options.page);
    return result;
  }
  const PageGeometry& g = result.geometry;

  CairoSurface surface = MakeSurface(job, g);
  if (!Usable(surface.get())) {
    result.reason = Failed("cannot make the output", cairo_surface_status(surface.get()));
    return result;
  }
  {
    CairoTarget target;
    target.width = g.deviceWidth;
    target.height = g.deviceHeight;
    target.unitsPerPixel = g.unitsPerPixel;
    target.dpi = g.dpi;
    target.antialias = options.antialias;
    target.vector = job.format != OutputFormat::Png;
    CairoDevice device(surface.get(), target);
    if (job.format == OutputFormat::Png) device.ClearToWhite();
    if (options.page) context.SetPageFilter(static_cast<std::uint32_t>(*options.page - 1));
    const double dotsX = page.widthMetres * page.dotsPerMetre;
    const double dotsY = page.heightMetres * page.dotsPerMetre;
    ScreenView view{dotsX * g.zoom, dotsY * g.zoom, 0, 0, g.zoom, options.rotation};
    if (job.format == OutputFormat::Png && options.sizing == Sizing::Size) {
      // Fitted by the interpreter as the control fits its window: the window's extents,
      // exchanged when the page lies sideways, and no zoom yet.
      const bool sideways = options.rotation == 90 || options.rotation == 270;
      view = {static_cast<double>(sideways ? options.height : options.width),
              static_cast<double>(sideways ? options.width : options.height), 0, 0, 0,
              options.rotation};
    }
    context.DrawScreen(device, view, job.file);
    context.CloseDocument(&device);
    device.Flush();
    result.reason = device.error();
  }
  if (!result.reason.empty()) return result;

  cairo_status_t status;
  if (job.format == OutputFormat::Png) {
    status = cairo_surface_write_to_png(surface.get(), job.out.c_str());
  } else {
    cairo_surface_finish(surface.get());
    status = cairo_surface_status(surface.get());
  }
  if (status != CAIRO_STATUS_SUCCESS) {
    result.reason = Failed("cannot write " + job.out, status);
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace quillon
