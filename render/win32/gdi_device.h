#pragma once
// The device interface forwarded to GDI on one device context. Thin on purpose: every rule
// about what to draw lives in the interpreter, so this class only translates types.

#include "render/device.h"

// The DC handle type without <windows.h> (same declaration as its STRICT HDC), so that this
// header can be included before or after it, and next to core headers that use the
// quillon::gdi names that <windows.h> defines as macros.
struct HDC__;

namespace quillon {

class GdiDevice final : public Device {
 public:
  // The DC stays owned by the caller and must outlive the device.
  // ObjectId values are the HGDIOBJ values.
  explicit GdiDevice(HDC__* dc) : dc_(dc) {}
  HDC__* dc() const { return dc_; }

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
  bool GetVisibleBox(DeviceRect& box) override;
  int SaveDC() override;
  bool RestoreDC(int saved) override;

 private:
  HDC__* dc_;
};

}  // namespace quillon
