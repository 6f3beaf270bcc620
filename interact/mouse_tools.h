#pragma once
// The left mouse button and the keys as the tools use them: pan by dragging, zoom in or out at
// a click, zoom to a window area, centre on a point, move the Plot To Form outline and place
// measurement points. It moves the view through the navigation commands and answers what the
// window must do besides: capture, cursor, figures to invert, status texts.

#include <optional>
#include <vector>

#include "interact/measurement.h"
#include "interact/navigation.h"
#include "interact/status_texts.h"
#include "interact/wheel_steps.h"

namespace quillon {

// The tools go by the menu command that chooses them; 0 while measuring places points.
inline constexpr int kToolMeasure = 0;
inline constexpr int kToolPan = 40;
inline constexpr int kToolZoomIn = 42;
inline constexpr int kToolZoomOut = 43;
inline constexpr int kToolWindowArea = 44;
inline constexpr int kToolWindowCenter = 45;
inline constexpr int kToolPlotToForm = 57;
// Commands after which a measuring rubber line is drawn again at the new view.
inline constexpr int kCommandFit = 46;
inline constexpr int kCommandRotateLeft = 50;
inline constexpr int kCommandRotateRight = 51;

enum class CursorKind { Unchanged, Arrow, Cross, OpenHand, ClosedHand };

// A figure drawn with the inverting pen, so that drawing it again removes it.
struct RubberFigure {
  enum class Kind {
    Rectangle,    // Window Area: from the anchor to the moving corner, blue
    Line,         // measuring: from the last point to the rubber line end, blue
    FormOutline,  // Plot To Form: the form outline placed at `from`
  };
  Kind kind;
  ViewPoint from;
  ViewPoint to;
  friend bool operator==(const RubberFigure&, const RubberFigure&) = default;
};

struct MouseResponse {
  CursorKind cursor = CursorKind::Unchanged;
  bool capture = false;
  bool releaseCapture = false;
  // Drawn in this order.
  std::vector<RubberFigure> figures;
  // Draw the measured figure once more, removing it.
  bool removeMeasureFigure = false;
  StatusTexts status;
  // Copy the last drawn image and the status strip again; the document is not redrawn.
  bool repaintFromBackBuffer = false;
  bool pointPlaced = false;
  // Plot To Form released: run the placement with the outline at this position.
  std::optional<ViewPoint> placeFormAt;
  // False when the input is not the tools' (a wheel beyond the drawing area).
  bool taken = true;
};

class MouseTools {
 public:
  MouseTools(Navigation& nav, ViewListener& listener) : nav_(nav), listener_(listener) {}

  int ActiveTool() const { return activeTool_; }
  const Measurement& Measure() const { return measure_; }
  bool Capturing() const { return capturing_; }
  std::optional<ViewPoint> OutlinePosition() const { return outline_; }
  // Whether the next paint draws the measuring rubber line again; a paint clears it.
  bool TakeRedrawRubberLine();
  // The figure that a paint draws while measuring: the points mapped to the window.
  std::vector<ViewPoint> MeasureFigure() const;
  // The measuring rubber line while it is on the screen; a paint wipes it and draws it again.
  std::optional<RubberFigure> ShownRubberLine() const;

  // Context menu commands 40, 42 to 45.
  MouseResponse ChooseTool(int tool);
  // The Plot To Form command: the outline follows the next drag.
  MouseResponse StartPlotToForm();
  // Commands 53 and 60; a mode cannot start while the other is on.
  MouseResponse ToggleMeasure(MeasureMode mode);
  // After any menu command has run.
  void AfterCommand(int command);

  // Positions are window pixels as the messages carry them.
  MouseResponse Press(ViewPoint at);
  MouseResponse Move(ViewPoint at, bool leftHeld);
  MouseResponse Release(ViewPoint at, const MeasurePage& page, const MeasureScale& scale);
  MouseResponse DoubleClick();
  MouseResponse Escape();
  MouseResponse CancelMode();
  // Rotation of the wheel over `at`: ScaleFactor per notch about that pixel.
  MouseResponse Wheel(int delta, ViewPoint at);

 private:
  bool InView(ViewPoint p) const;
  void MoveMeasureLine(ViewPoint at, MouseResponse& out);
  void MoveOutline(ViewPoint at, MouseResponse& out);
  void MoveRubberRectangle(ViewPoint at, MouseResponse& out);
  void ReleaseCapture(MouseResponse& out);
  MouseResponse EndPlotToForm();
  MouseResponse SwitchMeasureOff();
  // A mode starting or starting over: the next click places a point.
  MouseResponse PlacingPoints(StatusTexts status);
  RubberFigure Rectangle() const { return {RubberFigure::Kind::Rectangle, anchor_, corner_}; }

  Navigation& nav_;
  ViewListener& listener_;
  Measurement measure_;
  WheelSteps wheel_;
  int activeTool_ = kToolPan;
  ViewPoint last_;
  bool panPressed_ = false;
  bool capturing_ = false;
  bool deferredRelease_ = false;
  ViewPoint anchor_;
  ViewPoint corner_;
  std::optional<ViewPoint> outline_;
  bool rubberLineShown_ = false;
  ViewPoint rubberLineEnd_;
  bool redrawRubberLine_ = false;
  bool afterDoubleClick_ = false;
};

}  // namespace quillon
