#include "control/control_settings.h"

#include "interact/view_state.h"
#include "settings/value_text.h"

namespace quillon {

std::optional<double> ReadScaleFactor(SettingsStore& store) {
  const auto text = store.ReadText("ScaleFactor");
  if (!text) return std::nullopt;
  const double value = ValueFromText(*text);
  // Written so that a "nan" text fails too.
  if (!(value >= 1 && value <= 2)) return std::nullopt;
  return value;
}

std::optional<bool> ReadStatusBar(SettingsStore& store) {
  const auto text = store.ReadText("StatusBar");
  if (!text) return std::nullopt;
  const double value = ValueFromText(*text);
  if (value == 0) return false;
  if (value == 1) return true;
  return std::nullopt;
}

int ReadRotation(SettingsStore& store) {
  const auto text = store.ReadText("Rotation");
  if (!text) return kInitialRot;
  const double value = ValueFromText(*text);
  // NaN included: its conversion to int would be undefined.
  if (!(value >= -1e9 && value <= 1e9)) return kInitialRot;
  const int rot = static_cast<int>(value);
  return IsQuarterTurn(rot) ? rot : kInitialRot;
}

bool ReadRecord(SettingsStore& store) {
  const auto value = store.ReadDword("Record");
  return value && *value != 0;
}

void SaveViewSettings(SettingsStore& store, double scaleFactor, bool statusBarVisible) {
  if (!store.KeyExists()) return;
  store.WriteText("ScaleFactor", ValueText(scaleFactor));
  store.WriteText("StatusBar", ValueText(statusBarVisible ? 1.0 : 0.0));
}

}  // namespace quillon
