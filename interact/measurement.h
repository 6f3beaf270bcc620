#pragma once
// Measuring on the document: the distance along a clicked polyline or the area of a clicked
// polygon. Points are kept in document dots, so the figure stays on the document through
// zoom, pan and rotation; results are shown in the ruler's model units.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "interact/measure_scale.h"
#include "interact/status_texts.h"
#include "interact/view_state.h"

namespace quillon {

enum class MeasureMode { Off, Distance, Polygon };

// The page as measurement sees it: its size in metres and in whole dots.
struct MeasurePage {
  double pageWidth = 0;
  double pageHeight = 0;
  int KpzXSize = 1;
  int KpzYSize = 1;
};

// Length of the polyline through the points, in model units. A page size below one dot
// counts as one, so a broken page gives no infinity.
double MeasuredDistance(std::span<const KpzPoint> points, const MeasurePage& page,
                        const MeasureScale& scale);
// Area of the polygon through the points, closed from the last to the first, in square model
// units; 0 below three points. The coordinates' products are formed exactly.
double MeasuredArea(std::span<const KpzPoint> points, const MeasurePage& page,
                    const MeasureScale& scale);

inline constexpr std::string_view kPolygonIntersectingText = "Polygon Intersecting";

class Measurement {
 public:
  MeasureMode Mode() const { return mode_; }
  bool DistanceMode() const { return mode_ == MeasureMode::Distance; }
  bool PolygonMode() const { return mode_ == MeasureMode::Polygon; }
  bool On() const { return mode_ != MeasureMode::Off; }
  const std::vector<KpzPoint>& MeasurePoints() const { return points_; }
  // " Measure " or " Polygon Area ".
  std::string_view ModeText() const;

  // A mode starts with no points; the points of the last one stay until then.
  StatusTexts SwitchOn(MeasureMode mode);
  StatusTexts SwitchOff();
  // Double click: the points go, the mode stays.
  StatusTexts Reset();
  // Appends a point and answers the new result.
  StatusTexts Place(KpzPoint point, const MeasurePage& page, const MeasureScale& scale);
  // Prompt when measuring resumes after a tool chosen for one click.
  StatusTexts Resume() const;

 private:
  std::string ResultText(const MeasurePage& page, const MeasureScale& scale) const;

  MeasureMode mode_ = MeasureMode::Off;
  std::vector<KpzPoint> points_;
};

}  // namespace quillon
