#pragma once
// The print choices the user's settings keep between documents and runs: the scale option and
// percentage the next print dialog offers, and the printer set-up (the public fields of its
// device mode and the printer's driver, name and port).

#include <cstdint>
#include <optional>
#include <string>

#include "settings/settings_store.h"

namespace quillon {

struct PrinterNames {
  std::string driver, printer, port;
};

struct SavedPrinterSetup {
  std::string deviceName;
  std::uint32_t fields = 0;
  std::int16_t orientation = 0, scale = 0, copies = 0, defaultSource = 0, printQuality = 0,
               colour = 0, duplex = 0, yResolution = 0, trueTypeOption = 0;
  std::string formName;
  std::int16_t paperSize = 0;
  std::optional<PrinterNames> names;
};

// "PlotScale" and "ButtonFlags", each truncated to a whole number; absent values stay absent.
struct SavedPlotScale {
  std::optional<double> percentage;
  std::optional<int> option;
};
SavedPlotScale ReadPlotScale(SettingsStore& store);
// Written as they are (150.5 stays 150.5; the reading truncates).
void SavePlotScale(SettingsStore& store, double percentage, int option);

// nullopt when no printer was saved ("DeviceName" missing or "0"). Numbers outside their
// field's range are cut to it as the field's own type would hold them.
std::optional<SavedPrinterSetup> ReadPrinterSetup(SettingsStore& store);
// "Copies" is always written as one: a saved set-up never prints several copies by surprise.
void SavePrinterSetup(SettingsStore& store, const SavedPrinterSetup& setup);

}  // namespace quillon
