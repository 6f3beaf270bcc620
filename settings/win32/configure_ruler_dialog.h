#pragma once
// The Configure dialog of the measuring ruler: paper and model value, each with its unit.

#include "settings/ruler_units.h"
#include "settings/win32/modal_dialog.h"

namespace quillon {

// True after OK, when units hold what the dialog showed; Cancel leaves them as they were.
bool ShowConfigureRulerDialog(const DialogHost& host, RulerUnits& units);

}  // namespace quillon
