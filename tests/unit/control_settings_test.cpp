#include "control/control_settings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "settings/control_settings_defaults.h"
#include "tests/support/memory_settings_store.h"

namespace quillon {
namespace {

TEST(ControlSettingsTest, ScaleFactorIsTakenOnlyBetweenOneAndTwo) {
  MemoryStore store;
  EXPECT_FALSE(ReadScaleFactor(store)) << "missing";
  const std::vector<std::pair<std::string, std::optional<double>>> cases = {
      {"1.5", 1.5}, {"1", 1.0},         {"2.0", 2.0},      {"2.", 2.0},
      {"3", {}},    {"0.99", {}},       {"2.0000001", {}}, {"abc", {}},
      {"-1.5", {}}, {"1.25junk", 1.25}, {"1.e+000", 1.0},
      {"nan", {}},  {"-nan", {}},       {"inf", {}},
  };
  for (const auto& [text, expected] : cases) {
    store.values["ScaleFactor"] = text;
    EXPECT_EQ(ReadScaleFactor(store), expected) << text;
  }
  store.values["ScaleFactor"] = std::uint32_t{2};
  EXPECT_FALSE(ReadScaleFactor(store)) << "a DWORD is not the text the control writes";
}

TEST(ControlSettingsTest, StatusBarIsTakenOnlyWhenExactlyZeroOrOne) {
  MemoryStore store;
  EXPECT_FALSE(ReadStatusBar(store));
  const std::vector<std::pair<std::string, std::optional<bool>>> cases = {
      {"1.0", true}, {"1.", true}, {"1", true}, {"0", false}, {"0.", false},
      {"0.5", {}},   {"2", {}},    {"-1", {}},  {"", false},
  };
  for (const auto& [text, expected] : cases) {
    store.values["StatusBar"] = text;
    EXPECT_EQ(ReadStatusBar(store), expected) << "'" << text << "'";
  }
}

TEST(ControlSettingsTest, RotationIsAQuarterTurnOr270) {
  MemoryStore store;
  EXPECT_EQ(ReadRotation(store), 270);
  for (const auto& [text, expected] : std::vector<std::pair<std::string, int>>{{"0", 0},
                                                                               {"90", 90},
                                                                               {"180.0", 180},
                                                                               {"270", 270},
                                                                               {"90.7", 90},
                                                                               {"45", 270},
                                                                               {"360", 270},
                                                                               {"-90", 270},
                                                                               {"1e300", 270},
                                                                               {"x", 0},
                                                                               {"nan", 270},
                                                                               {"-inf", 270}}) {
    store.values["Rotation"] = text;
    EXPECT_EQ(ReadRotation(store), expected) << text;
  }
  store.exists = false;
  store.values["Rotation"] = "90";
  EXPECT_EQ(ReadRotation(store), 270) << "key cannot be opened";
}

TEST(ControlSettingsTest, RecordIsAnyNonzeroDword) {
  MemoryStore store;
  EXPECT_FALSE(ReadRecord(store));
  store.values["Record"] = std::uint32_t{0};
  EXPECT_FALSE(ReadRecord(store));
  store.values["Record"] = std::uint32_t{7};
  EXPECT_TRUE(ReadRecord(store));
  store.values["Record"] = std::string("1");
  EXPECT_FALSE(ReadRecord(store));
}

TEST(ControlSettingsTest, SaveWritesValueTextsIntoAnExistingKeyOnly) {
  MemoryStore store;
  SaveViewSettings(store, 1.5, false);
  EXPECT_EQ(std::get<std::string>(store.values.at("ScaleFactor")), "1.5");
  EXPECT_EQ(std::get<std::string>(store.values.at("StatusBar")), "0.");
  SaveViewSettings(store, 2.0, true);
  EXPECT_EQ(std::get<std::string>(store.values.at("ScaleFactor")), "2.");
  EXPECT_EQ(std::get<std::string>(store.values.at("StatusBar")), "1.");
  // What was saved reads back as the same settings.
  EXPECT_EQ(ReadScaleFactor(store), 2.0);
  EXPECT_EQ(ReadStatusBar(store), true);

  MemoryStore missing;
  missing.exists = false;
  SaveViewSettings(missing, 1.5, true);
  EXPECT_FALSE(missing.exists) << "saving never creates the key";
  EXPECT_TRUE(missing.values.empty());
}

TEST(RegistrationDefaultsTest, KeyIsMadeAfreshWithEveryDefaultInOrder) {
  MemoryStore store;
  store.values["Rotation"] = std::string("90");
  store.values["ScaleFactor"] = std::string("1.25");
  ASSERT_TRUE(WriteRegistrationDefaults(store));
  const std::vector<std::string> order = {"PaperUnit",       "ModelUnit",
                                          "PaperValue",      "ModelValue",
                                          "ScaleFactor",     "StatusBar",
                                          "PlotScale",       "ButtonFlags",
                                          "DeviceName",      "Fields",
                                          "Orientation",     "Scale",
                                          "Copies",          "DefaultSource",
                                          "PrintQuality",    "Color",
                                          "Duplex",          "YResolution",
                                          "TTOption",        "FormName",
                                          "PaperSize",       "DriverName",
                                          "PrinterName",     "PortName",
                                          "UseOpaqueRaster", "MaxRasterZoomLevel"};
  EXPECT_EQ(store.writes, order);
  EXPECT_EQ(store.values.size(), order.size()) << "values of an earlier key are gone";
  EXPECT_FALSE(store.values.contains("Rotation"));
  EXPECT_EQ(std::get<std::string>(store.values.at("PaperValue")), "1.0");
  EXPECT_EQ(std::get<std::string>(store.values.at("ModelValue")), "1.0");
  EXPECT_EQ(std::get<std::string>(store.values.at("ScaleFactor")), "2.0");
  EXPECT_EQ(std::get<std::string>(store.values.at("StatusBar")), "1.0");
  EXPECT_EQ(std::get<std::string>(store.values.at("DeviceName")), "0");
  EXPECT_EQ(std::get<std::string>(store.values.at("PortName")), "0");
  EXPECT_EQ(std::get<std::uint32_t>(store.values.at("UseOpaqueRaster")), 0u);
  EXPECT_EQ(std::get<std::uint32_t>(store.values.at("MaxRasterZoomLevel")), 0u);
  // The defaults are what a load then reads.
  EXPECT_EQ(ReadScaleFactor(store), 2.0);
  EXPECT_EQ(ReadStatusBar(store), true);
  EXPECT_EQ(ReadRotation(store), 270);
}

TEST(RegistrationDefaultsTest, KeyThatCannotBeMadeFails) {
  MemoryStore store;
  store.exists = false;
  store.canCreate = false;
  EXPECT_FALSE(WriteRegistrationDefaults(store));
  EXPECT_TRUE(store.writes.empty());
}

}  // namespace
}  // namespace quillon
