#include "render/line_pens.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "render/fill_brush.h"
#include "tests/unit/interpreter_fixture.h"

namespace quillon::test {
namespace {

std::vector<double> Dashes(int count) {
  std::vector<double> lengths;
  for (int i = 0; i < count; ++i) lengths.push_back(i + 1);
  return lengths;
}

std::string DashList(int count) {
  std::string list;
  for (int i = 0; i < count; ++i) list += (i ? "," : "") + std::to_string(i + 1);
  return list;
}

TEST(PenCodesTest, MixJoinCapAndWidth) {
  EXPECT_EQ(MixModeFor(4), gdi::kMixMaskPen);
  EXPECT_EQ(MixModeFor(0), gdi::kMixCopyPen);
  EXPECT_EQ(MixModeFor(9), gdi::kMixCopyPen);
  EXPECT_EQ(JoinBitsFor(2), gdi::kPenJoinMiter);
  EXPECT_EQ(JoinBitsFor(4), gdi::kPenJoinBevel);
  EXPECT_EQ(JoinBitsFor(3), gdi::kPenJoinRound);
  EXPECT_EQ(JoinBitsFor(0), gdi::kPenJoinRound);
  EXPECT_EQ(EndCapBitsFor(0), gdi::kPenEndCapFlat);
  EXPECT_EQ(EndCapBitsFor(1), gdi::kPenEndCapSquare);
  EXPECT_EQ(EndCapBitsFor(3), gdi::kPenEndCapRound);
  EXPECT_EQ(EndCapBitsFor(200), gdi::kPenEndCapRound);
  EXPECT_EQ(PenWidthFor(0.6), 0u);
  EXPECT_EQ(PenWidthFor(2.99), 2u);
  EXPECT_EQ(PenWidthFor(65536.0), 65536u);
}

class LinePenTest : public InterpreterTest {
 protected:
  // One page: the given records, then a polyline that needs the line pen.
  void DrawLine(KpzBuilder& b, bool print = false) {
    b.Polyline({{0, 0}, {10, 0}}).EndPage();
    Open(b);
    if (print)
      DrawPrint();
    else
      DrawScreen();
  }
  std::vector<std::string> Pens() const { return dev.LinesStartingWith("ExtCreatePen"); }
};

TEST_F(LinePenTest, RoundCapAndJoinFromCodeThreeAndTruncatedWidth) {
  KpzBuilder b;
  b.BeginPage().LineCap(3).LineJoin(3).LineWidth(0.6).LineColour(KpzBuilder::Rgb(1, 2, 3));
  DrawLine(b);
  ASSERT_EQ(Pens().size(), 1u);
  EXPECT_EQ(Pens()[0], "ExtCreatePen style=0x10000 width=0 colour=0x030201 dashes=[] -> pen#1");
  EXPECT_TRUE(st->line.valid);
  EXPECT_EQ(st->line.pen, dev.selectedPen());
}

TEST_F(LinePenTest, BuiltInStylesCapsAndJoins) {
  KpzBuilder b;
  b.BeginPage().LineStyle(1).LineCap(0).LineJoin(2).LineWidth(3.7);
  DrawLine(b);
  ASSERT_EQ(Pens().size(), 1u);
  EXPECT_EQ(Pens()[0].rfind("ExtCreatePen style=0x12201 width=3 ", 0), 0u);

  KpzBuilder c;
  c.BeginPage().LineStyle(5).LineCap(1).LineJoin(4);
  dev.Clear();
  DrawLine(c);
  ASSERT_EQ(Pens().size(), 1u);
  EXPECT_EQ(Pens()[0].rfind("ExtCreatePen style=0x11108 ", 0), 0u);  // 8: the alternate style
}

TEST_F(LinePenTest, MixModeFourMasks) {
  KpzBuilder b;
  b.BeginPage().LineModeColour(4, 0);
  DrawLine(b);
  EXPECT_EQ(dev.LinesStartingWith("SetROP2"), std::vector<std::string>{"SetROP2 9"});
}

TEST_F(LinePenTest, UserStyleLengthsTruncatedToWholeDots) {
  KpzBuilder b;
  const std::uint16_t style = b.AddLineStyle({4.9, 2.5, 0.4, 7});
  EXPECT_EQ(style, 6);
  b.BeginPage().LineStyle(style);
  DrawLine(b);
  ASSERT_EQ(Pens().size(), 1u);
  EXPECT_EQ(
      Pens()[0].rfind("ExtCreatePen style=0x11007 width=1 colour=0x000000 dashes=[4,2,0,7]", 0),
      0u);
}

TEST_F(LinePenTest, FourteenDashesKeptWholeOnScreen) {
  KpzBuilder b;
  b.BeginPage().LineStyle(b.AddLineStyle(Dashes(14)));
  DrawLine(b);
  ASSERT_EQ(Pens().size(), 1u);
  EXPECT_NE(Pens()[0].find("dashes=[" + DashList(14) + "]"), std::string::npos);
  EXPECT_EQ(dev.Count("QueryEscapeSupport"), 0u);
}

TEST_F(LinePenTest, FourteenDashesCutToElevenOnPostScriptPrinter) {
  KpzBuilder b;
  b.BeginPage().LineStyle(b.AddLineStyle(Dashes(14)));
  dev.SetPostScript(true);
  DrawLine(b, true);
  ASSERT_EQ(Pens().size(), 1u);
  EXPECT_NE(Pens()[0].find("dashes=[" + DashList(11) + "]"), std::string::npos);
}

TEST_F(LinePenTest, FourteenDashesKeptWholeOnOtherPrinter) {
  KpzBuilder b;
  b.BeginPage().LineStyle(b.AddLineStyle(Dashes(14)));
  dev.SetPostScript(false);
  DrawLine(b, true);
  ASSERT_EQ(Pens().size(), 1u);
  EXPECT_NE(Pens()[0].find("dashes=[" + DashList(14) + "]"), std::string::npos);
  EXPECT_EQ(dev.Count("QueryEscapeSupport 4115 -> 0"), 1u);
}

TEST_F(LinePenTest, TwentyDashesCutToSixteen) {
  KpzBuilder b;
  b.BeginPage().LineStyle(b.AddLineStyle(Dashes(20)));
  DrawLine(b);
  ASSERT_EQ(Pens().size(), 1u);
  EXPECT_NE(Pens()[0].find("dashes=[" + DashList(16) + "]"), std::string::npos);
}

TEST_F(LinePenTest, StyleBeyondTheTableIsSolid) {
  KpzBuilder b;
  b.AddLineStyle({4, 2});
  b.BeginPage().LineStyle(7);  // entry 1 of a table of 1
  DrawLine(b);
  ASSERT_EQ(Pens().size(), 1u);
  EXPECT_EQ(Pens()[0].rfind("ExtCreatePen style=0x11000 width=1 colour=0x000000 dashes=[]", 0), 0u);
}

TEST_F(LinePenTest, UserStyleWithoutTableIsSolid) {
  KpzBuilder b;
  b.BeginPage().LineStyle(6);
  DrawLine(b);
  ASSERT_EQ(Pens().size(), 1u);
  EXPECT_EQ(Pens()[0].rfind("ExtCreatePen style=0x11000 ", 0), 0u);
}

TEST_F(LinePenTest, RunOfPrimitivesSharesOnePen) {
  KpzBuilder b;
  b.BeginPage()
      .Polyline({{0, 0}, {1, 1}})
      .ShortPolyline({{2, 2}, {3, 3}})
      .Bezier({{0, 0}, {1, 1}, {2, 2}, {3, 3}})
      .PenTouch()
      .LineColour(KpzBuilder::Rgb(255, 0, 0))
      .Polyline({{4, 4}, {5, 5}});
  DrawLine(b);
  ASSERT_EQ(Pens().size(), 2u);  // once at first use, once after the colour record
  EXPECT_NE(Pens()[1].find("colour=0x0000FF"), std::string::npos);
  EXPECT_EQ(dev.Count("DeleteObject pen#1"), 1u);  // the first pen goes when replaced
  EXPECT_EQ(dev.Count("DeleteObject stock"), 0u);  // the DC's own pen is left alone
}

TEST_F(LinePenTest, EitherPenClearsTheOtherAndTheBrush) {
  KpzBuilder b;
  b.BeginPage();
  DrawLine(b);
  st->outline.valid = st->fill.valid = true;
  st->line.valid = false;
  ASSERT_TRUE(CreateLinePen(ctx, *st, 0));
  EXPECT_TRUE(st->line.valid);
  EXPECT_FALSE(st->outline.valid);
  EXPECT_FALSE(st->fill.valid);

  st->fill.valid = true;
  ASSERT_TRUE(CreateOutlinePen(ctx, *st, 0));
  EXPECT_TRUE(st->outline.valid);
  EXPECT_FALSE(st->line.valid);
  EXPECT_FALSE(st->fill.valid);
}

TEST_F(LinePenTest, FailedCreationKeepsOldPenAndTriesAgain) {
  KpzBuilder b;
  b.BeginPage().Polyline({{0, 0}, {1, 1}}).LineWidth(2).Polyline({{2, 2}, {3, 3}});
  b.EndPage();
  Open(b);
  DrawScreen();
  const ObjectId pen = dev.selectedPen();
  ASSERT_NE(pen, kNoObject);

  st->line.valid = false;
  st->outline.valid = st->fill.valid = true;
  dev.SetFailCreations(true);
  EXPECT_FALSE(CreateLinePen(ctx, *st, 0));
  EXPECT_FALSE(st->line.valid);
  EXPECT_TRUE(st->outline.valid);  // nothing changed hands
  EXPECT_TRUE(st->fill.valid);
  EXPECT_EQ(dev.selectedPen(), pen);
  EXPECT_EQ(st->line.pen, pen);
  EXPECT_FALSE(CreateOutlinePen(ctx, *st, 0));
  EXPECT_EQ(dev.selectedPen(), pen);
  EXPECT_EQ(dev.Count("DeleteObject"), 1u);  // only the first drawing's replaced pen

  dev.SetFailCreations(false);
  EXPECT_TRUE(CreateLinePen(ctx, *st, 0));
  EXPECT_NE(dev.selectedPen(), pen);
}

TEST_F(LinePenTest, OutlinePenRoundEndsOwnFieldsAndUnlimitedDashes) {
  KpzBuilder b;
  const std::uint16_t style = b.AddLineStyle(Dashes(20));
  b.BeginPage()
      .OutlineStyle(style)
      .OutlineJoin(2)
      .OutlineWidth(4.5)
      .OutlineModeColour(4, KpzBuilder::Rgb(9, 8, 7))
      .LineCap(0);
  b.EndPage();
  Open(b);
  dev.SetPostScript(true);
  DrawPrint();
  st->target = &dev;  // as during a print draw
  st->printing = true;
  dev.Clear();
  ASSERT_TRUE(CreateOutlinePen(ctx, *st, 0));
  EXPECT_EQ(dev.lines()[0], "SetROP2 9");
  ASSERT_EQ(Pens().size(), 1u);
  EXPECT_EQ(
      Pens()[0].rfind(
          "ExtCreatePen style=0x12007 width=4 colour=0x070809 dashes=[" + DashList(20) + "]", 0),
      0u);
  EXPECT_EQ(st->outline.pen, dev.selectedPen());
}

TEST_F(LinePenTest, PensNeverLeakOrGetDeletedTwice) {
  KpzBuilder b;
  b.BeginPage().Polyline({{0, 0}, {1, 1}});
  DrawLine(b);
  ASSERT_TRUE(CreateOutlinePen(ctx, *st, 0));  // replaces and deletes the line pen
  EXPECT_EQ(st->line.pen, kNoObject);
  ASSERT_TRUE(CreateLinePen(ctx, *st, 0));  // and back
  EXPECT_EQ(st->outline.pen, kNoObject);
  ASSERT_TRUE(SelectFillBrush(ctx, *st, 0));
  EXPECT_EQ(dev.liveObjects(), 2u);  // the selected pen and brush
  ctx.CloseDocument(&dev);
  EXPECT_EQ(dev.liveObjects(), 0u);
  for (const auto& line : dev.LinesStartingWith("DeleteObject"))
    EXPECT_EQ(line.find("(failed)"), std::string::npos) << line;
}

class Windows9xPenTest : public LinePenTest {
 protected:
  void SetUp() override { ctx.SetPlatformFlavour(PlatformFlavour::Windows9x); }
};

TEST_F(Windows9xPenTest, UserStyleDrawnSolidThroughTheStepper) {
  KpzBuilder b;
  b.BeginPage().LineStyle(b.AddLineStyle({4, 2})).LineWidth(2.5);
  DrawLine(b);
  EXPECT_EQ(dev.Count("ExtCreatePen"), 0u);
  EXPECT_EQ(dev.Count("Polyline"), 0u);
  EXPECT_EQ(dev.LinesStartingWith("CreatePen"),
            std::vector<std::string>{"CreatePen style=0x0 width=2 colour=0x000000 -> pen#1"});
  const auto& lines = dev.lines();
  auto at = std::find(lines.begin(), lines.end(), "SelectObject pen#1 -> stock#7");
  ASSERT_NE(at, lines.end());
  EXPECT_EQ(std::vector<std::string>(at + 1, lines.end()),
            (std::vector<std::string>{"MoveTo 0 0", "LineTo 4 0", "MoveTo 6 0", "LineTo 10 0"}));
  EXPECT_TRUE(st->line.valid);
  EXPECT_EQ(ctx.dashStepper().elementIndex(), 1u);
}

TEST_F(Windows9xPenTest, ValidPenDrawsFollowingPolylinesThroughTheStepper) {
  KpzBuilder b;
  b.BeginPage()
      .LineStyle(b.AddLineStyle({4, 2}))
      .Polyline({{0, 0}, {3, 0}})
      .ShortPolyline({{0, 10}, {3, 10}, {3, 15}});
  DrawLine(b);
  EXPECT_EQ(dev.Count("CreatePen"), 1u);
  EXPECT_EQ(dev.LinesStartingWith("MoveTo").size() + dev.LinesStartingWith("LineTo").size(),
            2u + 5u + 4u);
  const auto& lines = dev.lines();
  auto at = std::find(lines.begin(), lines.end(), "MoveTo 0 10");
  ASSERT_NE(at, lines.end());
  // The pattern starts again at each polyline and runs on around its corner.
  EXPECT_EQ(std::vector<std::string>(at, at + 5),
            (std::vector<std::string>{"MoveTo 0 10", "LineTo 3 10", "LineTo 3 11", "MoveTo 3 13",
                                      "LineTo 3 15"}));
}

TEST_F(Windows9xPenTest, BuiltInStylesDrawSolid) {
  KpzBuilder b;
  b.BeginPage().LineStyle(2);
  DrawLine(b);
  EXPECT_EQ(dev.Count("CreatePen style=0x0 "), 1u);
  EXPECT_EQ(dev.Count("MoveTo 0 0"), 1u);
  EXPECT_EQ(dev.Count("LineTo 10 0"), 1u);
  EXPECT_EQ(dev.Count("LineTo"), 1u);
}

TEST_F(Windows9xPenTest, RecordsWithoutPointsForThePenUseTheExtendedPen) {
  KpzBuilder b;
  b.BeginPage().LineStyle(b.AddLineStyle({4, 2})).Bezier({{0, 0}, {1, 1}, {2, 2}, {3, 3}});
  DrawLine(b);
  ASSERT_EQ(Pens().size(), 1u);
  EXPECT_NE(Pens()[0].find("dashes=[4,2]"), std::string::npos);
  EXPECT_EQ(dev.Count("PolyBezier 4"), 1u);
  EXPECT_EQ(dev.Count("CreatePen"), 0u);  // the polyline after it found the pen valid
}

TEST_F(Windows9xPenTest, FailedPlainPenDrawsNothingAndStaysInvalid) {
  KpzBuilder b;
  b.BeginPage();
  dev.SetFailCreations(true);
  DrawLine(b);
  EXPECT_FALSE(st->line.valid);
  EXPECT_EQ(dev.Count("MoveTo"), 0u);
  EXPECT_EQ(dev.selectedPen(), dev.GetStockObject(gdi::kStockBlackPen));
}

TEST_F(Windows9xPenTest, EmptyPolylineWithValidPenDrawsNothing) {
  KpzBuilder b;
  b.BeginPage().Polyline({{0, 0}, {1, 0}}).ShortPolyline({});
  DrawLine(b);
  EXPECT_EQ(dev.Count("MoveTo"), 2u);  // the first and the last polyline only
}

}  // namespace
}  // namespace quillon::test
