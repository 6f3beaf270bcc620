#pragma once
// The drawing surface of the interpreter, shaped like the part of GDI it uses.
// Constants carry GDI's own values so that the GDI implementation only forwards.
// Objects (pens, brushes, stock objects) are opaque ids: creating returns a new id,
// selecting returns the id that was selected before, deleting is explicit.

#include <cstdint>
#include <span>
#include <string>

namespace quillon {

using ColorRef = std::uint32_t;  // 0x00BBGGRR
using ObjectId = std::uintptr_t;
inline constexpr ObjectId kNoObject = 0;

struct DevicePoint {
  std::int32_t x;
  std::int32_t y;
  bool operator==(const DevicePoint&) const = default;
};

struct DeviceRect {
  std::int32_t left, top, right, bottom;
};

#ifdef _WIN32
#include "render/win32/gdi_names_push.h"  // NOLINT: names are macros after <windows.h>
#endif
namespace gdi {
// Pen styles (ExtCreatePen).
inline constexpr std::uint32_t PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3,
                               PS_DASHDOTDOT = 4, PS_ALTERNATE = 8, PS_USERSTYLE = 7,
                               PS_NULL = 5;
inline constexpr std::uint32_t PS_ENDCAP_ROUND = 0x0000, PS_ENDCAP_SQUARE = 0x0100,
                               PS_ENDCAP_FLAT = 0x0200;
inline constexpr std::uint32_t PS_JOIN_ROUND = 0x0000, PS_JOIN_BEVEL = 0x1000,
                               PS_JOIN_MITER = 0x2000;
inline constexpr std::uint32_t PS_GEOMETRIC = 0x00010000;
// Brush styles and hatches.
inline constexpr std::uint32_t BS_SOLID = 0, BS_NULL = 1, BS_HATCHED = 2, BS_DIBPATTERNPT = 6;
inline constexpr std::uint32_t HS_HORIZONTAL = 0, HS_VERTICAL = 1, HS_FDIAGONAL = 2,
                               HS_BDIAGONAL = 3, HS_CROSS = 4, HS_DIAGCROSS = 5;
// Mix modes.
inline constexpr int R2_NOP = 11, R2_MASKPEN = 9, R2_COPYPEN = 13, R2_NOT = 6;
// Raster operations.
inline constexpr std::uint32_t SRCCOPY = 0x00CC0020, SRCAND = 0x008800C6, SRCPAINT = 0x00EE0086;
// Stretch modes.
inline constexpr int BLACKONWHITE = 1, COLORONCOLOR = 3;
// Map modes and graphics modes.
inline constexpr int MM_TEXT = 1, MM_ISOTROPIC = 7, GM_ADVANCED = 2;
// Stock objects.
inline constexpr int WHITE_BRUSH = 0, NULL_BRUSH = 5, BLACK_PEN = 7, NULL_PEN = 8;
// Device capabilities.
inline constexpr int HORZRES = 8, VERTRES = 10, LOGPIXELSX = 88, LOGPIXELSY = 90,
                     PHYSICALOFFSETX = 112, PHYSICALOFFSETY = 113;
// Escapes.
inline constexpr int QUERYESCSUPPORT = 8, POSTSCRIPT_PASSTHROUGH = 4115, GETPHYSPAGESIZE = 12,
                     GETPRINTINGOFFSET = 13;
// Clip combination.
inline constexpr int RGN_AND = 1, RGN_COPY = 5;
// Polygon fill mode.
inline constexpr int ALTERNATE = 1;
}  // namespace gdi

// LOGBRUSH-like description (ExtCreatePen, CreateBrushIndirect).
struct BrushDesc {
  std::uint32_t style = gdi::BS_SOLID;
  ColorRef colour = 0;
  std::uintptr_t hatch = 0;
};

// A packed device-independent bitmap: BITMAPINFOHEADER, colour table, then (optionally) bits.
struct DibView {
  std::span<const std::uint8_t> info;  // header + colour table
  std::span<const std::uint8_t> bits;
};

class Device {
 public:
  virtual ~Device() = default;

  // Print job.
  virtual int StartDoc(const std::string& documentName) = 0;
  virtual int StartPage() = 0;
  virtual int EndPage() = 0;
  virtual int EndDoc() = 0;
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
  virtual int StretchDIBits(int xDest, int yDest, int destWidth, int destHeight, int xSrc,
                            int ySrc, int srcWidth, int srcHeight, const DibView& dib,
                            std::uint32_t rop) = 0;

  // Paths and clipping.
  virtual bool BeginPath() = 0;
  virtual bool EndPath() = 0;
  virtual bool SelectClipPath(int mode) = 0;
  virtual bool SelectClipRgnNone() = 0;
  virtual int GetClipBox(DeviceRect& box) = 0;
  virtual bool RectVisible(const DeviceRect& rect) = 0;
  virtual int SaveDC() = 0;
  virtual bool RestoreDC(int saved) = 0;

  // Free-form diagnostic text from the interpreter; only tracing devices keep it.
  virtual void Note(const std::string&) {}
};

}  // namespace quillon
#ifdef _WIN32
#include "render/win32/gdi_names_pop.h"  // NOLINT
#endif
