#pragma once
// The control's printer set-up: the printer's DEVMODE and DEVNAMES in movable global memory
// (the form the print dialog takes and gives back) and the printer DC of the next job.

#include <windows.h>

#include <optional>
#include <string>

#include "base/win32/unique_handle.h"
#include "control/printer_settings.h"

namespace quillon {

// The printable area of the chosen form.
struct FormSize {
  int widthPixels = 0, heightPixels = 0;  // HORZRES, VERTRES
  double widthMetres = 0, heightMetres = 0;
};

class PrinterSetup {
 public:
  // A DC for the held set-up's printer, or the default printer's set-up and a DC when none is
  // held. False when there is no printer: nothing is held then.
  bool Acquire();
  bool HasDevMode() const { return static_cast<bool>(devMode_); }
  HDC dc() const { return dc_.get(); }
  // The DC goes to the print job, which deletes it.
  HDC TakeDc() { return dc_.release(); }
  void DropDc() { dc_.reset(); }
  // Everything given up, as at a size-change rebuild.
  void Clear();
  // The blocks go to the print dialog, which may free them and answer new ones; what it
  // answers (or gives back) becomes the control's again through Adopt. A null DC keeps the
  // DC held.
  HGLOBAL ReleaseDevMode() { return devMode_.release(); }
  HGLOBAL ReleaseDevNames() { return devNames_.release(); }
  void Adopt(HGLOBAL devMode, HGLOBAL devNames, HDC dc);
  HGLOBAL devMode() const { return devMode_.get(); }
  HGLOBAL devNames() const { return devNames_.get(); }

  FormSize Form() const;
  // The DEVMODE's device name, form name and orientation; nullopt without a DEVMODE.
  std::optional<std::string> DeviceName() const;
  std::optional<std::string> FormName() const;
  std::optional<short> Orientation() const;
  // Edits of the DEVMODE; false without one. A new device name also rebuilds the DEVNAMES
  // from the printer of that name when it can be opened.
  bool SetDeviceName(const std::string& name);
  bool SetFormName(const std::string& name);
  bool SetOrientation(short orientation);
  // The held DEVMODE applied to the DC before a job.
  void ApplyToDc();

  // The set-up as the user's settings keep it; nullopt without a DEVMODE.
  std::optional<SavedPrinterSetup> Saved() const;
  // A saved set-up becomes the held one, on that printer's own default DEVMODE, when the
  // printer opens and lists the saved paper (when one is named); otherwise nothing changes and
  // the answer is false. The DC is dropped either way.
  bool Restore(const SavedPrinterSetup& saved);
  // A DEVMODE whose form its printer no longer lists is replaced by the printer's default,
  // with a new DC.
  void CheckFormOnPrinter();

 private:
  bool LoadDefaultDevMode(const std::string& printer);
  void RebuildDevNames(const std::string& printer);

  UniqueGlobal devMode_;
  UniqueGlobal devNames_;
  UniqueDc dc_;
};

}  // namespace quillon
