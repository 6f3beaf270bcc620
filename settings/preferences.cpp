#include "settings/preferences.h"

namespace quillon {

std::uint32_t ShownZoomLevel(std::uint32_t stored) {
  const std::uint32_t level = stored > 4 ? 4 : stored;
  return level == 0 || level == 2 || level == 4 ? level : 0;
}

RasterQuality QualityOfLevel(std::uint32_t shownLevel) {
  switch (shownLevel) {
    case 2:
      return RasterQuality::Medium;
    case 4:
      return RasterQuality::Normal;
    default:
      return RasterQuality::High;
  }
}

std::uint32_t LevelOfQuality(RasterQuality quality) {
  switch (quality) {
    case RasterQuality::Medium:
      return 2;
    case RasterQuality::Normal:
      return 4;
    default:
      return 0;
  }
}

bool LoadPreferences(SettingsStore& store, Preferences& prefs) {
  if (!store.KeyExists()) return false;
  if (const auto opaque = store.ReadDword("UseOpaqueRaster")) prefs.useOpaqueRaster = *opaque;
  if (const auto level = store.ReadDword("MaxRasterZoomLevel")) {
    prefs.maxRasterZoomLevel = ShownZoomLevel(*level);
  }
  return true;
}

bool SavePreferences(SettingsStore& store, const Preferences& prefs) {
  if (!store.KeyExists()) return false;
  const bool opaqueWritten =
      store.WriteDword("UseOpaqueRaster", prefs.useOpaqueRaster != 0 ? 1 : 0);
  const bool levelWritten =
      store.WriteDword("MaxRasterZoomLevel", ShownZoomLevel(prefs.maxRasterZoomLevel));
  return opaqueWritten && levelWritten;
}

}  // namespace quillon
