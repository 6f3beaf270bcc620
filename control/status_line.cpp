#include "control/status_line.h"

#include <cstdio>

namespace quillon {

std::string StatusLine::Text() const {
  char text[kModeBytes + kPromptBytes + kResultBytes + 64];
  std::snprintf(text, sizeof text, "%-15s %-25s %-60s", StatusMode.c_str(), StatusPrompt.c_str(),
                StatusResult.c_str());
  return text;
}

}  // namespace quillon
