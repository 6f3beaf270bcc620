#pragma once
// The raster display preferences: whether rasters and patterns paint opaquely and how many
// steps of raster detail are given up for speed. Kept per user as two DWORDs; the Preferences
// dialog shows and writes them, and the control applies them to its drawing.

#include <cstdint>

#include "settings/settings_store.h"

namespace quillon {

struct Preferences {
  // "UseOpaqueRaster": nonzero paints rasters with SRCCOPY, zero with SRCAND.
  std::uint32_t useOpaqueRaster = 0;
  // "MaxRasterZoomLevel": 0, 2 or 4 as the dialog writes it.
  std::uint32_t maxRasterZoomLevel = 0;
};

// The three quality choices of the dialog, best first.
enum class RasterQuality { High = 0, Medium = 1, Normal = 2 };

// A stored level as the dialog shows it: above 4 (unsigned) counts as 4, and any level other
// than 0, 2 and 4 as 0.
std::uint32_t ShownZoomLevel(std::uint32_t stored);
RasterQuality QualityOfLevel(std::uint32_t shownLevel);
std::uint32_t LevelOfQuality(RasterQuality quality);

// Reads both values into prefs as the dialog opens (the level through ShownZoomLevel). False
// when the key is missing: prefs keep what they held.
bool LoadPreferences(SettingsStore& store, Preferences& prefs);
// Writes both as DWORDs, the opaque flag as 0 or 1; false (nothing written) without the key.
bool SavePreferences(SettingsStore& store, const Preferences& prefs);

}  // namespace quillon
