#include "render/dash_stepper.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "render/trace_device.h"

namespace quillon::test {
namespace {

// The walk one dot at a time, exactly as described for the stepper; the stepper must make
// the same calls however it gets there.
class DotByDotStepper {
 public:
  DotByDotStepper(Device& dc, std::vector<std::int32_t> lengths)
      : dc_(dc), lengths_(std::move(lengths)) {}
  void MoveTo(std::int32_t x, std::int32_t y) {
    index_ = 0;
    remaining_ = lengths_[0];
    x_ = x;
    y_ = y;
    dc_.MoveTo(x, y);
  }
  void LineTo(std::int32_t x, std::int32_t y) {
    const std::int64_t dx = std::int64_t{x} - x_, dy = std::int64_t{y} - y_;
    const std::int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    const bool majorX = adx >= ady;
    const std::int64_t major = majorX ? adx : ady, minor = majorX ? ady : adx;
    const int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
    std::int64_t error = major;
    for (std::int64_t step = 0; step < major; ++step) {
      error -= minor;
      if (error <= 0) {
        (majorX ? y_ : x_) += majorX ? sy : sx;
        error += major;
      }
      (majorX ? x_ : y_) += majorX ? sx : sy;
      if (--remaining_ == 0) {
        index_ = (index_ + 1) % lengths_.size();
        remaining_ = lengths_[index_];
        if (index_ % 2 == 1)
          dc_.LineTo(x_, y_);
        else
          dc_.MoveTo(x_, y_);
        if (step == major - 1) return;
      }
    }
    if (index_ % 2 == 0) dc_.LineTo(x_, y_);
  }
  std::size_t index() const { return index_; }

