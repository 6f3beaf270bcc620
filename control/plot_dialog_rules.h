#pragma once
// The print dialog's scale rules: which scale button a dialog opens on, and the percentage
// that fits the page onto the form.

namespace quillon {

// The dialog's captions go by its mode.
enum class PlotDialogMode { Plot = 0, PlotView = 1, PlotToForm = 2, PlotSetup = 3 };

// The scale buttons and the percentage edit.
inline constexpr int kFitButton = 302;
inline constexpr int kTrueSizeButton = 303;
inline constexpr int kPercentageButton = 304;
inline constexpr int kPercentageEdit = 305;
inline constexpr int kCopiesEdit = 1154;
inline constexpr int kPropertiesButton = 306;

const char* PlotDialogCaption(PlotDialogMode mode);

struct ScaleChoice {
  int option = 1;  // the scale option the dialog starts with
  int button = kFitButton;
  bool fitEnabled = true;
  bool percentageEnabled = false;
};

// Placing the plot on the form has no fit: it starts at true size.
ScaleChoice PreselectScale(int savedOption, PlotDialogMode mode);

// The percentage at which the page just fits the form; 0 when either has no size.
double FitPercentage(double formWidthMetres, double formHeightMetres, double pageWidthMetres,
                     double pageHeightMetres);

// The help file's popup context of a scale button: one set for Plot, another for the other
// modes; 0 for any other control, which has no popup.
int PlotHelpContext(int controlId, PlotDialogMode mode);

}  // namespace quillon
