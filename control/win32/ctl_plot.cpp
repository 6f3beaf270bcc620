// QuillonCtl: printing. Plot and PlotWithForm print through the held printer set-up (the print
// dialog, or silently the held or default printer), and the printer properties edit it.

#include "control/win32/com_guard.h"
#include "control/win32/module.h"
#include "control/win32/plot_dialog.h"
#include "control/win32/quillon_ctl.h"
#include "interact/form_outline.h"
#include "render/win32/gdi_device.h"

namespace quillon {

namespace {

BSTR AnsiToBstr(const std::string& text) {
  const int n =
      ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
  BSTR out = ::SysAllocStringLen(nullptr, static_cast<UINT>(n > 0 ? n : 0));
  if (out != nullptr && n > 0) {
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), out, n);
  }
  return out;
}

std::string BstrToAnsi(BSTR text) {
  if (text == nullptr) return {};
  const int length = static_cast<int>(::SysStringLen(text));
  const int n = ::WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) ::WideCharToMultiByte(CP_ACP, 0, text, length, out.data(), n, nullptr, nullptr);
  return out;
}

INT_PTR CALLBACK ConfirmPlacement(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    ::EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

FormOutlineRects RectsOf(const FormOutline& o) {
  return {{o.page.top, o.page.left, o.page.bottom, o.page.right},
          {o.printable.top, o.printable.left, o.printable.bottom, o.printable.right}};
}

FormOutline OutlineOf(const FormOutlineRects& r) {
  return {RECT{r.page.left, r.page.top, r.page.right, r.page.bottom},
          RECT{r.printable.left, r.printable.top, r.printable.right, r.printable.bottom}};
}

}  // namespace

void QuillonCtl::ArmPlotToForm() {
  RunTools([](MouseTools& tools) { return tools.StartPlotToForm(); });
  formOutline_ = {};
  if (!AcquireForPlot(PlotDialogMode::PlotToForm, plotSilent_ == 0)) {
    RunTools([](MouseTools& tools) { return tools.ChooseTool(kToolPan); });
    return;
  }
  MeasureFormOutline();
}

void QuillonCtl::MeasureFormOutline() {
  HDC dc = printer_.dc();
  const auto measure = context_->pageMeasure();
  const auto settings = context_->printSettings();
  if (dc == nullptr || !measure || !settings) return;
  POINT size{}, offset{};
  // The physical sheet and where its printable part starts, in printer pixels.
  if (::Escape(dc, GETPHYSPAGESIZE, 0, nullptr, &size) <= 0) {
    size = {::GetDeviceCaps(dc, PHYSICALWIDTH), ::GetDeviceCaps(dc, PHYSICALHEIGHT)};
  }
  if (::Escape(dc, GETPRINTINGOFFSET, 0, nullptr, &offset) <= 0) {
    offset = {::GetDeviceCaps(dc, PHYSICALOFFSETX), ::GetDeviceCaps(dc, PHYSICALOFFSETY)};
  }
  const PrinterSheet sheet{size.x, size.y, offset.x, offset.y, ::GetDeviceCaps(dc, LOGPIXELSX)};
  const double percentage =
      settings->scaleOption == ScaleOption::Percentage ? settings->scalePercent : 100;
  auto outline = [&] {
    return ComputeFormOutline(sheet, measure->resolution, nav_.view, nav_.frame.KpzXSize,
                              nav_.frame.KpzYSize, percentage);
  };
  FormOutlineRects rects = outline();
  // A sheet larger than the window: the view zooms out until it fits.
  if (const double v = OutlineZoomOut(rects, nav_.view, nav_.frame); v > 0) {
    quillon::ScaleIt(nav_, *this, v);
    nav_.view.ViewScale = FittedScale(nav_.view, nav_.frame);
    rects = outline();
  }
  formOutline_ = OutlineOf(rects);
}

void QuillonCtl::PlaceFormAndPlot(ViewPoint at) {
  const INT_PTR answer = ::DialogBoxParamA(ModuleHandle(), MAKEINTRESOURCEA(108),
                                           ::GetActiveWindow(), ConfirmPlacement, 0);
  // Cancelled: the printer DC waits for the next job; the tools are back on Pan.
  if (answer != IDOK) return;
  HDC dc = printer_.dc();
  const KpzDocument* document = context_->document();
  if (dc == nullptr || document == nullptr) return;
  const FormPlacement placement = PlaceOnForm(
      RectsOf(formOutline_), at, nav_.view, nav_.frame.KpzXSize, nav_.frame.KpzYSize,
      document->header.pageWidth, document->header.pageHeight, ::GetDeviceCaps(dc, LOGPIXELSX));
  if (PrintJobNow({placement.width, placement.height, placement.originX, placement.originY,
                   PlotType::Form})) {
    journal_.RecordPlotToForm(PrinterForJournal(), placement.originX, placement.originY);
  }
}

