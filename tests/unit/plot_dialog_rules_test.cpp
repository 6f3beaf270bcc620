// The print dialog's opening scale button and its fit percentage.

#include "control/plot_dialog_rules.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(PlotDialogRulesTest, OpeningScaleButtonFollowsTheSavedOptionAndTheMode) {
  using M = PlotDialogMode;
  struct Case {
    int saved;
    M mode;
    int option, button;
    bool fitEnabled, percentageEnabled;
  };
  const Case cases[] = {
      {0, M::Plot, 1, kFitButton, true, false},
      {0, M::PlotToForm, 2, kTrueSizeButton, false, false},
      {-1, M::Plot, -1, kFitButton, true, false},
      {1, M::PlotView, 1, kFitButton, true, false},
      {2, M::PlotSetup, 2, kTrueSizeButton, true, false},
      {4, M::Plot, 4, kPercentageButton, true, true},
      // On the form there is no fit: a saved fit becomes true size.
      {1, M::PlotToForm, 2, kTrueSizeButton, false, false},
      {-1, M::PlotToForm, 2, kTrueSizeButton, false, false},
      {4, M::PlotToForm, 4, kPercentageButton, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "saved " << c.saved << " mode " << int(c.mode));
    const ScaleChoice s = PreselectScale(c.saved, c.mode);
    EXPECT_EQ(s.option, c.option);
    EXPECT_EQ(s.button, c.button);
    EXPECT_EQ(s.fitEnabled, c.fitEnabled);
    EXPECT_EQ(s.percentageEnabled, c.percentageEnabled);
  }
  EXPECT_STREQ(PlotDialogCaption(M::PlotToForm), "Plot To Form");
  EXPECT_STREQ(PlotDialogCaption(M::PlotSetup), "Plot Setup");
}

TEST(PlotDialogRulesTest, FitPercentageIsTheSmallerRatioOfFormToPage) {
  EXPECT_DOUBLE_EQ(FitPercentage(0.2, 0.28, 0.4, 0.3), 50);  // width limits
  EXPECT_DOUBLE_EQ(FitPercentage(0.8, 0.15, 0.4, 0.3), 50);  // height limits
  EXPECT_DOUBLE_EQ(FitPercentage(0.19, 0.25, 0.2, 0.1), 95);
  EXPECT_EQ(FitPercentage(0.2, 0.28, 0, 0.3), 0);  // a page without size
  EXPECT_EQ(FitPercentage(0, 0, 0.4, 0.3), 0);     // a form not measured yet
}

TEST(PlotDialogRulesTest, OnlyTheScaleButtonsHaveHelpPopupsPerMode) {
  EXPECT_EQ(PlotHelpContext(kFitButton, PlotDialogMode::Plot), 0x5012E);
  EXPECT_EQ(PlotHelpContext(kPercentageButton, PlotDialogMode::Plot), 0x50130);
  EXPECT_EQ(PlotHelpContext(kTrueSizeButton, PlotDialogMode::PlotToForm), 0x5032F);
  EXPECT_EQ(PlotHelpContext(kFitButton, PlotDialogMode::PlotSetup), 0x5032E);
  EXPECT_EQ(PlotHelpContext(kPercentageEdit, PlotDialogMode::Plot), 0);
  EXPECT_EQ(PlotHelpContext(kPropertiesButton, PlotDialogMode::PlotView), 0);
}

}  // namespace
}  // namespace quillon
