#include "settings/ruler_units.h"

#include <array>
#include <cmath>
#include <optional>

#include "base/numeric.h"
#include "settings/value_text.h"

namespace quillon {
namespace {

constexpr std::array<std::string_view, 3> kPaperUnits{"in", "mm", "cm"};
constexpr std::array<std::string_view, 8> kModelUnits{"in", "ft", "yards", "miles",
                                                      "mm", "cm", "m",     "km"};
constexpr std::array<double, 3> kPerMetre{39.37008, 1000, 100};
// The squares of the above, as the area results have always used them.
constexpr std::array<double, 3> kPerSquareMetre{1550.0031992064, 1000000, 10000};

bool OnList(int index, std::size_t size) {
  return index >= 0 && static_cast<std::size_t>(index) < size;
}

std::optional<double> ReadPositive(SettingsStore& store, std::string_view name) {
  const auto text = store.ReadText(name);
  if (!text) return std::nullopt;
  const double value = ValueFromText(*text);
  if (!(value > 0) || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

std::span<const std::string_view> PaperUnitNames() { return kPaperUnits; }
std::span<const std::string_view> ModelUnitNames() { return kModelUnits; }

double PaperUnitsPerMetre(int paperUnit) {
  return OnList(paperUnit, kPerMetre.size()) ? kPerMetre[paperUnit] : 1.0;
}

double PaperUnitsPerSquareMetre(int paperUnit) {
  return OnList(paperUnit, kPerSquareMetre.size()) ? kPerSquareMetre[paperUnit] : 1.0;
}

MeasureScale MeasureScaleOf(const RulerUnits& units) {
  MeasureScale scale;
  scale.ratio = units.ModelValue / units.PaperValue;
  scale.perMetre = PaperUnitsPerMetre(units.PaperUnit);
  scale.perSquareMetre = PaperUnitsPerSquareMetre(units.PaperUnit);
  if (OnList(units.ModelUnit, kModelUnits.size())) scale.unitName = kModelUnits[units.ModelUnit];
  return scale;
}

void LoadRulerUnits(SettingsStore& store, RulerUnits& units) {
  if (const auto v = ReadPositive(store, "ModelValue")) units.ModelValue = *v;
  if (const auto v = ReadPositive(store, "PaperValue")) units.PaperValue = *v;
  if (const auto v = ReadPositive(store, "ModelUnit")) units.ModelUnit = TruncToInt(*v);
  if (const auto v = ReadPositive(store, "PaperUnit")) units.PaperUnit = TruncToInt(*v);
}

void SaveRulerUnits(SettingsStore& store, const RulerUnits& units) {
  if (!store.KeyExists()) return;
  store.WriteText("PaperUnit", ValueText(units.PaperUnit));
  store.WriteText("ModelUnit", ValueText(units.ModelUnit));
  store.WriteText("PaperValue", ValueText(units.PaperValue));
  store.WriteText("ModelValue", ValueText(units.ModelValue));
}

}  // namespace quillon
