#pragma once
// The Preferences dialog: raster quality and opaque rasters, read from the settings key as
// it opens and written there at OK.

#include "settings/preferences.h"
#include "settings/settings_store.h"
#include "settings/win32/modal_dialog.h"

namespace quillon {

// prefs are what the dialog shows when the key cannot be read; afterwards they hold what it
// read, or after OK what it wrote. True after OK.
bool ShowPreferencesDialog(const DialogHost& host, SettingsStore& store, Preferences& prefs);

}  // namespace quillon
