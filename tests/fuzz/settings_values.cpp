// The settings' number values from arbitrary text, as the registry hands them to a document
// load: every reader keeps within its range whatever the text. Also the writer's side: the
// first eight bytes as a double are written as text and read back to ten significant digits.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "control/control_settings.h"
#include "interact/view_state.h"
#include "settings/value_text.h"
#include "tests/fuzz/fuzz_bytes.h"
#include "tests/support/memory_settings_store.h"

namespace {

void CheckReaders(const std::string& text) {
  quillon::MemoryStore store;
  for (const char* name : {"ScaleFactor", "StatusBar", "Rotation"}) store.values[name] = text;
  const auto factor = quillon::ReadScaleFactor(store);
  if (factor && !(*factor >= 1 && *factor <= 2)) std::abort();
  quillon::ReadStatusBar(store);
  if (!quillon::IsQuarterTurn(quillon::ReadRotation(store))) std::abort();
}

void CheckWrittenText(double value) {
  const std::string text = quillon::ValueText(value);
  if (text.empty() || text.size() > 24) std::abort();
  const double back = quillon::ValueFromText(text);
  if (std::isnan(value)) {
    if (!std::isnan(back)) std::abort();
  } else if (std::isinf(value) || value == 0) {
    if (back != value) std::abort();
  } else if (std::isinf(back)) {
    // Ten digits round the largest doubles up past the largest double: such a text reads back
    // as an infinity of the same sign. (Only zoom steps 1..2 and 0 or 1 are ever written.)
    if (std::signbit(back) != std::signbit(value) || std::fabs(value) < 1.797693134e308) std::abort();
  } else if (!(std::fabs(back - value) <= std::fabs(value) * 1e-9)) {
    // Ten digits also hold the smallest denormals to within their own spacing.
    if (std::fabs(value) > 1e-300) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CheckReaders(std::string(reinterpret_cast<const char*>(data), size));
  quillon::fuzz::FuzzBytes in(data, size);
  if (size >= 8) CheckWrittenText(in.Double());
  return 0;
}
