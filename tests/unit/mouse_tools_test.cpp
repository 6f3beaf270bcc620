#include "interact/mouse_tools.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/support/recording_view_listener.h"
#include "tests/support/test_view_frame.h"

namespace quillon {
namespace {

using Kind = RubberFigure::Kind;

// An 800 x 600 drawing area over a 2000 x 1000 dot page, fitted at the default rotation.
class MouseToolsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseTestViewFrame(nav.frame);
    nav.view.DrawExtentX = 600;
    nav.view.DrawExtentY = 800;
  }
  MouseResponse Click(ViewPoint at) {
    tools.Press(at);
    return tools.Release(at, page, MeasureScale{});
  }

  Navigation nav;
  RecordingListener listener;
  MouseTools tools{nav, listener};
  MeasurePage page{1.0, 1.0, 2000, 1000};
};

TEST_F(MouseToolsTest, PanDragTakesOnlyStepsBeyondTheDeadZone) {
  const struct {
    ViewPoint to;
    double xOrg, yOrg;
  } steps[] = {
      {{104, 96}, 0, 0},   // within 4 pixels: ignored
      {{96, 104}, 0, 0},   // still measured from the press
      {{105, 100}, 5, 0},  // taken
      {{109, 104}, 5, 0},  // within 4 of the last taken position
      {{109, 105}, 9, 5},  // taken on y; x follows
      {{100, 90}, 0, -10},
  };
  EXPECT_EQ(tools.Press({100, 100}).cursor, CursorKind::ClosedHand);
  for (const auto& s : steps) {
    tools.Move(s.to, true);
    EXPECT_EQ(nav.view.xOrg, s.xOrg) << s.to.x << "," << s.to.y;
    EXPECT_EQ(nav.view.yOrg, s.yOrg) << s.to.x << "," << s.to.y;
  }
  EXPECT_TRUE(nav.drag.PanDragging);
  EXPECT_EQ(tools.Release({100, 90}, page, {}).cursor, CursorKind::OpenHand);
  EXPECT_FALSE(nav.drag.PanDragging);
  EXPECT_EQ(nav.drag.PanDragOffset, (ViewPoint{0, 0}));
  EXPECT_EQ(nav.view.yOrg, -10) << "the view stays where the drag left it";
}

TEST_F(MouseToolsTest, SmallDragMovesNothingAndInvalidatesNothing) {
  tools.Press({100, 100});
  tools.Move({103, 103}, true);
  tools.Release({103, 103}, page, {});
  EXPECT_EQ(nav.view.xOrg, 0);
  EXPECT_TRUE(listener.events.empty());
}

TEST_F(MouseToolsTest, PanDragEndsWhenTheButtonIsFoundUp) {
  tools.Press({100, 100});
  tools.Move({120, 100}, true);
  tools.Move({130, 100}, false);
  EXPECT_FALSE(nav.drag.PanDragging);
  EXPECT_EQ(nav.view.xOrg, 20);
  EXPECT_EQ(listener.events.back(), "invalidate");
}

TEST_F(MouseToolsTest, ButtonHeldWithoutAPressDoesNotPan) {
  tools.Move({200, 200}, true);
  EXPECT_EQ(nav.view.xOrg, 0);
  EXPECT_EQ(nav.view.yOrg, 0);
}

TEST_F(MouseToolsTest, IdleCursorFollowsTheTool) {
  EXPECT_EQ(tools.Move({10, 10}, false).cursor, CursorKind::OpenHand);
  for (int tool : {kToolZoomIn, kToolZoomOut, kToolWindowArea, kToolWindowCenter}) {
    EXPECT_EQ(tools.ChooseTool(tool).cursor, CursorKind::Cross);
    EXPECT_EQ(tools.Move({10, 10}, false).cursor, CursorKind::Cross) << tool;
  }
}

TEST_F(MouseToolsTest, ChoosingAToolSetsItsTexts) {
  const struct {
    int tool;
    const char* mode;
    const char* prompt;
  } cases[] = {
      {kToolZoomIn, " Zoom In", "Enter Zoom Point"},
      {kToolZoomOut, " Zoom Out", "Enter Zoom Point"},
      {kToolWindowArea, " Window Area", "Enter Zoom Rectangle"},
      {kToolWindowCenter, " Window Center", "Enter Point"},
      {kToolPan, " Pan", "Click and Drag"},
  };
  for (const auto& c : cases) {
    const MouseResponse r = tools.ChooseTool(c.tool);
    EXPECT_EQ(tools.ActiveTool(), c.tool);
    EXPECT_EQ(*r.status.mode, c.mode);
    EXPECT_EQ(*r.status.prompt, c.prompt);
    EXPECT_FALSE(r.status.result);
    EXPECT_TRUE(r.repaintFromBackBuffer);
  }
  EXPECT_FALSE(tools.ChooseTool(41).taken);
  EXPECT_EQ(tools.ActiveTool(), kToolPan);
}

