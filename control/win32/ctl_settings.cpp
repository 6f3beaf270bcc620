// QuillonCtl: the settings commands of the context menu: the ruler's units, the raster
// preferences, help and the About box.

#include "control/win32/module.h"
#include "control/win32/quillon_ctl.h"
#include "settings/win32/about_dialog.h"
#include "settings/win32/configure_ruler_dialog.h"
#include "settings/win32/help.h"
#include "settings/win32/preferences_dialog.h"

namespace quillon {

namespace {

// The control stays alive while its dialog runs, even if its container lets it go meanwhile.
class KeepAlive {
 public:
  explicit KeepAlive(IUnknown* object) : object_(object) { object_->AddRef(); }
  ~KeepAlive() { object_->Release(); }
  KeepAlive(const KeepAlive&) = delete;
  KeepAlive& operator=(const KeepAlive&) = delete;

 private:
  IUnknown* object_;
};

}  // namespace

bool QuillonCtl::RunSettingsCommand(int command) {
  switch (command) {
    case kCommandConfigureRuler:
      ConfigureRuler();
      return true;
    case kCommandPreferences:
      EditPreferences();
      return true;
    case kCommandHelp:
      OpenHelp();
      return true;
    case kCommandAbout:
      ShowAbout();
      return true;
    default:
      return false;
  }
}

void QuillonCtl::ConfigureRuler() {
  if (openDialog_ != nullptr) return;
  const KeepAlive alive(static_cast<IQuillonCtl*>(this));
  ShowConfigureRulerDialog({ModuleHandle(), ::GetActiveWindow(), &openDialog_}, rulerUnits_);
}

void QuillonCtl::EditPreferences() {
  if (openDialog_ != nullptr) return;
  const KeepAlive alive(static_cast<IQuillonCtl*>(this));
  ShowPreferencesDialog({ModuleHandle(), ::GetActiveWindow(), &openDialog_}, settings_,
                        preferences_);
  // Cancel too: the values are then those the dialog read from the key.
  ApplyPreferences(preferences_);
}

void QuillonCtl::ApplyPreferences(const Preferences& prefs) {
  preferences_ = prefs;
  context_->SetRasterPreferences(prefs.useOpaqueRaster, prefs.maxRasterZoomLevel);
  InvalidateView();
}

void QuillonCtl::ShowAbout() {
  if (openDialog_ != nullptr) return;
  const KeepAlive alive(static_cast<IQuillonCtl*>(this));
  ShowAboutDialog({ModuleHandle(), ::GetActiveWindow(), &openDialog_});
}

void QuillonCtl::OpenHelp() { ShowHelp(ModuleHandle(), window_); }

}  // namespace quillon
