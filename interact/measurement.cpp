#include "interact/measurement.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "interact/measure_number.h"
#include "interact/polygon_crossing.h"

namespace quillon {
namespace {

constexpr std::string_view kFinishHint = "Double Click to Reset-Esc to Finish";
// After a result, set off from it.
constexpr std::string_view kFinishAfterResult = "   Double Click to Reset-Esc to Finish";

std::int64_t WholeDots(int size) { return size < 1 ? 1 : size; }

std::int64_t Delta(int a, int b) { return std::llabs(static_cast<std::int64_t>(a) - b); }

}  // namespace

double MeasuredDistance(std::span<const KpzPoint> points, const MeasurePage& page,
                        const MeasureScale& scale) {
  double total = 0;
  for (std::size_t i = 1; i < points.size(); ++i) {
    const double dx =
        Delta(points[i].x, points[i - 1].x) * page.pageWidth / WholeDots(page.KpzXSize);
    const double dy =
        Delta(points[i].y, points[i - 1].y) * page.pageHeight / WholeDots(page.KpzYSize);
    total += std::sqrt(dx * dx + dy * dy) * scale.ratio * scale.perMetre;
  }
  return total;
}

double MeasuredArea(std::span<const KpzPoint> points, const MeasurePage& page,
                    const MeasureScale& scale) {
  const std::size_t n = points.size();
  if (n < 3) return 0;
  // Each term is exact in 64 bits; the sum is exact in the 64-bit mantissa of a long double
  // while it stays below 2^64, far beyond any polygon clicked on a page.
  long double twice = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const KpzPoint& p = points[i];
    const KpzPoint& q = points[(i + 1) % n];
    twice += static_cast<std::int64_t>(p.x) * q.y - static_cast<std::int64_t>(p.y) * q.x;
  }
  const double dots = static_cast<double>(WholeDots(page.KpzYSize) * WholeDots(page.KpzXSize));
  const double metres = static_cast<double>(twice) * 0.5 * page.pageHeight * page.pageWidth / dots;
  return std::fabs(metres * (scale.ratio * scale.ratio) * scale.perSquareMetre);
}

std::string_view Measurement::ModeText() const {
  return mode_ == MeasureMode::Polygon ? " Polygon Area " : " Measure ";
}

StatusTexts Measurement::SwitchOn(MeasureMode mode) {
  mode_ = mode;
  points_.clear();
  return {std::string(ModeText()), "Enter First Point", std::string(kFinishHint)};
}

StatusTexts Measurement::SwitchOff() {
  mode_ = MeasureMode::Off;
  return {std::string(kPanModeText), std::string(kPanPromptText), std::string(kNoResultText)};
}

StatusTexts Measurement::Reset() {
  points_.clear();
  return {std::string(ModeText()), "Enter First Point", std::string(kNoResultText)};
}

StatusTexts Measurement::Resume() const {
  return {std::string(ModeText()), " Enter Next Point", std::nullopt};
}

StatusTexts Measurement::Place(KpzPoint point, const MeasurePage& page, const MeasureScale& scale) {
  points_.push_back(point);
  return {std::nullopt, "  Enter Next Point",
          ResultText(page, scale) + std::string(kFinishAfterResult)};
}

std::string Measurement::ResultText(const MeasurePage& page, const MeasureScale& scale) const {
  const bool unit = !scale.unitName.empty();
  if (mode_ == MeasureMode::Polygon) {
    if (PolygonIntersects(points_)) return std::string(kPolygonIntersectingText);
    return MeasureNumberText(MeasuredArea(points_, page, scale)) +
           (unit ? " sq. " + std::string(scale.unitName) : std::string());
  }
  return MeasureNumberText(MeasuredDistance(points_, page, scale)) +
         (unit ? " " + std::string(scale.unitName) : std::string());
}

}  // namespace quillon
