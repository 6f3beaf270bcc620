#include "document/kpz_values.h"

namespace quillon {

double KpzFixedToDouble(std::uint32_t v) {
  return static_cast<double>(v >> 16) + static_cast<double>(v & 0xFFFFu) / 65535.0;
}

float KpzFixedToFloat(std::uint32_t v) {
  // Separate float stores: on x87 builds an expression may otherwise keep extra precision.
  volatile float fraction = static_cast<float>(v & 0xFFFFu) * kKpzFixedStep;
  volatile float whole = static_cast<float>(v >> 16);
  volatile float sum = whole + fraction;
  return sum;
}

ColorRef KpzColourToColorRef(std::uint32_t v) {
  const std::uint32_t blue = v & 0xFFu;
  const std::uint32_t green = (v >> 8) & 0xFFu;
  const std::uint32_t red = (v >> 16) & 0xFFu;
  return red | (green << 8) | (blue << 16);
}

}  // namespace quillon
