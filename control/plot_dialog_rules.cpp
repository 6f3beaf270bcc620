#include "control/plot_dialog_rules.h"

#include <algorithm>
#include <cmath>

namespace quillon {

const char* PlotDialogCaption(PlotDialogMode mode) {
  switch (mode) {
    case PlotDialogMode::Plot:
      return "Plot";
    case PlotDialogMode::PlotView:
      return "Plot View";
    case PlotDialogMode::PlotToForm:
      return "Plot To Form";
    case PlotDialogMode::PlotSetup:
      return "Plot Setup";
  }
  return "Plot";
}

ScaleChoice PreselectScale(int savedOption, PlotDialogMode mode) {
  const bool onForm = mode == PlotDialogMode::PlotToForm;
  ScaleChoice choice;
  choice.fitEnabled = !onForm;
  if (savedOption == 0) {
    choice.option = onForm ? 2 : 1;
    choice.button = onForm ? kTrueSizeButton : kFitButton;
    return choice;
  }
  choice.option = savedOption;
  if (onForm && choice.option == 1) choice.option = 2;
  if (choice.option == 4) {
    choice.button = kPercentageButton;
    choice.percentageEnabled = true;
  } else if (choice.option == 2) {
    choice.button = kTrueSizeButton;
  } else if (choice.option == 1 || !onForm) {
    choice.button = kFitButton;
  } else {
    choice.option = 2;
    choice.button = kTrueSizeButton;
  }
  return choice;
}

double FitPercentage(double formWidthMetres, double formHeightMetres, double pageWidthMetres,
                     double pageHeightMetres) {
  if (!(pageWidthMetres > 0) || !(pageHeightMetres > 0)) return 0;
  const double fit =
      std::min(formWidthMetres / pageWidthMetres, formHeightMetres / pageHeightMetres) * 100;
  return std::isfinite(fit) && fit > 0 ? fit : 0;
}

int PlotHelpContext(int controlId, PlotDialogMode mode) {
  if (controlId != kFitButton && controlId != kTrueSizeButton && controlId != kPercentageButton)
    return 0;
  return 0x50000 + controlId + (mode == PlotDialogMode::Plot ? 0 : 0x200);
}

}  // namespace quillon
