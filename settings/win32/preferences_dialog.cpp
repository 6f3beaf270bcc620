#include "settings/win32/preferences_dialog.h"

#include "settings/win32/dialog_ids.h"

namespace quillon {
namespace {

constexpr int kQualityButtons[] = {IDC_QUALITY_HIGH, IDC_QUALITY_MEDIUM, IDC_QUALITY_NORMAL};

class PreferencesDialog final : public ModalDialog {
 public:
  PreferencesDialog(SettingsStore& store, Preferences& prefs) : store_(store), prefs_(prefs) {}

 private:
  void OnInit() override {
    LoadPreferences(store_, prefs_);
    ::CheckDlgButton(window(), IDC_OPAQUE_RASTER,
                     prefs_.useOpaqueRaster != 0 ? BST_CHECKED : BST_UNCHECKED);
    const auto quality = QualityOfLevel(ShownZoomLevel(prefs_.maxRasterZoomLevel));
    ::CheckRadioButton(window(), IDC_QUALITY_NORMAL, IDC_QUALITY_HIGH,
                       kQualityButtons[static_cast<int>(quality)]);
  }

  bool OnCommand(int id, int) override {
    if (id != IDOK) return false;
    prefs_.useOpaqueRaster = ::IsDlgButtonChecked(window(), IDC_OPAQUE_RASTER) == BST_CHECKED;
    prefs_.maxRasterZoomLevel = LevelOfQuality(CheckedQuality());
    SavePreferences(store_, prefs_);
    End(IDOK);
    return true;
  }

  RasterQuality CheckedQuality() const {
    for (int i = 0; i < 3; ++i) {
      if (::IsDlgButtonChecked(window(), kQualityButtons[i]) == BST_CHECKED) {
        return static_cast<RasterQuality>(i);
      }
    }
    return RasterQuality::High;
  }

  SettingsStore& store_;
  Preferences& prefs_;
};

}  // namespace

bool ShowPreferencesDialog(const DialogHost& host, SettingsStore& store, Preferences& prefs) {
  PreferencesDialog dialog(store, prefs);
  return dialog.Run(host, IDD_PREFERENCES) == IDOK;
}

}  // namespace quillon
