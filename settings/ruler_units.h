#pragma once
// The measuring ruler's units: a length on the paper and the length in the world it stands
// for, each in a unit of its own list. Read from the settings key when the control is made and
// written back when it goes.

#include <span>
#include <string_view>

#include "interact/measure_scale.h"
#include "settings/settings_store.h"

namespace quillon {

struct RulerUnits {
  // Index into PaperUnitNames: in, mm, cm.
  int PaperUnit = 0;
  // Index into ModelUnitNames; a label only, no factor belongs to it.
  int ModelUnit = 0;
  // A length on the plot in the paper unit, and the model length it stands for.
  double PaperValue = 1.0;
  double ModelValue = 1.0;
};

std::span<const std::string_view> PaperUnitNames();
std::span<const std::string_view> ModelUnitNames();

// Paper units per metre (39.37008, 1000, 100) and per square metre; 1 for an index off the
// list, which leaves results in metres.
double PaperUnitsPerMetre(int paperUnit);
double PaperUnitsPerSquareMetre(int paperUnit);

// What measurement needs to show its results in the model unit.
MeasureScale MeasureScaleOf(const RulerUnits& units);

// "ModelValue", "PaperValue", "ModelUnit", "PaperUnit": each is taken only when positive and
// finite, the units cut to whole numbers; anything else leaves the field as it was.
void LoadRulerUnits(SettingsStore& store, RulerUnits& units);
// Writes the four values into an existing key; the key is never created here.
void SaveRulerUnits(SettingsStore& store, const RulerUnits& units);

}  // namespace quillon
