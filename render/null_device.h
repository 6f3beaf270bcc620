#pragma once
// A device that draws nothing and only counts calls: the interpreter's cost without GDI's.

#include <cstdint>
#include <map>

#include "render/device.h"

namespace quillon {

class NullDevice : public Device {
 public:
  std::uint64_t calls() const { return calls_; }
  std::uint64_t primitives() const { return primitives_; }  // lines, curves, areas, bitmaps
  std::uint64_t points() const { return points_; }          // vertices handed to primitives
  std::uint64_t objectsCreated() const { return created_; }
  void Reset() { calls_ = primitives_ = points_ = created_ = 0; }

  int StartDocument(const std::string&) override { return Count(1); }
  int StartPage() override { return Count(1); }
  int EndPage() override { return Count(1); }
  int EndDocument() override { return Count(1); }
  int GetDeviceCaps(int index) override {
    Count(0);
    if (const auto set = caps_.find(index); set != caps_.end()) return set->second;
    return index == gdi::kCapLogPixelsX || index == gdi::kCapLogPixelsY ? 96 : 1000;
  }
  // A printer's resolution and page size, for print draws.
  void SetDeviceCaps(int index, int value) { caps_[index] = value; }
  int QueryEscapeSupport(int) override { return Count(0); }

  int SetGraphicsMode(int) override { return Count(1); }
  int SetMapMode(int) override { return Count(1); }
  bool SetWindowExt(int, int) override { return Count(1); }
  bool SetViewportExt(int, int) override { return Count(1); }
  bool SetViewportOrg(int, int) override { return Count(1); }

  ObjectId CreatePen(std::uint32_t, int, ColorRef) override { return Create(); }
  ObjectId ExtCreatePen(std::uint32_t, std::uint32_t, const BrushDesc&,
                        std::span<const std::uint32_t>) override {
    return Create();
  }
  ObjectId CreateSolidBrush(ColorRef) override { return Create(); }
  ObjectId CreateHatchBrush(int, ColorRef) override { return Create(); }
  ObjectId CreateDibPatternBrush(const DibView&) override { return Create(); }
  ObjectId GetStockObject(int which) override {
    Count(0);
    return 0x10000 + static_cast<ObjectId>(which);
  }
  ObjectId SelectObject(ObjectId) override {
    Count(0);
    return 0x10000;
  }
  bool DeleteObject(ObjectId) override { return Count(1); }

  int SetROP2(int) override { return Count(gdi::kMixCopyPen); }
  bool SetMiterLimit(float) override { return Count(1); }
  int SetStretchBltMode(int) override { return Count(gdi::kStretchBlackOnWhite); }
  ColorRef GetBkColor() override { return static_cast<ColorRef>(Count(0xFFFFFF)); }

  bool MoveTo(int, int) override { return Count(1); }
  bool LineTo(int, int) override { return Draw(1); }
  bool Polyline(std::span<const DevicePoint> p) override { return Draw(p.size()); }
  bool PolyBezier(std::span<const DevicePoint> p) override { return Draw(p.size()); }
  bool Polygon(std::span<const DevicePoint> p) override { return Draw(p.size()); }
  bool PolyPolygon(std::span<const DevicePoint> p, std::span<const std::int32_t>) override {
    return Draw(p.size());
  }
  bool Rectangle(int, int, int, int) override { return Draw(2); }
  int StretchDIBits(int, int, int, int, int, int, int, int srcHeight, const DibView&,
                    std::uint32_t) override {
    Draw(0);
    return srcHeight;
  }

  bool BeginPath() override { return Count(1); }
  bool EndPath() override { return Count(1); }
  bool SelectClipPath(int) override { return Count(1); }
  bool SelectClipRgnNone() override { return Count(1); }
  int GetClipBox(DeviceRect& box) override {
    box = {0, 0, 0, 0};
    return Count(1);
  }
  bool RectVisible(const DeviceRect&) override { return Count(1); }
  // A benchmark gives the logical box its view would show, so that figures outside it are
  // skipped as on a real device.
  void SetVisibleBox(const DeviceRect& box) { visibleBox_ = box, hasVisibleBox_ = true; }
  bool GetVisibleBox(DeviceRect& box) override {
    box = visibleBox_;
    return Count(hasVisibleBox_);
  }
  int SaveDC() override { return Count(1); }
  bool RestoreDC(int) override { return Count(1); }

 private:
  int Count(int answer) {
    ++calls_;
    return answer;
  }
  ObjectId Create() {
    ++calls_;
    return ++created_;
  }
  bool Draw(std::size_t n) {
    ++calls_;
    ++primitives_;
    points_ += n;
    return true;
  }

  std::uint64_t calls_ = 0, primitives_ = 0, points_ = 0, created_ = 0;
  std::map<int, int> caps_;
  DeviceRect visibleBox_{0, 0, 0, 0};
  bool hasVisibleBox_ = false;
};

}  // namespace quillon
