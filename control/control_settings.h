#pragma once
// The settings a document load reads and SaveSettings writes for the view: the zoom step, the
// status bar and the initial rotation. Values are read with their checks applied; a value that
// fails its check reads as absent, so the control keeps what it has.

#include <optional>

#include "settings/settings_store.h"

namespace quillon {

inline constexpr double kInitialScaleFactor = 2.0;

// "ScaleFactor", taken only within 1..2.
std::optional<double> ReadScaleFactor(SettingsStore& store);
// "StatusBar", taken only when exactly 0 or 1.
std::optional<bool> ReadStatusBar(SettingsStore& store);
// "Rotation" as a number; 270 when the key or value is missing. A value that is not a quarter
// turn would leave the view and the drawing without a defined orientation: it counts as
// missing.
int ReadRotation(SettingsStore& store);
// "Record": the command journal is switched on by any nonzero DWORD.
bool ReadRecord(SettingsStore& store);

// Writes "ScaleFactor" and "StatusBar" into an existing key; the key is never created here.
void SaveViewSettings(SettingsStore& store, double scaleFactor, bool statusBarVisible);

}  // namespace quillon
