#pragma once
// The device interface on a cairo surface (an image, a PDF or an SVG page), so that plots are
// drawn natively by the same interpreter that draws them through GDI on Windows.
//
// Device units are pixels of a virtual device of `dpi` pixels per inch; the interpreter's
// mapping is applied to every point, and the context's own matrix turns device pixels into
// the surface's units (pixels of an image, points of a PDF or SVG page). What GDI sizes in
// device pixels keeps that size: one-pixel pens, hatch tiles (8 x 8) and pattern brushes.
// Pixel rules follow GDI where cairo can: fills cover the pixels whose centres lie inside,
// thin lines run through the pixel right and below their exact coordinates.
// The raster operations cairo has no equivalent for are drawn as described in
// paint_sources.h and in StretchDIBits below.

#include <cairo.h>

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "render/cairo/bitonal_strip.h"
#include "render/cairo/cairo_handles.h"
#include "render/cairo/logical_mapping.h"
#include "render/device.h"

namespace quillon {

struct CairoTarget {
  int width = 0, height = 0;  // device pixels: the page (HORZRES, VERTRES, visible area)
  double unitsPerPixel = 1;   // surface units per device pixel
  int dpi = 96;               // device pixels per inch (LOGPIXELSX/Y)
  bool antialias = true;
  // PDF and SVG: line widths stay as computed and images are never smoothed (viewers and
  // printers scale them); on an image widths round to whole pixels.
  bool vector = false;
};

class CairoDevice final : public Device {
 public:
  // The surface stays the caller's and must outlive the device.
  CairoDevice(cairo_surface_t* surface, const CairoTarget& target);
  ~CairoDevice() override;
  CairoDevice(const CairoDevice&) = delete;
  CairoDevice& operator=(const CairoDevice&) = delete;

  // Draws the lines and raster rows gathered so far (the destructor does too).
  void Flush();
  // Empty while cairo is well; else cairo's reason (it stops drawing after an error).
  std::string error() const;
  // Paints the whole page white.
  void ClearToWhite();

  int StartDocument(const std::string& documentName) override;
  int StartPage() override;
  int EndPage() override;
  int EndDocument() override;
  int GetDeviceCaps(int index) override;
  int QueryEscapeSupport(int escape) override;

  int SetGraphicsMode(int mode) override;
  int SetMapMode(int mode) override;
  bool SetWindowExt(int x, int y) override;
  bool SetViewportExt(int x, int y) override;
  bool SetViewportOrg(int x, int y) override;

  ObjectId CreatePen(std::uint32_t style, int width, ColorRef colour) override;
  ObjectId ExtCreatePen(std::uint32_t style, std::uint32_t width, const BrushDesc& brush,
                        std::span<const std::uint32_t> dashes) override;
  ObjectId CreateSolidBrush(ColorRef colour) override;
  ObjectId CreateHatchBrush(int hatch, ColorRef colour) override;
  ObjectId CreateDibPatternBrush(const DibView& packedDib) override;
  ObjectId GetStockObject(int which) override;
  ObjectId SelectObject(ObjectId object) override;
  bool DeleteObject(ObjectId object) override;

  int SetROP2(int mode) override;
  bool SetMiterLimit(float limit) override;
  int SetStretchBltMode(int mode) override;
  ColorRef GetBkColor() override { return kBackground; }

  bool MoveTo(int x, int y) override;
  bool LineTo(int x, int y) override;
  bool Polyline(std::span<const DevicePoint> points) override;
  bool PolyBezier(std::span<const DevicePoint> points) override;
  bool Polygon(std::span<const DevicePoint> points) override;
  bool PolyPolygon(std::span<const DevicePoint> points,
                   std::span<const std::int32_t> counts) override;
  bool Rectangle(int left, int top, int right, int bottom) override;
  // 1-bit bitmaps go to the surface as 1-bit masks in their colours, so that a PDF or SVG
  // keeps a scan bitonal; deeper ones as RGB images. SRCCOPY is exact. SRCAND and SRCPAINT
  // (the transparent raster's two passes) leave white (AND) or black (OR) pixels alone and
  // paint black and white exactly; other colours multiply (AND) or lighten (OR), which is
  // the same on pure colours and the closest composition otherwise. Bitmaps larger than a
  // cairo image are drawn in tiles (image_tiles.h).
  int StretchDIBits(int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                    int srcWidth, int srcHeight, const DibView& dib, std::uint32_t rop) override;

