// StretchDIBits on cairo: the source rectangle of the bitmap mapped linearly onto the
// destination rectangle (negative extents mirror, as in GDI).

#include <algorithm>
#include <cmath>
#include <utility>

#include "render/cairo/cairo_device.h"
#include "render/cairo/dib_picture.h"
#include "render/cairo/image_tiles.h"
#include "render/cairo/jpeg_picture.h"
#include "render/cairo/paint_sources.h"

namespace quillon {

namespace {

constexpr ColorRef kWhite = 0xFFFFFF, kBlack = 0;
constexpr double kFarImage = 4.0e6;

}  // namespace

void CairoDevice::PaintColourWith(ColorRef colour, cairo_operator_t op, cairo_pattern_t* mask,
                                  double x0, double y0, double x1, double y1) {
  cairo_t* cr = cr_.get();
  cairo_set_operator(cr, op);
  cairo_set_source_rgb(cr, RedOf(colour), GreenOf(colour), BlueOf(colour));
  if (mask) {
    cairo_mask(cr, mask);
  } else {
    cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
    cairo_fill(cr);
  }
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
}

namespace {

double Luminance(ColorRef c) {
  return 0.299 * (c & 0xFF) + 0.587 * ((c >> 8) & 0xFF) + 0.114 * ((c >> 16) & 0xFF);
}

}  // namespace

void CairoDevice::FlushStrip() {
  if (strip_.empty()) return;
  // A picture shrinks a monochrome bitmap as GDI does in its BLACKONWHITE mode; PDF and SVG
  // keep every bitmap pixel for the viewer to scale.
  BitonalStrip shrunk;
  if (!target_.vector && state_.stretchMode == gdi::kStretchBlackOnWhite &&
      strip_.pixelWidth() > 0 && (strip_.pixelWidth() < 1 || strip_.pixelHeight() < 1))
    shrunk = strip_.Shrunk(Luminance(strip_.colour(1)) <= Luminance(strip_.colour(0)) ? 1 : 0);
  const BitonalStrip& strip = shrunk.empty() ? strip_ : shrunk;
  const double x0 = std::min(strip.x(), strip.x() + strip.width() * strip.pixelWidth());
  const double x1 = std::max(strip.x(), strip.x() + strip.width() * strip.pixelWidth());
  const double y0 = strip.y(), y1 = strip.y() + strip.height() * strip.pixelHeight();
  cairo_matrix_t toStrip;
  cairo_matrix_init(&toStrip, strip.pixelWidth(), 0, 0, strip.pixelHeight(), strip.x(), strip.y());
  if (cairo_matrix_invert(&toStrip) != CAIRO_STATUS_SUCCESS) {
    strip_.Clear();
    return;
  }
  // The pixels of one index in the colour, tile by tile (image_tiles.h).
  auto paintBits = [&](int index, ColorRef colour, cairo_operator_t op) {
    ForEachTile(strip.width(), strip.height(), [&](const ImageTile& tile) {
      CairoSurface bits = MakeBitMask(strip, index, tile);
      if (!bits) return;
      SharedPattern mask = SharePattern(cairo_pattern_create_for_surface(bits.get()));
      cairo_matrix_t toTile, shift;
      cairo_matrix_init_translate(&shift, -tile.left, -tile.top);
      cairo_matrix_multiply(&toTile, &toStrip, &shift);
      cairo_pattern_set_matrix(mask.get(), &toTile);
      cairo_pattern_set_filter(mask.get(), target_.vector || !target_.antialias
                                               ? CAIRO_FILTER_NEAREST
                                               : CAIRO_FILTER_GOOD);
      PaintColourWith(colour, op, mask.get(), x0, y0, x1, y1);
    });
  };
  const ColorRef colours[2] = {strip.colour(0), strip.colour(1)};
  if (strip.rop() == gdi::kRopSrcAnd || strip.rop() == gdi::kRopSrcPaint) {
    const bool andPass = strip.rop() == gdi::kRopSrcAnd;
    for (int i = 0; i < 2; ++i) {
      const ColorRef c = colours[i];
      if (c == (andPass ? kWhite : kBlack)) continue;  // leaves the destination as it is
      const bool exact = c == kWhite || c == kBlack;
      const cairo_operator_t op = exact ? CAIRO_OPERATOR_OVER
                                        : andPass ? CAIRO_OPERATOR_MULTIPLY
                                                  : CAIRO_OPERATOR_LIGHTEN;
      // Both indexes in one colour: the whole rectangle.
      if (c == colours[1 - i]) {
        PaintColourWith(c, op, nullptr, x0, y0, x1, y1);
        break;
      }
      paintBits(i, c, op);
    }
  } else {
    // SRCCOPY: the background colour over the rectangle, the foreground through the bits.
    PaintColourWith(colours[0], CAIRO_OPERATOR_OVER, nullptr, x0, y0, x1, y1);
    if (colours[1] != colours[0]) paintBits(1, colours[1], CAIRO_OPERATOR_OVER);
  }
  strip_.Clear();
}

int CairoDevice::StretchDIBits(int xDest, int yDest, int destWidth, int destHeight, int xSrc,
                               int ySrc, int srcWidth, int srcHeight, const DibView& dib,
                               std::uint32_t rop) {
  FlushStrokes();
  const std::optional<JpegSource> jpeg = std::exchange(jpeg_, std::nullopt);
  if (inPath_ || destWidth == 0 || destHeight == 0 || srcWidth <= 0 || srcHeight <= 0) return 0;
  const auto picture = DibPicture::Read(dib);
  if (!picture) return 0;

  // The source rectangle in picture rows counted from the top, cut to the bitmap.
  const std::int64_t srcTop =
      picture->bottomUp() ? std::int64_t{picture->rows()} - ySrc - srcHeight : ySrc;
  const std::int64_t left = std::max<std::int64_t>(xSrc, 0);
  const std::int64_t right = std::min<std::int64_t>(std::int64_t{xSrc} + srcWidth, picture->width());
  const std::int64_t top = std::max<std::int64_t>(srcTop, 0);
  const std::int64_t bottom = std::min<std::int64_t>(srcTop + srcHeight, picture->rows());
  if (right <= left || bottom <= top) return 0;

  const double dx0 = DeviceX(xDest), dx1 = DeviceX(static_cast<double>(xDest) + destWidth);
  const double dy0 = DeviceY(yDest), dy1 = DeviceY(static_cast<double>(yDest) + destHeight);
  const double sx = (dx1 - dx0) / srcWidth, sy = (dy1 - dy0) / srcHeight;
  // The part of the bitmap drawn, in device pixels.
  const double tx = dx0 + static_cast<double>(left - xSrc) * sx;
  const double ty = dy0 + static_cast<double>(top - srcTop) * sy;
  const auto width = static_cast<int>(right - left), height = static_cast<int>(bottom - top);
  const double ex = tx + width * sx, ey = ty + height * sy;
  // Only broken plots put a bitmap millions of pixels away; nothing of it would show.
  for (double v : {tx, ty, ex, ey})
    if (!(std::fabs(v) < kFarImage)) return srcHeight;
  if (sx == 0 || sy == 0) return srcHeight;

  if (picture->bitCount() == 1) {
    BitonalBand band;
    band.picture = &*picture;
    band.left = static_cast<int>(left);
    band.top = static_cast<int>(top);
    band.width = width;
    band.height = height;
    band.x = tx;
    band.pixelWidth = sx;
    band.flipped = sy < 0;
    band.y = std::min(ty, ey);
    band.pixelHeight = std::fabs(sy);
    band.colours[0] = picture->colours()[0];
    band.colours[1] = picture->colours()[1];
    band.rop = rop == gdi::kRopSrcAnd || rop == gdi::kRopSrcPaint ? rop : gdi::kRopSrcCopy;
    if (!strip_.Append(band)) {
      FlushStrip();
      strip_.Start(band);
    }
    return srcHeight;
  }
  FlushStrip();
  cairo_matrix_t toPicture;
  cairo_matrix_init(&toPicture, sx, 0, 0, sy, tx, ty);
  if (cairo_matrix_invert(&toPicture) != CAIRO_STATUS_SUCCESS) return srcHeight;
  const double x0 = std::min(tx, ex), x1 = std::max(tx, ex);
  const double y0 = std::min(ty, ey), y1 = std::max(ty, ey);

  // The JPEG stream stands for the whole bitmap only.
  const bool whole = xSrc == 0 && ySrc == 0 && srcWidth == picture->width() &&
                     srcHeight == picture->rows() && rop == gdi::kRopSrcCopy;
  if (jpeg && whole) {
    if (CairoSurface image = MakeJpegPicture(*picture, *jpeg)) {
      cairo_matrix_t toUpright = UprightToBitmap(*picture, *jpeg);
      cairo_matrix_invert(&toUpright);  // a turn and a flip: always invertible
      cairo_matrix_multiply(&toUpright, &toPicture, &toUpright);
      // cairo's PDF surface pads an image by writing a padded copy, without the JPEG stream;
      // the stream's picture fills the rectangle exactly and needs no padding.
      PaintImage(image.get(), toUpright, CAIRO_EXTEND_NONE, x0, y0, x1, y1, rop);
      return srcHeight;
    }
  }
  bool painted = true;
  ForEachTile(width, height, [&](const ImageTile& tile) {
    CairoSurface image = MakeRgbImage(*picture, static_cast<int>(left) + tile.left,
                                      static_cast<int>(top) + tile.top, tile.width, tile.height);
    if (!image) {
      painted = false;
      return;
    }
    cairo_matrix_t toTile, shift;
    cairo_matrix_init_translate(&shift, -tile.left, -tile.top);
    cairo_matrix_multiply(&toTile, &toPicture, &shift);
    const double ax = tx + tile.left * sx, bx = tx + (tile.left + tile.width) * sx;
    const double ay = ty + tile.top * sy, by = ty + (tile.top + tile.height) * sy;
    PaintImage(image.get(), toTile, CAIRO_EXTEND_PAD, std::min(ax, bx), std::min(ay, by),
               std::max(ax, bx), std::max(ay, by), rop);
  });
  return painted ? srcHeight : 0;
}

void CairoDevice::PaintImage(cairo_surface_t* image, const cairo_matrix_t& toImage,
                             cairo_extend_t extend, double x0, double y0, double x1, double y1,
                             std::uint32_t rop) {
  cairo_t* cr = cr_.get();
  SharedPattern source = SharePattern(cairo_pattern_create_for_surface(image));
  cairo_pattern_set_matrix(source.get(), &toImage);
  cairo_pattern_set_extend(source.get(), extend);
  cairo_pattern_set_filter(source.get(), target_.vector || !target_.antialias ? CAIRO_FILTER_NEAREST
                                                                              : CAIRO_FILTER_GOOD);
  cairo_set_source(cr, source.get());
  cairo_set_operator(cr, rop == gdi::kRopSrcAnd     ? CAIRO_OPERATOR_MULTIPLY
                         : rop == gdi::kRopSrcPaint ? CAIRO_OPERATOR_LIGHTEN
                                                    : CAIRO_OPERATOR_OVER);
  cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
  cairo_fill(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
}

}  // namespace quillon

namespace quillon {

bool CairoDevice::OfferJpeg(const JpegSource& source) {
  if (!target_.vector) return false;
  jpeg_ = source;
  return true;
}

}  // namespace quillon
