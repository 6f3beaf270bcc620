#pragma once
// How a length on the paper, in metres, becomes the number the user reads: the ruler's
// model-to-paper ratio, the paper unit's factors and the model unit's name. The ruler units
// of the settings make one; the default shows metres with no unit.

#include <string_view>

namespace quillon {

struct MeasureScale {
  // Model length per paper length (ModelValue / PaperValue).
  double ratio = 1;
  // Paper units per metre and per square metre.
  double perMetre = 1;
  double perSquareMetre = 1;
  // The model unit's name ("ft"); empty for none.
  std::string_view unitName;
};

}  // namespace quillon
