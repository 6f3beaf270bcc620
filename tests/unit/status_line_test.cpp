#include "control/status_line.h"

#include <gtest/gtest.h>

#include <string>

namespace quillon {
namespace {

TEST(StatusLineTest, StartsWithThePanTexts) {
  const StatusLine line;
  EXPECT_EQ(line.StatusMode, " Pan");
  EXPECT_EQ(line.StatusPrompt, "Click and Drag");
  EXPECT_EQ(line.StatusResult, " ");
}

TEST(StatusLineTest, TextPadsTheThreeFieldsToTheirColumns) {
  const StatusLine line;
  const std::string text = line.Text();
  ASSERT_EQ(text.size(), 15u + 1 + 25 + 1 + 60);
  EXPECT_EQ(text.substr(0, 16), " Pan            ");
  EXPECT_EQ(text.substr(16, 26), "Click and Drag            ");
  EXPECT_EQ(text.substr(42), std::string(60, ' '));
}

TEST(StatusLineTest, LongPromptPushesTheResultRight) {
  StatusLine line;
  line.SetMode(" Plot To Form");
  line.SetPrompt("Click and Drag to Enter Area to be Plotted");
  line.SetResult("Double Click to Reset-Esc to Finish");
  const std::string text = line.Text();
  EXPECT_EQ(text.substr(0, 16), " Plot To Form   ");
  EXPECT_EQ(text.substr(16, 43), "Click and Drag to Enter Area to be Plotted ");
  EXPECT_EQ(text.substr(59, 35), "Double Click to Reset-Esc to Finish");
  EXPECT_EQ(text.size(), 59u + 60);
}

TEST(StatusLineTest, TextsAreCutToTheirFields) {
  StatusLine line;
  line.SetMode(std::string(40, 'm'));
  line.SetPrompt(std::string(80, 'p'));
  line.SetResult(std::string(200, 'r'));
  EXPECT_EQ(line.StatusMode, std::string(14, 'm'));
  EXPECT_EQ(line.StatusPrompt, std::string(44, 'p'));
  EXPECT_EQ(line.StatusResult, std::string(71, 'r'));
  EXPECT_EQ(line.Text(),
            std::string(14, 'm') + "  " + std::string(44, 'p') + " " + std::string(71, 'r'));
  // Texts that fit are kept whole.
  line.SetMode(std::string(14, 'x'));
  EXPECT_EQ(line.StatusMode, std::string(14, 'x'));
}

}  // namespace
}  // namespace quillon