  bool BeginPath() override;
  bool EndPath() override;
  bool SelectClipPath(int mode) override;
  bool SelectClipRgnNone() override;
  int GetClipBox(DeviceRect& box) override;
  bool RectVisible(const DeviceRect& rect) override;
  bool GetVisibleBox(DeviceRect& box) override;
  int SaveDC() override;
  bool RestoreDC(int saved) override;
  // PDF and SVG take the offer; the stream is kept when the bitmap painted is its whole image,
  // opaque, with red equal to blue in every pixel (jpeg_picture.h); else the bits are painted.
  bool OfferJpeg(const JpegSource& source) override;

 private:
  static constexpr ColorRef kBackground = 0xFFFFFF;
  static constexpr ObjectId kStockBase = 0x10000;

  struct Pen {
    bool null = false;
    bool geometric = false;
    std::uint32_t pattern = gdi::kPenSolid;  // the style's low bits
    double width = 0;                        // logical units
    ColorRef colour = 0;
    cairo_line_cap_t cap = CAIRO_LINE_CAP_ROUND;
    cairo_line_join_t join = CAIRO_LINE_JOIN_ROUND;
    std::vector<double> dashes;  // logical units (user styles)
  };
  struct Brush {
    bool null = false;
    ColorRef colour = 0;
    SharedPattern pattern;  // hatch or bitmap tile; else solid
  };
  struct Object {
    bool isPen = false;
    Pen pen;
    Brush brush;
  };
  // What SaveDC keeps.
  struct DcState {
    ObjectId penId = kStockBase + gdi::kStockBlackPen;
    ObjectId brushId = kStockBase + gdi::kStockWhiteBrush;
    Pen pen;
    Brush brush;
    int rop2 = gdi::kMixCopyPen;
    double miterLimit = 10;
    int stretchMode = gdi::kStretchBlackOnWhite;
    int graphicsMode = 1;
    LogicalMapping mapping;
    DevicePoint position{0, 0};
  };
  struct PathPoint {
    enum Kind : std::uint8_t { Move, Line, Curve, Close } kind;
    double x, y;
  };

  const Object* Find(ObjectId id, Object& stock) const;
  ObjectId Add(Object object);
  double Near(double v) const { return v < -far_ ? -far_ : v > far_ ? far_ : v; }
  double DeviceX(double x) const;
  double DeviceY(double y) const;
  // Adds the points as one figure: to the recorded path inside BeginPath/EndPath, else to
  // cairo's path, shifted by `shift` device pixels.
  void AddFigure(std::span<const DevicePoint> points, bool close, bool curves, double shift);
  // On PDF and SVG, lines of the plain pen (R2_COPYPEN) are gathered into one path until
  // something else is drawn or the DC changes: one path for thousands of polylines instead
  // of one each, which makes large plots faster to write and smaller. GDI restarts a dash
  // pattern with every polyline, as cairo does with every subpath.
  void Stroke();
  void StrokeNow();
  void FlushStrokes();
  // Draws the gathered bands of a 1-bit raster (bitonal_strip.h).
  void FlushStrip();
  void Fill(cairo_fill_rule_t rule);
  void StrokeFigures(std::span<const DevicePoint> points, std::span<const std::int32_t> counts,
                     bool close);
  bool Filled(std::span<const DevicePoint> points, std::span<const std::int32_t> counts);
  double StrokeShift() const;

  // Fills the rectangle with the image under `toImage` (device pixels to image pixels).
  void PaintImage(cairo_surface_t* image, const cairo_matrix_t& toImage, cairo_extend_t extend,
                  double x0, double y0, double x1, double y1, std::uint32_t rop);
  void PaintColourWith(ColorRef colour, cairo_operator_t op, cairo_pattern_t* mask, double x0,
                       double y0, double x1, double y1);

  CairoContext cr_;
  CairoTarget target_;
  double far_;  // device pixels from the origin beyond which points are held
  DcState state_;
  std::vector<DcState> saved_;
  std::unordered_map<ObjectId, Object> objects_;
  ObjectId nextId_ = 1;
  bool inPath_ = false;
  int pendingFigures_ = 0;
  BitonalStrip strip_;
  // Offered for the next StretchDIBits only.
  std::optional<JpegSource> jpeg_;
  std::vector<PathPoint> path_;
};

}  // namespace quillon