TEST_F(MouseToolsTest, RubberRectangleKeepsTheWindowProportions) {
  tools.ChooseTool(kToolWindowArea);
  const MouseResponse press = tools.Press({100, 100});
  EXPECT_TRUE(press.capture);
  const struct {
    ViewPoint mouse;
    ViewPoint corner;
  } moves[] = {
      {{300, 150}, {300, 250}},  // 200 wide: 150 high, downward
      {{300, 50}, {300, -50}},   // above the anchor: upward
      {{0, 150}, {0, 175}},      // leftward
      {{100, 300}, {100, 700}},  // no width: the full view height
      {{900, 150}, {100, 700}},  // beyond the view: the corner stays
      {{500, 601}, {100, 700}}, {{500, 600}, {500, 400}},
  };
  ViewPoint previous{100, 100};
  for (const auto& m : moves) {
    const MouseResponse r = tools.Move(m.mouse, true);
    const std::vector<RubberFigure> expected{{Kind::Rectangle, {100, 100}, previous},
                                             {Kind::Rectangle, {100, 100}, m.corner}};
    EXPECT_EQ(r.figures, expected) << m.mouse.x << "," << m.mouse.y;
    previous = m.corner;
  }
}

TEST_F(MouseToolsTest, WindowAreaZoomsOnRelease) {
  tools.ChooseTool(kToolWindowArea);
  tools.Press({100, 100});
  tools.Move({500, 200}, true);  // 400 of 800 wide: twice
  const MouseResponse r = tools.Release({500, 200}, page, {});
  EXPECT_TRUE(r.releaseCapture);
  EXPECT_FALSE(tools.Capturing());
  EXPECT_TRUE(r.figures.empty()) << "the zoom's repaint wipes the rectangle";
  EXPECT_EQ(nav.view.DrawExtentX, 1200);
  EXPECT_EQ(nav.view.DrawExtentY, 1600);
}

TEST_F(MouseToolsTest, ZeroWidthWindowAreaDoesNotZoom) {
  tools.ChooseTool(kToolWindowArea);
  tools.Press({100, 100});
  tools.Move({100, 300}, true);
  const ViewState before = nav.view;
  const MouseResponse r = tools.Release({100, 300}, page, {});
  EXPECT_EQ(nav.view.DrawExtentX, before.DrawExtentX);
  EXPECT_EQ(nav.view.xOrg, before.xOrg);
  EXPECT_EQ(nav.view.yOrg, before.yOrg);
  EXPECT_TRUE(r.releaseCapture);
  const std::vector<RubberFigure> removed{{Kind::Rectangle, {100, 100}, {100, 700}}};
  EXPECT_EQ(r.figures, removed);
}

TEST_F(MouseToolsTest, CancelModeDropsTheRubberRectangle) {
  tools.ChooseTool(kToolWindowArea);
  tools.Press({100, 100});
  tools.Move({300, 150}, true);
  const MouseResponse r = tools.CancelMode();
  EXPECT_TRUE(r.releaseCapture);
  const std::vector<RubberFigure> removed{{Kind::Rectangle, {100, 100}, {300, 250}}};
  EXPECT_EQ(r.figures, removed);
  tools.Release({300, 150}, page, {});
  EXPECT_EQ(nav.view.DrawExtentX, 600) << "a cancelled drag does not zoom";
}

TEST_F(MouseToolsTest, PointToolsAtTheRelease) {
  const struct {
    int tool;
    double extentX;
  } cases[] = {{kToolZoomIn, 1200}, {kToolZoomOut, 300}, {kToolWindowCenter, 600}};
  for (const auto& c : cases) {
    SetUp();
    nav.view.xOrg = nav.view.yOrg = 0;
    tools.ChooseTool(c.tool);
    Click({300, 200});
    EXPECT_EQ(nav.view.DrawExtentX, c.extentX) << c.tool;
    // Centred on (300, 200) first: the origin moved by (400 - 300, 300 - 200).
    if (c.tool == kToolWindowCenter) {
      EXPECT_EQ(nav.view.xOrg, 100);
      EXPECT_EQ(nav.view.yOrg, 100);
    }
  }
}