 private:
  Device& dc_;
  std::vector<std::int32_t> lengths_;
  std::size_t index_ = 0;
  std::int64_t remaining_ = 0;
  std::int32_t x_ = 0, y_ = 0;
};

class DashStepperTest : public ::testing::Test {
 protected:
  void Pattern(std::vector<std::int32_t> lengths) {
    stepper.SetPattern(lengths);
    stepper.SetDc(&dev);
  }
  TraceDevice dev;
  DashStepper stepper;
};

TEST_F(DashStepperTest, DashFourGapTwoAlongTenDots) {
  Pattern({4, 2});
  stepper.MoveTo(0, 0);
  stepper.LineTo(10, 0);
  EXPECT_EQ(dev.lines(),
            (std::vector<std::string>{"MoveTo 0 0", "LineTo 4 0", "MoveTo 6 0", "LineTo 10 0"}));
  EXPECT_EQ(stepper.elementIndex(), 1u);  // the walk ends inside the gap
  EXPECT_EQ(stepper.remaining(), 2);
  EXPECT_EQ(stepper.position(), (DevicePoint{10, 0}));
}

TEST_F(DashStepperTest, WithoutPatternLinesAreSolid) {
  Pattern({});
  stepper.MoveTo(1, 2);
  stepper.LineTo(50, -7);
  stepper.LineTo(3, 3);
  EXPECT_EQ(dev.lines(), (std::vector<std::string>{"MoveTo 1 2", "LineTo 50 -7", "LineTo 3 3"}));
}

TEST_F(DashStepperTest, PhaseRunsOnAroundCorners) {
  Pattern({4, 2});
  stepper.MoveTo(0, 0);
  stepper.LineTo(3, 0);  // three dots into the first dash
  stepper.LineTo(3, 5);  // one more dot of dash, two of gap, then dash again
  EXPECT_EQ(dev.lines(), (std::vector<std::string>{"MoveTo 0 0", "LineTo 3 0", "LineTo 3 1",
                                                   "MoveTo 3 3", "LineTo 3 5"}));
  EXPECT_EQ(stepper.elementIndex(), 0u);
  EXPECT_EQ(stepper.remaining(), 2);
}

TEST_F(DashStepperTest, MoveToAndSetPatternRestartThePattern) {
  Pattern({4, 2});
  stepper.MoveTo(0, 0);
  stepper.LineTo(5, 0);
  EXPECT_EQ(stepper.elementIndex(), 1u);
  stepper.MoveTo(0, 10);
  EXPECT_EQ(stepper.elementIndex(), 0u);
  EXPECT_EQ(stepper.remaining(), 4);
  stepper.LineTo(5, 10);
  stepper.SetPattern(std::vector<std::int32_t>{7, 1});
  EXPECT_EQ(stepper.elementIndex(), 0u);
  EXPECT_EQ(stepper.remaining(), 7);
}

TEST_F(DashStepperTest, SteepAndDiagonalLinesFollowBresenham) {
  Pattern({3, 1});
  stepper.MoveTo(0, 0);
  stepper.LineTo(2, -8);  // y is the major axis; x moves when the error term reaches 0
  stepper.LineTo(6, -4);  // equal axes: x is the major axis
  EXPECT_EQ(dev.lines(),
            (std::vector<std::string>{"MoveTo 0 0", "LineTo 0 -3", "MoveTo 1 -4", "LineTo 1 -7",
                                      "MoveTo 2 -8", "LineTo 5 -5", "MoveTo 6 -4"}));
}

TEST_F(DashStepperTest, SameCallsAsTheDotByDotWalk) {
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> coordinate(-60, 60), length(1, 9), count(1, 5);
  for (int trial = 0; trial < 300; ++trial) {
    std::vector<std::int32_t> lengths(static_cast<std::size_t>(count(random)));
    for (auto& l : lengths) l = length(random);
    TraceDevice expected;
    DotByDotStepper reference(expected, lengths);
    dev.Clear();
    Pattern(lengths);
    const int x0 = coordinate(random), y0 = coordinate(random);
    reference.MoveTo(x0, y0);
    stepper.MoveTo(x0, y0);
    for (int segment = 0; segment < 4; ++segment) {
      const int x = coordinate(random), y = coordinate(random);
      reference.LineTo(x, y);
      stepper.LineTo(x, y);
    }
    ASSERT_EQ(dev.lines(), expected.lines()) << "trial " << trial;
    ASSERT_EQ(stepper.elementIndex(), reference.index());
  }
}

TEST_F(DashStepperTest, LineAcrossTheWholeCoordinateRangeEndsQuickly) {
  constexpr std::int32_t lo = std::numeric_limits<std::int32_t>::min();
  constexpr std::int32_t hi = std::numeric_limits<std::int32_t>::max();
  Pattern({65536, 65536});
  const auto start = std::chrono::steady_clock::now();
  stepper.MoveTo(lo, lo);
  stepper.LineTo(hi, lo + 7);
  const auto spent = std::chrono::steady_clock::now() - start;
  EXPECT_LT(spent, std::chrono::seconds(5));
  EXPECT_EQ(dev.Count("MoveTo"), 32768u);  // 2^32 - 1 dots: one dash start every 2^17
  EXPECT_EQ(stepper.position(), (DevicePoint{hi, lo + 7}));
}

TEST_F(DashStepperTest, ZeroLengthElementRunsToTheEndWithoutHanging) {
  Pattern({0, 0});
  stepper.MoveTo(0, 0);
  stepper.LineTo(1000000, 3);
  stepper.LineTo(0, 0);
  EXPECT_EQ(dev.lines(),
            (std::vector<std::string>{"MoveTo 0 0", "LineTo 1000000 3", "LineTo 0 0"}));
}

TEST_F(DashStepperTest, ZeroLengthSegmentInsideDashDrawsThePoint) {
  Pattern({4, 2});
  stepper.MoveTo(5, 5);
  stepper.LineTo(5, 5);
  EXPECT_EQ(dev.lines(), (std::vector<std::string>{"MoveTo 5 5", "LineTo 5 5"}));
}

TEST_F(DashStepperTest, DrawPolylineRestartsThePatternOnTheGivenDevice) {
  using Lines = std::vector<std::string>;
  struct Case {
    const char* name;
    std::vector<std::int32_t> pattern;
    std::vector<DevicePoint> points;
    Lines drawn;
    std::size_t elementIndex;  // after the walk
  };
  const Case cases[] = {
      {"around a corner",
       {4, 2},
       {{0, 0}, {3, 0}, {3, 5}},
       {"MoveTo 0 0", "LineTo 3 0", "LineTo 3 1", "MoveTo 3 3", "LineTo 3 5"},
       0},
      {"one point", {4, 2}, {{5, 5}}, {"MoveTo 5 5"}, 0},
      {"solid", {}, {{1, 2}, {50, -7}, {3, 3}}, {"MoveTo 1 2", "LineTo 50 -7", "LineTo 3 3"}, 0},
      // Nothing drawn, and the phase of the walk before stays for the next line.
      {"no points", {4, 2}, {}, {}, 1},
  };
  for (const auto& c : cases) {
    TraceDevice before;
    stepper.SetPattern(c.pattern);
    stepper.SetDc(&before);
    stepper.MoveTo(0, 10);
    stepper.LineTo(5, 10);  // into the gap of a 4, 2 pattern
    dev.Clear();
    stepper.DrawPolyline(dev, c.points);
    EXPECT_EQ(dev.lines(), c.drawn) << c.name;
    EXPECT_EQ(before.lines().size(), 2u) << c.name;  // the walk before draws nothing more
    EXPECT_EQ(stepper.elementIndex(), c.elementIndex) << c.name;
  }
}

TEST_F(DashStepperTest, WithoutDeviceOnlyTheStateMoves) {
  DashStepper alone;
  alone.SetPattern(std::vector<std::int32_t>{4, 2});
  alone.MoveTo(0, 0);
  alone.LineTo(10, 0);
  EXPECT_EQ(alone.elementIndex(), 1u);
  EXPECT_EQ(alone.position(), (DevicePoint{10, 0}));
}

}  // namespace
}  // namespace quillon::test
