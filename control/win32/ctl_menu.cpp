// QuillonCtl: the right-click menu and its commands, the status strip's switch among them.

#include <windowsx.h>

#include <string>
#include <vector>

#include "control/win32/context_menu.h"
#include "control/win32/cursors.h"
#include "control/win32/module.h"
#include "control/win32/quillon_ctl.h"
#include "interact/status_strip.h"

namespace quillon {

MenuState QuillonCtl::CurrentMenuState() const {
  return {mouse_->ActiveTool(), mouse_->Measure().Mode(), statusBarVisible_};
}

void QuillonCtl::OnContextMenu(HWND window, LPARAM lParam) {
  if (!loaded_) return;
  POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  // From the keyboard (Shift+F10, the menu key) the message has no position: the menu opens
  // at the control's top-left corner rather than the screen's.
  if (at.x == -1 && at.y == -1) {
    at = {0, 0};
    ::ClientToScreen(window, &at);
  }
  const ViewState viewAtOpen = nav_.view;
  SetToolCursor(CursorKind::Arrow);
  const std::vector<MenuEntry> entries = ContextMenuEntries(CurrentMenuState());
  const UniqueMenu menu = BuildPopupMenu(entries);
  if (!menu) return;
  const int command = static_cast<int>(
      ::TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON,
                       at.x, at.y, 0, window, nullptr));
  if (command != 0) RunMenuCommand(command, viewAtOpen);
}

bool QuillonCtl::RunMenuCommand(int command, const ViewState& viewAtOpen) {
  switch (command) {
    case kToolPan:
    case kToolZoomIn:
    case kToolZoomOut:
    case kToolWindowArea:
    case kToolWindowCenter:
      RunTools([command](MouseTools& tools) { return tools.ChooseTool(command); });
      return true;
    case kCommandFit:
      Fit();
      break;
    case kCommandRotateLeft:
      RotateLeft();
      break;
    case kCommandRotateRight:
      RotateRight();
      break;
    case kCommandMeasureDistance:
      OnMeasureCommand(MeasureMode::Distance);
      break;
    case kCommandMeasurePolygon:
      OnMeasureCommand(MeasureMode::Polygon);
      break;
    case kCommandStatusBar:
      OnStatusBarCommand();
      break;
    case kCommandPlot:
      OnPlotCommand(0);
      break;
    case kCommandPlotView:
      OnPlotCommand(1);
      break;
    case kCommandPlotSetup:
      OnPlotSetupCommand();
      break;
    case kCommandPlotToForm:
      OnPlotToFormCommand();
      break;
    case kCommandCopy:
      OnCopyCommand();
      break;
    case kCommandConfigureRuler:
      OnConfigureRulerCommand();
      break;
    case kCommandPreferences:
      OnPreferencesCommand(viewAtOpen);
      break;
    case kCommandHelp:
      OnHelpCommand();
      break;
    case kCommandAbout:
      OnAboutCommand();
      break;
    default:
      return false;
  }
  mouse_->AfterCommand(command);
  return true;
}

void QuillonCtl::OnMeasureCommand(MeasureMode mode) {
  const bool switchingOn = !mouse_->Measure().On() && mouse_->ActiveTool() != kToolPlotToForm;
  if (switchingOn && !statusBarVisible_) {
    // Measuring shows its results in the strip: it shows a hidden one while it lasts.
    ShowStatusBar(true);
    statusBarForced_ = true;
    InvalidateView();
    UpdateView();
    nav_.view.ViewScale = FittedScale(nav_.view, nav_.frame);
  }
  RunTools([mode](MouseTools& tools) { return tools.ToggleMeasure(mode); });
  HideForcedStatusBar();
}

void QuillonCtl::HideForcedStatusBar() {
  if (mouse_->Measure().On() || !statusBarForced_) return;
  statusBarForced_ = false;
  ShowStatusBar(false);
  ResetZoom();
  UpdateView();
  InvalidateView();
}

void QuillonCtl::ShowStatusBar(bool show) {
  statusBarVisible_ = show;
  ShowStatusStrip(nav_.view, nav_.frame, show, fullBufferHeight_);
  context_->SetLoadViewSize(nav_.frame.ViewWidth, nav_.frame.ViewHeight);
  viewChangePending_ = true;
}

void QuillonCtl::OnStatusBarCommand() {
  // The strip belongs to measuring while a mode is on (the menu greys the entry then).
  if (mouse_->Measure().On()) return;
  ShowStatusBar(!statusBarVisible_);
  InvalidateView();
}

// ---- Commands that do what the control's interface does.

void QuillonCtl::OnPlotCommand(LONG plotView) { Plot(plotView); }

void QuillonCtl::OnPlotSetupCommand() { PlotSetup(); }

void QuillonCtl::OnPlotToFormCommand() { ArmPlotToForm(); }

void QuillonCtl::OnPlacementStep(ViewPoint at) { PlaceFormAndPlot(at); }

void QuillonCtl::OnCopyCommand() { Copy(); }

void QuillonCtl::OnConfigureRulerCommand() { ConfigureRuler(); }

void QuillonCtl::OnPreferencesCommand(const ViewState& viewAtOpen) {
  EditPreferences();
  // The view comes back as it was when the menu opened.
  put_ViewScale(viewAtOpen.ViewScale);
  put_xOrg(viewAtOpen.xOrg);
  put_yOrg(viewAtOpen.yOrg);
  put_Rot(viewAtOpen.Rot);
}

void QuillonCtl::OnHelpCommand() { OpenHelp(); }

void QuillonCtl::OnAboutCommand() { ShowAbout(); }

}  // namespace quillon