TEST_F(MouseToolsTest, WheelZoomsAboutThePointer) {
  nav.view.xOrg = -37;
  nav.view.yOrg = 12;
  const ViewPoint pointer{250, 410};
  const KpzPoint under = ViewToKpz(nav.view, nav.frame, pointer);
  tools.Wheel(120, pointer);
  EXPECT_EQ(nav.view.DrawExtentX, 1200);
  const KpzPoint after = ViewToKpz(nav.view, nav.frame, pointer);
  EXPECT_LE(std::abs(after.x - under.x), 1);
  EXPECT_LE(std::abs(after.y - under.y), 1);
  tools.Wheel(-120, pointer);
  EXPECT_EQ(nav.view.DrawExtentX, 600);
  EXPECT_EQ(nav.view.xOrg, -37);
  EXPECT_EQ(nav.view.yOrg, 12);
}

TEST_F(MouseToolsTest, WheelBeyondTheViewIsNotTaken) {
  EXPECT_FALSE(tools.Wheel(120, {100, 650}).taken);
  EXPECT_EQ(nav.view.DrawExtentX, 600);
}

TEST_F(MouseToolsTest, WheelStaysWithinTheExtentLimits) {
  nav.view.DrawExtentX = 20000;
  tools.Wheel(120, {100, 100});
  EXPECT_EQ(nav.view.DrawExtentX, 20000);
  EXPECT_EQ(nav.view.xOrg, 0);
}

TEST_F(MouseToolsTest, MeasuringPlacesPointsThroughTheViewMapping) {
  const MouseResponse on = tools.ToggleMeasure(MeasureMode::Distance);
  EXPECT_EQ(tools.ActiveTool(), kToolMeasure);
  EXPECT_EQ(on.cursor, CursorKind::Cross);
  EXPECT_FALSE(tools.ToggleMeasure(MeasureMode::Polygon).taken) << "the other mode is greyed";
  const MouseResponse first = Click({300, 200});
  EXPECT_TRUE(first.pointPlaced);
  Click({300, 400});
  const std::vector<KpzPoint> expected{ViewToKpz(nav.view, nav.frame, {300, 200}),
                                       ViewToKpz(nav.view, nav.frame, {300, 400})};
  EXPECT_EQ(tools.Measure().MeasurePoints(), expected);
  EXPECT_EQ(nav.view.DrawExtentX, 600) << "placing points does not navigate";
}

TEST_F(MouseToolsTest, MeasureToggleRules) {
  EXPECT_FALSE(tools.ToggleMeasure(MeasureMode::Off).taken);
  EXPECT_FALSE(tools.Measure().On());
  tools.ToggleMeasure(MeasureMode::Polygon);
  const MouseResponse off = tools.ToggleMeasure(MeasureMode::Polygon);
  EXPECT_FALSE(tools.Measure().On());
  EXPECT_EQ(tools.ActiveTool(), kToolPan);
  EXPECT_TRUE(off.removeMeasureFigure);
  tools.StartPlotToForm();
  EXPECT_FALSE(tools.ToggleMeasure(MeasureMode::Distance).taken);
  EXPECT_EQ(tools.ActiveTool(), kToolPlotToForm);
}

TEST_F(MouseToolsTest, RubberLineFollowsTheMouseWithinTheView) {
  tools.ToggleMeasure(MeasureMode::Distance);
  EXPECT_TRUE(tools.Move({50, 50}, false).figures.empty()) << "no point yet";
  Click({100, 100});
  const ViewPoint from = tools.MeasureFigure().back();
  EXPECT_EQ(tools.Move({200, 150}, false).figures,
            (std::vector<RubberFigure>{{Kind::Line, from, {200, 150}}}));
  EXPECT_EQ(
      tools.Move({900, 150}, false).figures,
      (std::vector<RubberFigure>{{Kind::Line, from, {200, 150}}, {Kind::Line, from, {200, 150}}}));
  EXPECT_EQ(
      tools.Move({250, 160}, false).figures,
      (std::vector<RubberFigure>{{Kind::Line, from, {200, 150}}, {Kind::Line, from, {250, 160}}}));
}

