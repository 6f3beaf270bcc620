#include "interact/wheel_steps.h"

#include <gtest/gtest.h>

#include <vector>

namespace quillon {
namespace {

TEST(WheelStepsTest, NotchesAccumulate) {
  const struct {
    std::vector<int> deltas;
    std::vector<int> steps;
  } cases[] = {
      {{120, 120, -120}, {1, 1, -1}},
      {{360}, {3}},
      {{40, 40, 40, 40}, {0, 0, 1, 0}},
      {{-30, -30, -30, -30, -30}, {0, 0, 0, -1, 0}},
      {{100, -20, 20}, {0, 0, 0}},  // the turn back drops the 100
      {{60, -120, 60, 60}, {0, -1, 0, 1}},
      {{130, 110}, {1, 1}},                    // the 10 left over counts
      {{2000000000, 2000000000}, {273, 273}},  // held to the message's 16 bits
  };
  for (const auto& c : cases) {
    WheelSteps wheel;
    std::vector<int> steps;
    for (int d : c.deltas) steps.push_back(wheel.Add(d));
    EXPECT_EQ(steps, c.steps);
  }
}

}  // namespace
}  // namespace quillon
