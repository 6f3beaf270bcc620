#include "interact/wheel_steps.h"

#include <algorithm>

namespace quillon {

int WheelSteps::Add(int delta) {
  if ((delta > 0 && pending_ < 0) || (delta < 0 && pending_ > 0)) pending_ = 0;
  // The message carries a 16-bit rotation; held to that, the sum cannot overflow.
  delta = std::clamp(delta, -32768, 32767);
  pending_ += delta;
  const int steps = pending_ / kWheelNotch;
  pending_ -= steps * kWheelNotch;
  return steps;
}

}  // namespace quillon
