#pragma once
// A device that records every call with its arguments as one text line, for unit tests and
// for a person tracing a plot. Objects get sequential ids; the currently selected pen and
// brush are tracked like a DC does, so selections answer with what they replaced.

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "render/device.h"

namespace quillon {

class TraceDevice : public Device {
 public:
  TraceDevice();

  // Answers of the queries.
  void SetDeviceCaps(int index, int value) { caps_[index] = value; }
  void SetPostScript(bool yes) { postScript_ = yes; }
  void SetClipBox(const DeviceRect& box) { clipBox_ = box; }
  // Without a visible box (the default) GetVisibleBox answers false and leaves no line, so
  // traces of draws that do not test culling stay as they were.
  void SetVisibleBox(const DeviceRect& box) { visibleBox_ = box; }
  void SetRectVisible(bool yes) { rectVisible_ = yes; }
  void SetBkColor(ColorRef colour) { bkColour_ = colour; }
  // StretchDIBits calls with copies of their header, colour table and bits, kept on request
  // (images can be large).
  struct DibCall {
    int x = 0, y = 0, width = 0, height = 0, srcWidth = 0, srcHeight = 0;
    std::uint32_t rop = 0;
    std::vector<std::uint8_t> info, bits;
  };
  void SetKeepDibs(bool yes) { keepDibs_ = yes; }
  const std::vector<DibCall>& dibCalls() const { return dibCalls_; }
  // OfferJpeg's answer, and the offers made (their streams' sizes, not kept); no trace line,
  // so traces of JPEG rasters stay as they were.
  struct JpegOffer {
    std::size_t bytes = 0;
    std::int32_t width = 0, rows = 0;
    int rotation = 0;
  };
  void SetTakesJpeg(bool yes) { takesJpeg_ = yes; }
  const std::vector<JpegOffer>& jpegOffers() const { return jpegOffers_; }
  // Makes StretchDIBits fail (return 0) from its n-th call on (0-based); -1 never.
  void SetFailStretchFrom(int n) { failStretchFrom_ = n; }
  // Makes the next object creations fail (return kNoObject).
  void SetFailCreations(bool yes) { failCreations_ = yes; }

  const std::vector<std::string>& lines() const { return lines_; }
  std::string str() const;  // all lines, each ended by '\n'
  void Clear() { lines_.clear(); }
  // Lines that begin with prefix.
  std::vector<std::string> LinesStartingWith(const std::string& prefix) const;
  std::size_t Count(const std::string& prefix) const { return LinesStartingWith(prefix).size(); }
  // Created objects not yet deleted.
  std::size_t liveObjects() const { return live_.size(); }
  // "pen#3", "brush#4", "stock#7", "none", or "?#N" for an id never handed out.
  std::string Name(ObjectId id) const;
  ObjectId selectedPen() const { return selectedPen_; }
  ObjectId selectedBrush() const { return selectedBrush_; }

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
  bool OfferJpeg(const JpegSource& source) override;
  int SaveDC() override;
  bool RestoreDC(int saved) override;

  bool WantsNotes() const override { return true; }
  void Note(const std::string& text) override;

 private:
  enum class Kind { Pen, Brush, Stock };
  static constexpr ObjectId kStockBase = 0x10000;

  void Add(std::string line) { lines_.push_back(std::move(line)); }
  ObjectId NewObject(Kind kind);
  static std::string Points(std::span<const DevicePoint> points);

  std::vector<std::string> lines_;
  std::map<int, int> caps_;
  bool postScript_ = false;
  bool rectVisible_ = true;
  bool failCreations_ = false;
  DeviceRect clipBox_{0, 0, 0, 0};
  std::optional<DeviceRect> visibleBox_;
  ColorRef bkColour_ = 0xFFFFFF;
  ObjectId nextId_ = 1;
  std::map<ObjectId, Kind> live_;
  std::map<ObjectId, Kind> everCreated_;
  ObjectId selectedPen_;
  ObjectId selectedBrush_;
  int rop2_ = gdi::kMixCopyPen;
  int stretchMode_ = gdi::kStretchBlackOnWhite;
  int graphicsMode_ = 1;
  int mapMode_ = gdi::kMapText;
  int saveDepth_ = 0;
  bool keepDibs_ = false;
  bool takesJpeg_ = false;
  std::vector<JpegOffer> jpegOffers_;
  std::vector<DibCall> dibCalls_;
  int failStretchFrom_ = -1;
  int stretchCalls_ = 0;
};

}  // namespace quillon
