#pragma once
// Drawing into a Windows metafile of the old 16-bit format, through the device that records it.
// Such a file holds 16-bit coordinates, no viewport changes (the program that plays it places
// the picture with its own mapping), no Béziers, no extended pens, no paths or clip paths and no
// DIB pattern brushes. This device takes the interpreter's calls as any device does and hands
// the target only what the format holds: the mapping is applied here, lines and areas are cut
// to the picture's neighbourhood, and every call the format cannot keep becomes the nearest one
// it can (curves as polylines, styled pens as plain pens, patterns as their average colour).

#include <vector>

#include "render/device.h"
#include "render/rect_clip.h"

namespace quillon {

class LegacyMetafileDevice final : public Device {
 public:
  // `area` is where the picture goes, in the target's own coordinates. The target must outlive
  // this device.
  LegacyMetafileDevice(Device& target, const DeviceRect& area);

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
  ColorRef GetBkColor() override;

  bool MoveTo(int x, int y) override;
  bool LineTo(int x, int y) override;
  bool Polyline(std::span<const DevicePoint> points) override;
  bool PolyBezier(std::span<const DevicePoint> points) override;
  bool Polygon(std::span<const DevicePoint> points) override;
  bool PolyPolygon(std::span<const DevicePoint> points,
                   std::span<const std::int32_t> counts) override;
  bool Rectangle(int left, int top, int right, int bottom) override;
  int StretchDIBits(int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                    int srcWidth, int srcHeight, const DibView& dib, std::uint32_t rop) override;

  bool BeginPath() override;
  bool EndPath() override;
  bool SelectClipPath(int mode) override;
  bool SelectClipRgnNone() override;
  int GetClipBox(DeviceRect& box) override;
  bool RectVisible(const DeviceRect& rect) override;
  // The picture's area: figures far outside it need not be recorded at all.
  bool GetVisibleBox(DeviceRect& box) override;
  int SaveDC() override;
  bool RestoreDC(int saved) override;

 private:
  struct Mapping {
    int mode = gdi::kMapText;
    double windowX = 1, windowY = 1, viewportX = 1, viewportY = 1, originX = 0, originY = 0;
  };
  // Logical units to the target's, per axis, as GDI derives them for the map mode.
  double ScaleX() const;
  double ScaleY() const;
  PointD Map(double x, double y) const;
  std::vector<PointD> Map(std::span<const DevicePoint> points) const;
  bool DrawPolyline(const std::vector<PointD>& line);

  Device& target_;
  BoxD area_;
  BoxD reach_;  // beyond this nothing can show; inside it every coordinate fits 16 bits
  Mapping map_;
  std::vector<Mapping> saved_;
  PointD current_;
  bool inPath_ = false;
};

}  // namespace quillon
