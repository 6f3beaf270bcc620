#include "interact/measurement.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/ruler_units.h"

namespace quillon {
namespace {

// One metre square of 1024 x 1024 dots: a dot is 2^-10 m, so lengths and areas are exact.
constexpr MeasurePage kBinaryPage{1.0, 1.0, 1024, 1024};

MeasureScale Millimetres() { return MeasureScaleOf({1, 4, 1.0, 1.0}); }

// Places the points in turn and answers the last result.
std::string PlaceAll(Measurement& m, const std::vector<KpzPoint>& points, const MeasurePage& page,
                     const MeasureScale& scale) {
  std::string result;
  for (const KpzPoint& p : points) result = *m.Place(p, page, scale).result;
  return result;
}

TEST(MeasurementTest, OneDotAtAnInchPerDotShowsOneInch) {
  Measurement m;
  m.SwitchOn(MeasureMode::Distance);
  const MeasurePage page{0.0254 * 1000, 1.0, 1000, 1000};
  const StatusTexts first = m.Place({10, 7}, page, MeasureScaleOf(RulerUnits{}));
  EXPECT_EQ(*first.result, "0.000 in   Double Click to Reset-Esc to Finish");
  EXPECT_EQ(*first.prompt, "  Enter Next Point");
  EXPECT_FALSE(first.mode);
  const StatusTexts second = m.Place({11, 7}, page, MeasureScaleOf(RulerUnits{}));
  EXPECT_EQ(*second.result, "1.000 in   Double Click to Reset-Esc to Finish");
}

TEST(MeasurementTest, Distances) {
  const struct {
    std::vector<KpzPoint> points;
    MeasurePage page;
    RulerUnits units;
    const char* text;
  } cases[] = {
      {{{0, 0}, {3, 4}}, kBinaryPage, {1, 4, 1, 1}, "4.882 mm"},  // 5/1024 m
      {{{0, 0}, {3, 4}, {3, 4}}, kBinaryPage, {1, 4, 1, 1}, "4.882 mm"},
      {{{0, 0}, {3, 4}, {6, 8}}, kBinaryPage, {1, 4, 1, 1}, "9.765 mm"},
      {{{0, 0}, {512, 0}}, {2.0, 1.0, 1024, 1024}, {1, 6, 1, 1}, "1000.000 m"},  // X is w
      {{{0, 0}, {0, 512}}, {2.0, 1.0, 1024, 1024}, {1, 6, 1, 1}, "500.000 m"},   // Y is h
      {{{0, 0}, {512, 0}}, kBinaryPage, {2, 5, 1, 1}, "50.000 cm"},
      {{{0, 0}, {512, 0}}, kBinaryPage, {2, 6, 1, 100}, "5000.000 m"},  // 1:100
      {{{0, 0}, {512, 0}}, kBinaryPage, {2, 6, 4, 1}, "12.500 m"},
      {{{0, 0}, {512, 0}}, kBinaryPage, {7, 9, 1, 1}, "0.500"},  // units off the lists
      {{{-2000000000, 0}, {2000000000, 0}}, {1.0, 1.0, 1000000000, 1}, {1, 6, 1, 1}, "4000.000 m"},
      {{{0, 0}, {3, 0}}, {1.0, 1.0, 0, 0}, {1, 6, 1, 1}, "3000.000 m"},  // no page: a dot a metre
  };
  for (const auto& c : cases) {
    Measurement m;
    m.SwitchOn(MeasureMode::Distance);
    EXPECT_EQ(PlaceAll(m, c.points, c.page, MeasureScaleOf(c.units)),
              std::string(c.text) + "   Double Click to Reset-Esc to Finish")
        << c.text;
  }
}

TEST(MeasurementTest, PolygonAreas) {
  const struct {
    std::vector<KpzPoint> points;
    const char* text;
    const char* what;
  } cases[] = {
      {{{0, 0}, {512, 0}}, "0.000 sq. mm", "two points"},
      {{{0, 0}, {512, 0}, {512, 512}}, "125000.000 sq. mm", "triangle"},
      {{{0, 0}, {512, 0}, {512, 512}, {0, 512}}, "250000.000 sq. mm", "square"},
      {{{0, 512}, {512, 512}, {512, 0}, {0, 0}}, "250000.000 sq. mm", "square the other way"},
      {{{0, 0}, {512, 0}, {512, 256}, {256, 256}, {256, 512}, {0, 512}},
       "187500.000 sq. mm",
       "L-shape"},
      {{{0, 0}, {256, 0}, {512, 0}, {512, 512}, {0, 512}}, "250000.000 sq. mm", "collinear edges"},
      {{{0, 0}, {10, 10}, {10, 0}, {0, 10}}, "Polygon Intersecting", "bow-tie"},
      {{{0, 0}, {10, 10}, {10, 0}, {0, 10}, {-5, 5}},
       "Polygon Intersecting",
       "a point after a crossing"},
  };
  for (const auto& c : cases) {
    Measurement m;
    m.SwitchOn(MeasureMode::Polygon);
    EXPECT_EQ(PlaceAll(m, c.points, kBinaryPage, Millimetres()),
              std::string(c.text) + "   Double Click to Reset-Esc to Finish")
        << c.what;
  }
}

TEST(MeasurementTest, AreaProductsAreExactAtTheEndsOfTheRange) {
  // A square 2^31 dots on a side: every product exceeds 32 bits.
  const int h = 1 << 30;
  const std::vector<KpzPoint> square{{-h, -h}, {h, -h}, {h, h}, {-h, h}};
  const MeasurePage page{1.0, 1.0, h, h};
  EXPECT_DOUBLE_EQ(MeasuredArea(square, page, MeasureScale{}), 4.0);
  EXPECT_DOUBLE_EQ(MeasuredArea(square, page, MeasureScaleOf({0, 0, 1, 1})), 4.0 * 1550.0031992064);
  EXPECT_DOUBLE_EQ(MeasuredArea(square, page, MeasureScaleOf({1, 0, 2, 1})), 4.0 * 1e6 / 4);
}

TEST(MeasurementTest, ModesAndTheirTexts) {
  Measurement m;
  const StatusTexts on = m.SwitchOn(MeasureMode::Polygon);
  EXPECT_TRUE(m.PolygonMode());
  EXPECT_EQ(*on.mode, " Polygon Area ");
  EXPECT_EQ(*on.prompt, "Enter First Point");
  EXPECT_EQ(*on.result, "Double Click to Reset-Esc to Finish");
  m.Place({1, 2}, kBinaryPage, Millimetres());
  m.Place({3, 4}, kBinaryPage, Millimetres());

  const StatusTexts reset = m.Reset();
  EXPECT_TRUE(m.MeasurePoints().empty());
  EXPECT_TRUE(m.PolygonMode());
  EXPECT_EQ(*reset.mode, " Polygon Area ");
  EXPECT_EQ(*reset.prompt, "Enter First Point");
  EXPECT_EQ(*reset.result, " ");

  m.Place({5, 6}, kBinaryPage, Millimetres());
  const StatusTexts off = m.SwitchOff();
  EXPECT_FALSE(m.On());
  EXPECT_EQ(*off.mode, " Pan");
  EXPECT_EQ(*off.prompt, "Click and Drag");
  EXPECT_EQ(*off.result, " ");
  EXPECT_EQ(m.MeasurePoints(), (std::vector<KpzPoint>{{5, 6}})) << "kept until the next start";

  EXPECT_EQ(*m.SwitchOn(MeasureMode::Distance).mode, " Measure ");
  EXPECT_TRUE(m.MeasurePoints().empty());
  const StatusTexts resume = m.Resume();
  EXPECT_EQ(*resume.mode, " Measure ");
  EXPECT_EQ(*resume.prompt, " Enter Next Point");
  EXPECT_FALSE(resume.result);
}

}  // namespace
}  // namespace quillon
