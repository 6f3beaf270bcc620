#include "settings/preferences.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tests/support/memory_settings_store.h"

namespace quillon {
namespace {

TEST(PreferencesTest, StoredLevelAsTheDialogShowsIt) {
  const struct {
    std::uint32_t stored, shown;
    RasterQuality quality;
  } cases[] = {
      {0, 0, RasterQuality::High},
      {1, 0, RasterQuality::High},
      {2, 2, RasterQuality::Medium},
      {3, 0, RasterQuality::High},
      {4, 4, RasterQuality::Normal},
      {5, 4, RasterQuality::Normal},
      {7, 4, RasterQuality::Normal},
      {0x80000000u, 4, RasterQuality::Normal},
      {0xFFFFFFFFu, 4, RasterQuality::Normal},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    EXPECT_EQ(ShownZoomLevel(c.stored), c.shown);
    EXPECT_EQ(QualityOfLevel(c.shown), c.quality);
    EXPECT_EQ(LevelOfQuality(c.quality), c.shown);
  }
}

TEST(PreferencesTest, LoadTakesWhatTheKeyHolds) {
  const struct {
    bool keyExists;
    std::optional<std::uint32_t> opaque, level;
    bool loaded;
    Preferences expected;
  } cases[] = {
      {true, 1, 2, true, {1, 2}},
      {true, 7, 7, true, {7, 4}},
      {true, 0, 3, true, {0, 0}},
      // Missing values leave the current ones; so does a missing key.
      {true, std::nullopt, std::nullopt, true, {1, 4}},
      {false, 0, 0, false, {1, 4}},
  };
  for (const auto& c : cases) {
    MemoryStore store;
    if (c.opaque) store.values["UseOpaqueRaster"] = *c.opaque;
    if (c.level) store.values["MaxRasterZoomLevel"] = *c.level;
    store.exists = c.keyExists;
    Preferences prefs{1, 4};
    EXPECT_EQ(LoadPreferences(store, prefs), c.loaded);
    EXPECT_EQ(prefs.useOpaqueRaster, c.expected.useOpaqueRaster);
    EXPECT_EQ(prefs.maxRasterZoomLevel, c.expected.maxRasterZoomLevel);
  }
}

TEST(PreferencesTest, SaveWritesTwoDwords) {
  MemoryStore store;
  store.values["UseOpaqueRaster"] = std::string("text");
  ASSERT_TRUE(SavePreferences(store, {5, 2}));
  EXPECT_EQ(store.values["UseOpaqueRaster"], MemoryStore::Value(std::uint32_t{1}));
  EXPECT_EQ(store.values["MaxRasterZoomLevel"], MemoryStore::Value(std::uint32_t{2}));

  ASSERT_TRUE(SavePreferences(store, {0, 3}));
  EXPECT_EQ(store.values["UseOpaqueRaster"], MemoryStore::Value(std::uint32_t{0}));
  EXPECT_EQ(store.values["MaxRasterZoomLevel"], MemoryStore::Value(std::uint32_t{0}));

  MemoryStore missing;
  missing.exists = false;
  EXPECT_FALSE(SavePreferences(missing, {1, 4}));
  EXPECT_TRUE(missing.writes.empty());
}

}  // namespace
}  // namespace quillon
