#pragma once
// The control's print dialog: the system's print dialog on the control's own template, with
// the plot's scale (fit, true size, a percentage) and the copies.

#include <windows.h>

#include <string>

#include "control/plot_dialog_rules.h"
#include "control/win32/printer_setup.h"

namespace quillon {

// What the dialog reads and gives back besides the printer set-up.
struct PlotDialogState {
  PlotDialogMode mode = PlotDialogMode::Plot;
  double pageWidthMetres = 0, pageHeightMetres = 0;
  // In: the saved choice; out after OK: the choice made (scaleOption 0 when cancelled).
  int savedScaleOption = 0;
  double savedScalePercentage = 0;
  int scaleOption = -1;
  double scalePercentage = 100;
  // Working values of the dialog.
  FormSize form;
  std::string shownPrinterName, shownFormName;
};

// True after OK: the printer set-up then holds the chosen printer's DEVMODE, DEVNAMES and DC.
bool ShowPlotDialog(HWND owner, PrinterSetup& printer, PlotDialogState& state);

}  // namespace quillon
