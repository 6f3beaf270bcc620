#include "render/dash_stepper.h"

#include <algorithm>

namespace quillon {

void DashStepper::SetPattern(std::span<const std::int32_t> lengths) {
  lengths_.assign(lengths.begin(), lengths.end());
  Reset();
}

void DashStepper::Reset() {
  index_ = 0;
  remaining_ = lengths_.empty() ? 0 : lengths_[0];
}

void DashStepper::NextElement() {
  index_ = (index_ + 1) % lengths_.size();
  remaining_ = lengths_[index_];
}

void DashStepper::MoveTo(std::int32_t x, std::int32_t y) {
  Reset();
  x_ = x;
  y_ = y;
  if (dc_) dc_->MoveTo(x, y);
}

void DashStepper::DrawPolyline(Device& dc, std::span<const DevicePoint> points) {
  if (points.empty()) return;
  dc_ = &dc;
  MoveTo(points[0].x, points[0].y);
  for (const DevicePoint& p : points.subspan(1)) LineTo(p.x, p.y);
}

// The walk moves one dot per step along the major axis and one along the minor axis whenever
// the error term (starting at L, less m per step) drops to 0 or below. After k steps that
// puts the minor offset at exactly floor(k * m / L), so the walk jumps from one element end
// to the next instead of visiting every dot: same dots, and a line across the whole 32-bit
// range does not take billions of steps.
void DashStepper::LineTo(std::int32_t x, std::int32_t y) {
  if (lengths_.empty()) {
    if (dc_) dc_->LineTo(x, y);
    x_ = x;
    y_ = y;
    return;
  }
  const std::int64_t x0 = x_, y0 = y_;
  const std::int64_t dx = std::int64_t{x} - x0, dy = std::int64_t{y} - y0;
  const std::uint64_t adx = static_cast<std::uint64_t>(dx < 0 ? -dx : dx);
  const std::uint64_t ady = static_cast<std::uint64_t>(dy < 0 ? -dy : dy);
  const bool majorX = adx >= ady;
  const std::uint64_t major = majorX ? adx : ady;
  const std::uint64_t minor = majorX ? ady : adx;
  const std::int64_t sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;

  // Both lengths are below 2^32, so k * minor fits in 64 bits.
  auto placeAt = [&](std::uint64_t k) {
    const auto along = static_cast<std::int64_t>(k);
    const auto across = static_cast<std::int64_t>(k * minor / major);
    x_ = static_cast<std::int32_t>(x0 + sx * (majorX ? along : across));
    y_ = static_cast<std::int32_t>(y0 + sy * (majorX ? across : along));
  };

  std::uint64_t done = 0;
  while (done < major) {
    // An element of length 0 is never counted down to 0: it runs on to the end of the line.
    const std::uint64_t left = major - done;
    const bool ends = remaining_ > 0 && static_cast<std::uint64_t>(remaining_) <= left;
    const std::uint64_t step = ends ? static_cast<std::uint64_t>(remaining_) : left;
    done += step;
    if (remaining_ > 0) remaining_ -= static_cast<std::int64_t>(step);
    placeAt(done);
    if (!ends) break;
    NextElement();
    if (dc_) {
      if (index_ % 2 == 1)
        dc_->LineTo(x_, y_);  // a gap begins: finish the dash
      else
        dc_->MoveTo(x_, y_);  // a dash begins
    }
    if (done == major) return;
  }
  if (index_ % 2 == 0 && dc_) dc_->LineTo(x_, y_);
}

}  // namespace quillon
