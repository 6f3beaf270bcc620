#include "settings/ruler_units.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/memory_settings_store.h"

namespace quillon {
namespace {

TEST(RulerUnitsTest, StartsAsInchesOneToOne) {
  const RulerUnits units;
  EXPECT_EQ(units.PaperUnit, 0);
  EXPECT_EQ(units.ModelUnit, 0);
  EXPECT_EQ(units.PaperValue, 1.0);
  EXPECT_EQ(units.ModelValue, 1.0);
}

TEST(RulerUnitsTest, UnitLists) {
  EXPECT_EQ(std::vector<std::string_view>(PaperUnitNames().begin(), PaperUnitNames().end()),
            (std::vector<std::string_view>{"in", "mm", "cm"}));
  EXPECT_EQ(std::vector<std::string_view>(ModelUnitNames().begin(), ModelUnitNames().end()),
            (std::vector<std::string_view>{"in", "ft", "yards", "miles", "mm", "cm", "m", "km"}));
}

TEST(RulerUnitsTest, MeasureScaleOfTheUnits) {
  const struct {
    RulerUnits units;
    double ratio, perMetre, perSquareMetre;
    std::string_view name;
  } cases[] = {
      {{0, 0, 1, 1}, 1, 39.37008, 1550.0031992064, "in"},
      {{1, 3, 2, 5}, 2.5, 1000, 1e6, "miles"},
      {{2, 7, 4, 1}, 0.25, 100, 1e4, "km"},
      {{3, 8, 1, 1}, 1, 1, 1, ""},
      {{-1, -1, 1, 1}, 1, 1, 1, ""},
  };
  for (const auto& c : cases) {
    const MeasureScale scale = MeasureScaleOf(c.units);
    EXPECT_EQ(scale.ratio, c.ratio);
    EXPECT_EQ(scale.perMetre, c.perMetre);
    EXPECT_EQ(scale.perSquareMetre, c.perSquareMetre);
    EXPECT_EQ(scale.unitName, c.name);
  }
}

TEST(RulerUnitsTest, LoadTakesOnlyPositiveValues) {
  const struct {
    const char* text;
    bool applied;
    double value;  // as the value, or cut as a unit
    int unit;
  } cases[] = {
      {"2.5", true, 2.5, 2},   {"1", true, 1, 1},
      {"3.99", true, 3.99, 3}, {"0", false, 0, 0},
      {"-2", false, 0, 0},     {"abc", false, 0, 0},
      {"inf", false, 0, 0},    {"nan", false, 0, 0},
      {"0.5", true, 0.5, 0},   {"1e40", true, 1e40, 2147483647},
  };
  for (const auto& c : cases) {
    MemoryStore store;
    for (const char* name : {"PaperUnit", "ModelUnit", "PaperValue", "ModelValue"}) {
      store.values[name] = c.text;
    }
    RulerUnits units{1, 6, 7.0, 9.0};
    LoadRulerUnits(store, units);
    EXPECT_EQ(units.PaperUnit, c.applied ? c.unit : 1) << c.text;
    EXPECT_EQ(units.ModelUnit, c.applied ? c.unit : 6) << c.text;
    EXPECT_EQ(units.PaperValue, c.applied ? c.value : 7.0) << c.text;
    EXPECT_EQ(units.ModelValue, c.applied ? c.value : 9.0) << c.text;
  }
}

TEST(RulerUnitsTest, LoadWithoutTheKeyKeepsTheDefaults) {
  MemoryStore store;
  store.exists = false;
  store.values["PaperValue"] = "3";
  RulerUnits units;
  LoadRulerUnits(store, units);
  EXPECT_EQ(units.PaperValue, 1.0);
}

TEST(RulerUnitsTest, SaveAndLoadAgain) {
  MemoryStore store;
  SaveRulerUnits(store, {2, 5, 0.05, 250});
  EXPECT_EQ(store.writes,
            (std::vector<std::string>{"PaperUnit", "ModelUnit", "PaperValue", "ModelValue"}));
  EXPECT_EQ(std::get<std::string>(store.values["PaperUnit"]), "2.");
  EXPECT_EQ(std::get<std::string>(store.values["PaperValue"]), "5.e-002");
  RulerUnits units;
  LoadRulerUnits(store, units);
  EXPECT_EQ(units.PaperUnit, 2);
  EXPECT_EQ(units.ModelUnit, 5);
  EXPECT_EQ(units.PaperValue, 0.05);
  EXPECT_EQ(units.ModelValue, 250);
}

TEST(RulerUnitsTest, SaveNeverMakesTheKey) {
  MemoryStore store;
  store.exists = false;
  SaveRulerUnits(store, {});
  EXPECT_TRUE(store.writes.empty());
  EXPECT_FALSE(store.exists);
}

}  // namespace
}  // namespace quillon
