#pragma once
// Mouse wheel rotation in whole notches. A notch is 120 units; high-resolution wheels send
// smaller amounts, which add up until they make one.

namespace quillon {

inline constexpr int kWheelNotch = 120;

class WheelSteps {
 public:
  // Adds one message's rotation and answers the whole notches now complete: positive away
  // from the user. A turn the other way drops what was left of the previous direction.
  int Add(int delta);

 private:
  int pending_ = 0;
};

}  // namespace quillon
