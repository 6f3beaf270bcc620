#include "control/win32/plot_dialog.h"

#include <commdlg.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "control/win32/module.h"
#include "settings/win32/help.h"

namespace quillon {

namespace {

constexpr const char* kStateProperty = "QuillonPlotDialog";
constexpr int kTemplate = 1538;
constexpr int kPrinterCombo = 1139;
constexpr int kCommonPropertiesButton = 1025;  // psh2

struct HookContext {
  PlotDialogState* state;
  PRINTDLGA* dialog;
};

HookContext* ContextOf(HWND window) {
  return static_cast<HookContext*>(::GetPropA(window, kStateProperty));
}

void ShowPercentage(HWND window, double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%lf", value);
  ::SetDlgItemTextA(window, kPercentageEdit, text);
}

double EditValue(HWND window, int id) {
  char text[64] = {};
  ::GetDlgItemTextA(window, id, text, sizeof text);
  return std::atof(text);
}

// The printable area of the form of a DEVMODE, from an information context.
FormSize FormOf(const char* device, const DEVMODEA* mode) {
  FormSize form;
  HDC ic = ::CreateICA(nullptr, device, nullptr, mode);
  if (ic == nullptr) return form;
  form.widthPixels = ::GetDeviceCaps(ic, HORZRES);
  form.heightPixels = ::GetDeviceCaps(ic, VERTRES);
  const int dpiX = ::GetDeviceCaps(ic, LOGPIXELSX), dpiY = ::GetDeviceCaps(ic, LOGPIXELSY);
  if (dpiX > 0) form.widthMetres = static_cast<double>(form.widthPixels) / dpiX * 0.0254;
  if (dpiY > 0) form.heightMetres = static_cast<double>(form.heightPixels) / dpiY * 0.0254;
  ::DeleteDC(ic);
  return form;
}

double FitOf(const PlotDialogState& s) {
  return FitPercentage(s.form.widthMetres, s.form.heightMetres, s.pageWidthMetres,
                       s.pageHeightMetres);
}

// The copies typed into the dialog go into its DEVMODE.
void TakeCopies(HWND window, PRINTDLGA& dialog) {
  const UINT copies = ::GetDlgItemInt(window, kCopiesEdit, nullptr, FALSE);
  if (copies == 0 || copies > 0xFFFF) return;
  dialog.nCopies = static_cast<WORD>(copies);
  if (dialog.hDevMode == nullptr || ::GlobalSize(dialog.hDevMode) < sizeof(DEVMODEA)) return;
  if (auto* mode = static_cast<DEVMODEA*>(::GlobalLock(dialog.hDevMode))) {
    mode->dmCopies = static_cast<short>(copies);
    mode->dmFields |= DM_COPIES;
    ::GlobalUnlock(dialog.hDevMode);
  }
}

// The form of the printer now shown, when it changed: the fit percentage with it.
void FollowForm(HWND window, PlotDialogState& s, HGLOBAL devMode) {
  // A block too small for a DEVMODE is not read.
  if (devMode == nullptr || ::GlobalSize(devMode) < sizeof(DEVMODEA)) return;
  auto* mode = static_cast<DEVMODEA*>(::GlobalLock(devMode));
  if (mode == nullptr) return;
  const std::string device(reinterpret_cast<const char*>(mode->dmDeviceName),
                           strnlen(reinterpret_cast<const char*>(mode->dmDeviceName), 32));
  const std::string form(reinterpret_cast<const char*>(mode->dmFormName),
                         strnlen(reinterpret_cast<const char*>(mode->dmFormName), 32));
  if (form != s.shownFormName || s.form.widthPixels == 0) {
    s.form = FormOf(device.c_str(), mode);
    s.shownFormName = form;
    ::SetDlgItemTextA(window, kFitButton, "&Fit to form");
    if (!::IsWindowEnabled(::GetDlgItem(window, kPercentageEdit))) {
      s.scalePercentage = FitOf(s);
      ShowPercentage(window, s.scalePercentage);
    }
  }
  ::GlobalUnlock(devMode);
}

// Another printer chosen in the list: the dialog keeps its own DEVMODE until OK, so the new
// printer's paper is read from that printer's default DEVMODE.
void ShowPrinterDefaults(HWND window, PlotDialogState& s, const std::string& printer) {
  char* name = const_cast<char*>(printer.c_str());
  const LONG size = ::DocumentPropertiesA(window, nullptr, name, nullptr, nullptr, 0);
  if (size < static_cast<LONG>(sizeof(DEVMODEA))) return;  // a printer without a set-up
  std::vector<BYTE> working(static_cast<std::size_t>(size));
  auto* mode = reinterpret_cast<DEVMODEA*>(working.data());
  if (::DocumentPropertiesA(window, nullptr, name, mode, nullptr, DM_OUT_BUFFER) < 0) return;
  s.shownPrinterName = printer;
  s.shownFormName.assign(reinterpret_cast<const char*>(mode->dmFormName),
                         strnlen(reinterpret_cast<const char*>(mode->dmFormName), CCHFORMNAME));
  ::SetDlgItemTextA(window, kFitButton, "&Fit to form");
  s.form = FormOf(printer.c_str(), mode);
  s.scalePercentage = FitOf(s);
  ShowPercentage(window, s.scalePercentage);
}

void InitDialog(HWND window, HookContext& context) {
  PlotDialogState& s = *context.state;
  ::SetWindowTextA(window, PlotDialogCaption(s.mode));
  char printer[64] = {};
  ::GetDlgItemTextA(window, kPrinterCombo, printer, 51);
  s.shownPrinterName = printer;
  s.shownFormName.clear();
  s.form = {};
  ::SetDlgItemTextA(window, kFitButton, "&Fit to form");
  FollowForm(window, s, context.dialog->hDevMode);
  s.scalePercentage = s.savedScalePercentage != 0 ? s.savedScalePercentage : FitOf(s);
  ShowPercentage(window, s.scalePercentage);
  const ScaleChoice choice = PreselectScale(s.savedScaleOption, s.mode);
  s.scaleOption = choice.option;
  ::EnableWindow(::GetDlgItem(window, kFitButton), choice.fitEnabled);
  ::EnableWindow(::GetDlgItem(window, kPercentageEdit), choice.percentageEnabled);
  ::CheckRadioButton(window, kFitButton, kPercentageButton, choice.button);
}

// Answers TRUE when the hook handled the command and the dialog must not.
BOOL Command(HWND window, HookContext& context, int id, int code) {
  PlotDialogState& s = *context.state;
  switch (id) {
    case IDOK: {
      const double percentage = EditValue(window, kPercentageEdit);
      if (percentage < 0) {
        ::MessageBoxA(window, "Cannot Accept Negative Values", "Error", MB_OK);
        HWND edit = ::GetDlgItem(window, kPercentageEdit);
        ::SetFocus(edit);
        ::SendMessageA(edit, EM_SETSEL, 0, -1);
        ::SetWindowLongPtrA(window, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      TakeCopies(window, *context.dialog);
      s.scalePercentage = percentage;
      return FALSE;
    }
    case IDCANCEL:
      s.scaleOption = 0;
      return FALSE;
    case kFitButton:
    case kTrueSizeButton:
    case kPercentageButton:
      s.scaleOption = id == kFitButton ? 1 : id == kTrueSizeButton ? 2 : 4;
      ::EnableWindow(::GetDlgItem(window, kPercentageEdit), id == kPercentageButton);
      return FALSE;
    case kPercentageEdit:
      if (code == EN_KILLFOCUS) {
        const double value = EditValue(window, kPercentageEdit);
        if (value > 0) s.scalePercentage = value;
        ShowPercentage(window, s.scalePercentage);
      }
      return FALSE;
    case kCopiesEdit:
      if (code == EN_KILLFOCUS) TakeCopies(window, *context.dialog);
      return FALSE;
    case kPropertiesButton:
      // The template's button stands in for the common dialog's own, which shows the driver's
      // property sheet; its form is followed on WM_ENABLE when the sheet closes.
      ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(kCommonPropertiesButton, code),
                     reinterpret_cast<LPARAM>(::GetDlgItem(window, kPropertiesButton)));
      return TRUE;
    case kPrinterCombo: {
      char printer[64] = {};
      ::GetDlgItemTextA(window, kPrinterCombo, printer, 51);
      if (s.shownPrinterName != printer) ShowPrinterDefaults(window, s, printer);
      return FALSE;
    }
    default:
      return FALSE;
  }
}

UINT_PTR CALLBACK PlotDialogHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* dialog = reinterpret_cast<PRINTDLGA*>(lParam);
    auto* context = dialog != nullptr ? reinterpret_cast<HookContext*>(dialog->lCustData) : nullptr;
    if (context == nullptr) return FALSE;
    ::SetPropA(window, kStateProperty, context);
    InitDialog(window, *context);
    return TRUE;
  }
  HookContext* context = ContextOf(window);
  if (context == nullptr) return FALSE;
  switch (message) {
    case WM_COMMAND:
      return Command(window, *context, LOWORD(wParam), HIWORD(wParam));
    case WM_ENABLE:
      // Back from the printer's properties, or another printer chosen: its form may differ.
      if (wParam) FollowForm(window, *context->state, context->dialog->hDevMode);
      return FALSE;
    case WM_HELP: {
      const auto* help = reinterpret_cast<const HELPINFO*>(lParam);
      const int popup = help != nullptr && help->iContextType == HELPINFO_WINDOW
                            ? PlotHelpContext(help->iCtrlId, context->state->mode)
                            : 0;
      if (popup == 0) return FALSE;
      ShowHelpPopup(ModuleHandle(), static_cast<HWND>(help->hItemHandle), popup);
      return TRUE;
    }
    case WM_DESTROY:
      ::RemovePropA(window, kStateProperty);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

bool ShowPlotDialog(HWND owner, PrinterSetup& printer, PlotDialogState& state) {
  PRINTDLGA dialog{};
  HookContext context{&state, &dialog};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.hDevMode = printer.ReleaseDevMode();
  dialog.hDevNames = printer.ReleaseDevNames();
  dialog.nCopies = 1;
  dialog.lCustData = reinterpret_cast<LPARAM>(&context);
  dialog.lpfnPrintHook = PlotDialogHook;
  dialog.hInstance = ModuleHandle();
  dialog.lpPrintTemplateName = MAKEINTRESOURCEA(kTemplate);
  dialog.Flags = PD_NOPAGENUMS | PD_COLLATE | PD_RETURNDC | PD_ENABLEPRINTHOOK |
                 PD_ENABLEPRINTTEMPLATE | PD_USEDEVMODECOPIESANDCOLLATE | PD_HIDEPRINTTOFILE;
  state.scaleOption = -1;
  const bool ok = ::PrintDlgA(&dialog) != FALSE;
  if (!ok) {
    ::CommDlgExtendedError();
    state.scaleOption = 0;
  }
  // Whatever the dialog answered is the control's again; a DC only after OK.
  printer.Adopt(dialog.hDevMode, dialog.hDevNames, ok ? dialog.hDC : nullptr);
  return ok && state.scaleOption != 0 && printer.dc() != nullptr;
}

}  // namespace quillon
