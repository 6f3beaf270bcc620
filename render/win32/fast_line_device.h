#pragma once
// The screen's device: thin solid lines drawn fast, everything else handed to GDI as it is.
//
// A polyline whose pen is solid, copies its colour (R2_COPYPEN) and is drawn by GDI at most
// one device pixel wide (its width rounded to whole pixels) is drawn as GDI draws a cosmetic
// one-pixel line. Into a 32-bit DIB section with a rectangular clip the line rasteriser writes the
// pixels itself (after GdiFlush, so that it lands on whatever GDI drew before); on any other DC
// such polylines go to GDI with a cosmetic pen, consecutive ones of one colour in one PolyPolyline.
// Dashed, wide and otherwise mixed pens, and the plain pens made for Windows 9x (CreatePen), keep
// their GDI path. For the screen only: printers, metafiles and the clipboard get a plain GdiDevice.

#include <optional>
#include <unordered_map>
#include <vector>

#include "render/device.h"
#include "render/win32/dc_mapping.h"
#include "render/win32/dib_target.h"
#include "render/win32/gdi_device.h"

namespace quillon {

class FastLineDevice final : public Device {
 public:
  // `gdi` must outlive this device. The DC's selected pen and mix mode are read at once.
  explicit FastLineDevice(GdiDevice& gdi);
  // Draws what is still batched.
  ~FastLineDevice() override;
  FastLineDevice(const FastLineDevice&) = delete;
  FastLineDevice& operator=(const FastLineDevice&) = delete;

  // Sends the batched polylines to GDI now.
  void Flush();

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
  bool GetVisibleBox(DeviceRect& box) override;
  bool RectVisible(const DeviceRect& rect) override;
  int SaveDC() override;
  bool RestoreDC(int saved) override;

 private:
  // What of a pen made here decides whether it is thin and solid.
  struct PenFacts {
    bool solid = false;  // solid style, solid brush, plain RGB colour
    bool cosmetic = false;
    double width = 0;  // logical units
    ColorRef colour = 0;
    // Whether the width maps to one pixel, as of mapping read number `thinAsOf` (0: never).
    std::uint32_t thinAsOf = 0;
    bool thin = false;
  };

  // Everything handed to GDI goes through here: batched lines first, and the bits are
  // flushed before they are next written.
  GdiDevice& Gdi();
  void ReadDcState();
  const DcMapping* Mapping();
  const DibTarget* Target();
  // The selected pen when it draws thin solid copied lines, else nothing.
  const PenFacts* ThinPen();
  bool DrawIntoBits(std::span<const DevicePoint> points, const PenFacts& pen);
  void Batch(std::span<const DevicePoint> points, ColorRef colour);

  GdiDevice& gdi_;
  std::unordered_map<ObjectId, PenFacts> pens_;
  ObjectId pen_ = kNoObject;
  int mix_ = 0;
  bool inPath_ = false;
  bool mappingRead_ = false, targetRead_ = false;
  std::uint32_t mappingReads_ = 0;
  std::optional<DcMapping> mapping_;
  std::optional<DibTarget> target_;
  bool gdiDrew_ = true;  // GDI may still hold drawing it has not written to the bits
  std::vector<DevicePoint> mapped_;
  std::vector<DevicePoint> batchPoints_;
  std::vector<std::uint32_t> batchCounts_;
  ColorRef batchColour_ = 0;
  ObjectId cosmeticPen_ = kNoObject;
  ColorRef cosmeticColour_ = 0;
};

}  // namespace quillon
