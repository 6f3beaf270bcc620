#pragma once
// The three texts of the status bar strip, kept in fixed fields as the strip has always held
// them: a longer text is cut to the field.

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon {

class StatusLine {
 public:
  // Field sizes including the terminating zero.
  static constexpr std::size_t kModeBytes = 15;
  static constexpr std::size_t kPromptBytes = 45;
  static constexpr std::size_t kResultBytes = 72;

  void SetMode(std::string_view text) { StatusMode = Cut(text, kModeBytes); }
  void SetPrompt(std::string_view text) { StatusPrompt = Cut(text, kPromptBytes); }
  void SetResult(std::string_view text) { StatusResult = Cut(text, kResultBytes); }

  // "%-15s %-25s %-60s" of the three fields.
  std::string Text() const;

  std::string StatusMode = " Pan";
  std::string StatusPrompt = "Click and Drag";
  std::string StatusResult = " ";

 private:
  static std::string Cut(std::string_view text, std::size_t bytes) {
    return std::string(text.substr(0, bytes - 1));
  }
};

}  // namespace quillon
