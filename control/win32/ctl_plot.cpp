// QuillonCtl: printing. Plot and PlotWithForm print through the held printer set-up (the print
// dialog, or silently the held or default printer), and the printer properties edit it.

#include "control/win32/com_guard.h"
#include "control/win32/plot_dialog.h"
#include "control/win32/quillon_ctl.h"
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

}  // namespace

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
    context_->DrawPrint(device, job, AnsiDataFileName());
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
