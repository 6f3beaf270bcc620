#pragma once
// Software dashes for lines drawn with a solid pen: walks each segment dot by dot along its
// major axis (Bresenham) and turns the pen on and off by the pattern. Even elements are
// dashes, odd ones gaps; the phase runs on from one segment to the next.

#include <cstdint>
#include <span>
#include <vector>

#include "render/device.h"

namespace quillon {

class DashStepper {
 public:
  // Keeps a copy of the lengths (dots) and restarts at the first element. No lengths: solid.
  void SetPattern(std::span<const std::int32_t> lengths);
  void SetDc(Device* dc) { dc_ = dc; }
  Device* dc() const { return dc_; }

  // Restarts the pattern at (x, y).
  void MoveTo(std::int32_t x, std::int32_t y);
  void LineTo(std::int32_t x, std::int32_t y);
  // Walks a polyline on dc: the pattern restarts at the first point and runs on around the
  // corners. No points: nothing is drawn and the state stays.
  void DrawPolyline(Device& dc, std::span<const DevicePoint> points);

  std::size_t elementIndex() const { return index_; }
  std::int64_t remaining() const { return remaining_; }
  DevicePoint position() const { return {x_, y_}; }
  std::span<const std::int32_t> pattern() const { return lengths_; }

 private:
  void Reset();
  void NextElement();

  Device* dc_ = nullptr;
  std::vector<std::int32_t> lengths_;
  std::size_t index_ = 0;
  std::int64_t remaining_ = 0;
  std::int32_t x_ = 0, y_ = 0;
};

}  // namespace quillon