TEST_F(MouseToolsTest, DoubleClickResetsAndItsReleasePlacesNoPoint) {
  tools.ToggleMeasure(MeasureMode::Polygon);
  Click({100, 100});
  Click({200, 100});  // the first click of the double click
  const MouseResponse reset = tools.DoubleClick();
  EXPECT_TRUE(reset.removeMeasureFigure);
  EXPECT_EQ(*reset.status.prompt, "Enter First Point");
  EXPECT_FALSE(tools.Release({200, 100}, page, {}).pointPlaced);
  EXPECT_TRUE(tools.Measure().MeasurePoints().empty());
  Click({300, 300});
  EXPECT_EQ(tools.Measure().MeasurePoints().size(), 1u);
}

TEST_F(MouseToolsTest, ToolChosenWhileMeasuringWorksForOneClick) {
  tools.ToggleMeasure(MeasureMode::Distance);
  Click({100, 100});
  tools.ChooseTool(kToolZoomIn);
  const MouseResponse r = Click({400, 300});
  EXPECT_FALSE(r.pointPlaced);
  EXPECT_EQ(nav.view.DrawExtentX, 1200);
  EXPECT_EQ(tools.ActiveTool(), kToolMeasure);
  EXPECT_EQ(*r.status.mode, " Measure ");
  EXPECT_EQ(*r.status.prompt, " Enter Next Point");
  EXPECT_TRUE(Click({400, 300}).pointPlaced);
}

TEST_F(MouseToolsTest, WindowAreaWhileMeasuringReleasesAtTheNextMove) {
  tools.ToggleMeasure(MeasureMode::Distance);
  tools.ChooseTool(kToolWindowArea);
  tools.Press({100, 100});
  tools.Move({500, 200}, true);
  EXPECT_FALSE(tools.Release({500, 200}, page, {}).releaseCapture);
  EXPECT_EQ(nav.view.DrawExtentX, 1200);
  EXPECT_TRUE(tools.Move({510, 210}, false).releaseCapture) << "even with no point placed";
  EXPECT_FALSE(tools.Capturing());
}

TEST_F(MouseToolsTest, EscapeLeavesMeasuring) {
  tools.ToggleMeasure(MeasureMode::Polygon);
  const MouseResponse r = tools.Escape();
  EXPECT_FALSE(tools.Measure().On());
  EXPECT_EQ(tools.ActiveTool(), kToolPan);
  EXPECT_TRUE(r.removeMeasureFigure);
  EXPECT_EQ(*r.status.mode, " Pan");
  EXPECT_EQ(*r.status.result, " ");
  const MouseResponse keyUp = tools.Escape();
  EXPECT_FALSE(tools.Measure().On()) << "the key-up leaves it off";
  EXPECT_FALSE(keyUp.status.mode);
}

TEST_F(MouseToolsTest, EscapeLeavesPlotToFormOnlyBeforeTheDrag) {
  tools.StartPlotToForm();
  tools.Press({100, 100});
  EXPECT_EQ(tools.Escape().cursor, CursorKind::Unchanged);
  EXPECT_EQ(tools.ActiveTool(), kToolPlotToForm);
  tools.Move({150, 120}, true);
  tools.Move({700, 620}, true);
  EXPECT_EQ(tools.OutlinePosition(), (ViewPoint{150, 120})) << "beyond the view: not taken";
  const MouseResponse done = tools.Release({700, 620}, page, {});
  EXPECT_EQ(done.placeFormAt, (ViewPoint{150, 120}));
  EXPECT_TRUE(done.releaseCapture);
  EXPECT_EQ(tools.ActiveTool(), kToolPan);
  EXPECT_FALSE(tools.OutlinePosition());

  tools.StartPlotToForm();
  const MouseResponse esc = tools.Escape();
  EXPECT_EQ(tools.ActiveTool(), kToolPan);
  EXPECT_EQ(esc.cursor, CursorKind::ClosedHand);
  EXPECT_EQ(*esc.status.prompt, "Click and Drag");
}

TEST_F(MouseToolsTest, FitAndTurnsRedrawTheRubberLine) {
  tools.ToggleMeasure(MeasureMode::Distance);
  for (int command : {kCommandFit, kCommandRotateLeft, kCommandRotateRight}) {
    tools.AfterCommand(command);
    EXPECT_TRUE(tools.TakeRedrawRubberLine()) << command;
    EXPECT_FALSE(tools.TakeRedrawRubberLine()) << "taken by the paint";
  }
  tools.AfterCommand(58);
  EXPECT_FALSE(tools.TakeRedrawRubberLine());
}

}  // namespace
}  // namespace quillon
