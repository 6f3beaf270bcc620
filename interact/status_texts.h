#pragma once
// Texts for the three fields of the status strip that an input changed; a field left empty
// keeps what it shows.

#include <optional>
#include <string>
#include <string_view>

namespace quillon {

struct StatusTexts {
  std::optional<std::string> mode;
  std::optional<std::string> prompt;
  std::optional<std::string> result;
};

inline constexpr std::string_view kPanModeText = " Pan";
inline constexpr std::string_view kPanPromptText = "Click and Drag";
// The result field when there is nothing to show.
inline constexpr std::string_view kNoResultText = " ";

}  // namespace quillon
