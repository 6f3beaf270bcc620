#pragma once
// The drawing surface of the interpreter, shaped like the part of GDI it uses.
// Constants carry GDI's own values so that the GDI implementation only forwards; their
// names are our own, so that no <windows.h> macro can rename them.
// Objects (pens, brushes, stock objects) are opaque ids: creating returns a new id,
// selecting returns the id that was selected before, deleting is explicit.

#include <cstdint>
#include <span>
#include <string>

#include "base/values.h"

namespace quillon {

using ObjectId = std::uintptr_t;
inline constexpr ObjectId kNoObject = 0;

namespace gdi {
// Pen styles (ExtCreatePen).
inline constexpr std::uint32_t kPenSolid = 0, kPenDash = 1, kPenDot = 2, kPenDashDot = 3,
                               kPenDashDotDot = 4, kPenAlternate = 8, kPenUserStyle = 7,
                               kPenNull = 5;
inline constexpr std::uint32_t kPenEndCapRound = 0x0000, kPenEndCapSquare = 0x0100,
                               kPenEndCapFlat = 0x0200;
inline constexpr std::uint32_t kPenJoinRound = 0x0000, kPenJoinBevel = 0x1000,
                               kPenJoinMiter = 0x2000;
inline constexpr std::uint32_t kPenGeometric = 0x00010000;
// Brush styles and hatches.
inline constexpr std::uint32_t kBrushSolid = 0, kBrushNull = 1, kBrushHatched = 2,
                               kBrushDibPatternPt = 6;
inline constexpr std::uint32_t kHatchHorizontal = 0, kHatchVertical = 1, kHatchFDiagonal = 2,
                               kHatchBDiagonal = 3, kHatchCross = 4, kHatchDiagCross = 5;
// Mix modes.
inline constexpr int kMixNop = 11, kMixMaskPen = 9, kMixCopyPen = 13, kMixNot = 6;
// Raster operations.
inline constexpr std::uint32_t kRopSrcCopy = 0x00CC0020, kRopSrcAnd = 0x008800C6,
                               kRopSrcPaint = 0x00EE0086;
// Stretch modes.
inline constexpr int kStretchBlackOnWhite = 1, kStretchColorOnColor = 3;
// Map modes and graphics modes.
inline constexpr int kMapText = 1, kMapIsotropic = 7, kGraphicsAdvanced = 2;
// Stock objects.
inline constexpr int kStockWhiteBrush = 0, kStockNullBrush = 5, kStockBlackPen = 7,
                     kStockNullPen = 8;
// Device capabilities.
inline constexpr int kCapHorzRes = 8, kCapVertRes = 10, kCapLogPixelsX = 88, kCapLogPixelsY = 90,
                     kCapPhysicalOffsetX = 112, kCapPhysicalOffsetY = 113;
// Escapes.
inline constexpr int kEscQuerySupport = 8, kEscPostscriptPassthrough = 4115,
                     kEscGetPhysPageSize = 12, kEscGetPrintingOffset = 13;
// Clip combination.
inline constexpr int kRgnAnd = 1, kRgnCopy = 5;
// Polygon fill mode.
inline constexpr int kFillAlternate = 1;
}  // namespace gdi

// LOGBRUSH-like description (ExtCreatePen, CreateBrushIndirect).
struct BrushDesc {
  std::uint32_t style = gdi::kBrushSolid;
  ColorRef colour = 0;
  std::uintptr_t hatch = 0;
};

// A packed device-independent bitmap: BITMAPINFOHEADER, colour table, then (optionally) bits.
struct DibView {
  std::span<const std::uint8_t> info;  // header + colour table
  std::span<const std::uint8_t> bits;
};

// A JPEG raster about to be painted whole: its stream (valid until the next StretchDIBits
// returns), the image's own size, and the turn (0, 90, 180 or 270) the decoder gave its pixels.
// The bitmap holds libjpeg's decode of the stream, each pixel's three bytes in the order
// libjpeg delivers them (R, G, B), which a bitmap reads as B, G, R.
struct JpegSource {
  std::span<const std::uint8_t> stream;
  std::int32_t width = 0, rows = 0;
  int rotation = 0;
};

class Device {
 public:
  virtual ~Device() = default;