bool QuillonCtl::AcquireForPlot(PlotDialogMode mode, bool dialog) {
  auto settings = context_->printSettings();
  const KpzDocument* document = context_->document();
  if (!settings || document == nullptr) return false;
  bool ok = false;
  if (!dialog) {
    ok = printer_.Acquire();
  } else {
    PlotDialogState state;
    state.mode = mode;
    state.pageWidthMetres = document->header.pageWidth;
    state.pageHeightMetres = document->header.pageHeight;
    state.savedScaleOption = savedScaleOption_;
    state.savedScalePercentage = savedScalePercentage_;
    ok = ShowPlotDialog(window_, printer_, state);
    if (ok) {
      // The choice made is the next dialog's start.
      savedScaleOption_ = state.scaleOption;
      savedScalePercentage_ = state.scalePercentage;
      settings->scaleOption = static_cast<ScaleOption>(state.scaleOption);
      settings->scalePercent = state.scalePercentage;
    }
  }
  if (!ok) {
    // Cancelled, or no printer: no plot.
    settings->scaleOption = ScaleOption::None;
  } else if (settings->scaleOption == ScaleOption::None) {
    settings->scaleOption = ScaleOption::Fit;
  }
  // A set-up whose paper the printer no longer lists prints on the printer's default paper
  // (a silent Plot To Form checks nothing: its outline was measured on the held DC).
  if (ok && (dialog || mode != PlotDialogMode::PlotToForm)) printer_.CheckFormOnPrinter();
  context_->SetPrintSettings(*settings);
  return ok;
}

JournalPrinter QuillonCtl::PrinterForJournal() const {
  JournalPrinter printer;
  printer.orientation = printer_.Orientation().value_or(1);
  printer.scaleOption = savedScaleOption_;
  printer.printerName = printer_.DeviceName().value_or("");
  printer.formName = printer_.FormName().value_or("");
  return printer;
}

bool QuillonCtl::PrintJobNow(const PrintJob& job) {
  printer_.ApplyToDc();
  HDC dc = printer_.TakeDc();
  if (dc == nullptr) return false;
  bool released = false;
  // The job ends by deleting the DC; a job that never started leaves it to us.
  context_->SetPrintDeviceRelease([dc, &released](Device&) {
    ::DeleteDC(dc);
    released = true;
  });
  {
    GdiDevice device(dc);
    PrintJob turned = job;
    turned.rotation = nav_.view.Rot;
    context_->DrawPrint(device, turned, AnsiDataFileName());
  }
  context_->SetPrintDeviceRelease(nullptr);
  if (!released) ::DeleteDC(dc);
  return true;
}

STDMETHODIMP QuillonCtl::Plot(LONG plotView) {
  return Guarded([&] {
    if (!loaded_ || context_->document() == nullptr) return NotLoaded();
    if (!AcquireForPlot(plotView == 1 ? PlotDialogMode::PlotView : PlotDialogMode::Plot,
                        plotSilent_ == 0)) {
      return S_OK;
    }
    const ViewFrame& frame = nav_.frame;
    const ViewState& view = nav_.view;
    const bool currentView = plotView == 1;
    journal_.RecordPlotStart(currentView);
    const PrintJob job =
        currentView ? PrintJob{view.DrawExtentX, view.DrawExtentY, view.xOrg, view.yOrg,
                               PlotType::CurrentView}
                    : PrintJob{frame.ViewWidth, frame.ViewHeight, 0, 0, PlotType::WholePage};
    if (PrintJobNow(job)) {
      InvalidateView();
      journal_.RecordPlotDone(nav_.view, nav_.frame, PrinterForJournal());
    }
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::PlotWithForm(double xOrg, double yOrg) {
  return Guarded([&] {
    if (!loaded_ || context_->document() == nullptr) return NotLoaded();
    if (!AcquireForPlot(PlotDialogMode::PlotView, plotSilent_ == 0)) return S_OK;
    const ViewState& view = nav_.view;
    PrintJobNow({view.DrawExtentX, view.DrawExtentY, xOrg, yOrg, PlotType::Form});
    return S_OK;
  });
}

void QuillonCtl::PlotSetup() {
  if (!loaded_ || context_->document() == nullptr) return;
  // The dialog settles printer and scale for later plots; its DC waits for the next one.
  printer_.DropDc();
  if (!AcquireForPlot(PlotDialogMode::PlotSetup, true)) return;
  journal_.RecordPlotSetup(PrinterForJournal());
}

STDMETHODIMP QuillonCtl::get_PrinterName(BSTR* value) {
  return Guarded([&] {
    if (value == nullptr) return E_POINTER;
    *value = nullptr;
    if (!loaded_) return NotLoaded();
    if (const auto name = printer_.DeviceName()) *value = AnsiToBstr(*name);
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::put_PrinterName(BSTR value) {
  return Guarded([&] {
    if (!loaded_) return NotLoaded();
    printer_.SetDeviceName(BstrToAnsi(value));
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::get_FormName(BSTR* value) {
  return Guarded([&] {
    if (value == nullptr) return E_POINTER;
    *value = nullptr;
    if (!loaded_) return NotLoaded();
    if (const auto name = printer_.FormName()) *value = AnsiToBstr(*name);
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::put_FormName(BSTR value) {
  return Guarded([&] {
    if (!loaded_) return NotLoaded();
    printer_.SetFormName(BstrToAnsi(value));
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::get_Portrait_Landscape(short* value) {
  return Guarded([&] {
    if (value == nullptr) return E_POINTER;
    if (!loaded_) return NotLoaded();
    if (const auto orientation = printer_.Orientation()) *value = *orientation;
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::put_Portrait_Landscape(short value) {
  return Guarded([&] {
    if (!loaded_) return NotLoaded();
    printer_.SetOrientation(value);
    return S_OK;
  });
}

}  // namespace quillon
