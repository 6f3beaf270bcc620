#include "interact/status_strip.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(StatusStripTest, ShowingTakesTheStripFromTheExtentThatRunsDown) {
  for (int rot : {0, 90, 180, 270}) {
    SCOPED_TRACE(rot);
    ViewState view;
    view.Rot = rot;
    view.DrawExtentX = 640;
    view.DrawExtentY = 480;
    view.ViewScale = 3.5;
    ViewFrame frame;
    frame.ViewWidth = 640;
    frame.BufferHeight = 480;
    frame.ViewHeight = 480;

    ShowStatusStrip(view, frame, true, 480);
    const bool sideways = rot == 90 || rot == 270;
    EXPECT_EQ(view.DrawExtentX, sideways ? 623 : 640);
    EXPECT_EQ(view.DrawExtentY, sideways ? 480 : 463);
    EXPECT_EQ(frame.BufferHeight, 463);
    EXPECT_EQ(frame.ViewHeight, 463);
    EXPECT_EQ(view.ViewScale, 0) << "the next paint fits again";

    ShowStatusStrip(view, frame, false, 480);
    EXPECT_EQ(view.DrawExtentX, 640);
    EXPECT_EQ(view.DrawExtentY, 480);
    EXPECT_EQ(frame.BufferHeight, 480);
    EXPECT_EQ(frame.ViewHeight, 480);
  }
}

TEST(StatusStripTest, HidingAfterARotationGivesTheHeightBackToTheExtentDownTheScreenNow) {
  // Shown at Rot 0, hidden at Rot 90: the strip's height goes to X, which now runs down.
  ViewState view;
  view.Rot = 0;
  view.DrawExtentX = 640;
  view.DrawExtentY = 480;
  ViewFrame frame;
  frame.BufferHeight = 480;
  ShowStatusStrip(view, frame, true, 480);
  view.Rot = 90;
  ShowStatusStrip(view, frame, false, 480);
  EXPECT_EQ(view.DrawExtentX, 657);
  EXPECT_EQ(view.DrawExtentY, 463);
  EXPECT_EQ(frame.BufferHeight, 480);
}

}  // namespace
}  // namespace quillon