  // Print job.
  virtual int StartDocument(const std::string& documentName) = 0;
  virtual int StartPage() = 0;
  virtual int EndPage() = 0;
  virtual int EndDocument() = 0;
  virtual int GetDeviceCaps(int index) = 0;
  // Escape(QUERYESCSUPPORT, escape): non-zero when the device supports the escape.
  virtual int QueryEscapeSupport(int escape) = 0;

  // Mapping.
  virtual int SetGraphicsMode(int mode) = 0;
  virtual int SetMapMode(int mode) = 0;
  virtual bool SetWindowExt(int x, int y) = 0;
  virtual bool SetViewportExt(int x, int y) = 0;
  virtual bool SetViewportOrg(int x, int y) = 0;

  // Objects.
  virtual ObjectId CreatePen(std::uint32_t style, int width, ColorRef colour) = 0;
  virtual ObjectId ExtCreatePen(std::uint32_t style, std::uint32_t width, const BrushDesc& brush,
                                std::span<const std::uint32_t> dashes) = 0;
  virtual ObjectId CreateSolidBrush(ColorRef colour) = 0;
  virtual ObjectId CreateHatchBrush(int hatch, ColorRef colour) = 0;
  virtual ObjectId CreateDibPatternBrush(const DibView& packedDib) = 0;
  virtual ObjectId GetStockObject(int which) = 0;
  virtual ObjectId SelectObject(ObjectId object) = 0;
  virtual bool DeleteObject(ObjectId object) = 0;

  // State.
  virtual int SetROP2(int mode) = 0;
  virtual bool SetMiterLimit(float limit) = 0;
  virtual int SetStretchBltMode(int mode) = 0;
  virtual ColorRef GetBkColor() = 0;

  // Primitives.
  virtual bool MoveTo(int x, int y) = 0;
  virtual bool LineTo(int x, int y) = 0;
  virtual bool Polyline(std::span<const DevicePoint> points) = 0;
  virtual bool PolyBezier(std::span<const DevicePoint> points) = 0;
  virtual bool Polygon(std::span<const DevicePoint> points) = 0;
  virtual bool PolyPolygon(std::span<const DevicePoint> points,
                           std::span<const std::int32_t> counts) = 0;
  virtual bool Rectangle(int left, int top, int right, int bottom) = 0;
  virtual int StretchDIBits(int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                            int srcWidth, int srcHeight, const DibView& dib, std::uint32_t rop) = 0;

  // Paths and clipping.
  virtual bool BeginPath() = 0;
  virtual bool EndPath() = 0;
  virtual bool SelectClipPath(int mode) = 0;
  virtual bool SelectClipRgnNone() = 0;
  virtual int GetClipBox(DeviceRect& box) = 0;
  virtual bool RectVisible(const DeviceRect& rect) = 0;
  // The clip box in logical units, for skipping figures that cannot show. False when the
  // device does not say or nothing is clipped away; then every figure is drawn.
  virtual bool GetVisibleBox(DeviceRect&) { return false; }
  virtual int SaveDC() = 0;
  virtual bool RestoreDC(int saved) = 0;

  // Offered before a JPEG raster whose next StretchDIBits paints exactly the stream's image,
  // opaque (SRCCOPY). A device that can keep the stream itself (a PDF or SVG page) answers
  // true, and the raster is then painted in one call rather than in bands; it must still
  // check the call and paint the bits when the stream does not fit them.
  virtual bool OfferJpeg(const JpegSource&) { return false; }

  // Free-form diagnostic text from the interpreter; only tracing devices keep it, and the
  // interpreter formats none unless the device wants it.
  virtual bool WantsNotes() const { return false; }
  virtual void Note(const std::string&) {}
};

}  // namespace quillon
