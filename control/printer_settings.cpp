#include "control/printer_settings.h"

#include <cmath>

#include "settings/value_text.h"

namespace quillon {

namespace {

// A number as the registry text holds it, truncated towards zero; text that is no number, or
// a number no 32-bit integer holds, reads as 0 rather than as an undefined conversion.
std::int32_t WholeNumber(const std::string& text) {
  const double value = std::trunc(ValueFromText(text));
  if (!(value >= -2147483648.0 && value <= 2147483647.0)) return 0;
  return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> ReadWhole(SettingsStore& store, std::string_view name) {
  const auto text = store.ReadText(name);
  if (!text) return std::nullopt;
  return WholeNumber(*text);
}

std::int16_t ReadShort(SettingsStore& store, std::string_view name) {
  return static_cast<std::int16_t>(ReadWhole(store, name).value_or(0));
}

void WriteNumber(SettingsStore& store, std::string_view name, double value) {
  store.WriteText(name, ValueText(value));
}

}  // namespace

SavedPlotScale ReadPlotScale(SettingsStore& store) {
  SavedPlotScale saved;
  if (const auto percentage = ReadWhole(store, "PlotScale")) saved.percentage = *percentage;
  saved.option = ReadWhole(store, "ButtonFlags");
  return saved;
}

void SavePlotScale(SettingsStore& store, double percentage, int option) {
  if (!store.KeyExists()) return;
  WriteNumber(store, "PlotScale", percentage);
  WriteNumber(store, "ButtonFlags", option);
}

std::optional<SavedPrinterSetup> ReadPrinterSetup(SettingsStore& store) {
  const auto device = store.ReadText("DeviceName");
  if (!device || *device == "0" || device->empty()) return std::nullopt;
  SavedPrinterSetup s;
  s.deviceName = *device;
  s.fields = static_cast<std::uint32_t>(ReadWhole(store, "Fields").value_or(0));
  s.orientation = ReadShort(store, "Orientation");
  s.scale = ReadShort(store, "Scale");
  s.copies = ReadShort(store, "Copies");
  s.defaultSource = ReadShort(store, "DefaultSource");
  s.printQuality = ReadShort(store, "PrintQuality");
  s.colour = ReadShort(store, "Color");
  s.duplex = ReadShort(store, "Duplex");
  s.yResolution = ReadShort(store, "YResolution");
  s.trueTypeOption = ReadShort(store, "TTOption");
  s.formName = store.ReadText("FormName").value_or("");
  s.paperSize = ReadShort(store, "PaperSize");
  const auto driver = store.ReadText("DriverName");
  const auto printer = store.ReadText("PrinterName");
  const auto port = store.ReadText("PortName");
  // Registration writes "0" for each: no names were saved then.
  if (driver && printer && port && !(*driver == "0" && *printer == "0" && *port == "0"))
    s.names = PrinterNames{*driver, *printer, *port};
  return s;
}

void SavePrinterSetup(SettingsStore& store, const SavedPrinterSetup& s) {
  if (!store.KeyExists()) return;
  store.WriteText("DeviceName", s.deviceName);
  WriteNumber(store, "Fields", s.fields);
  WriteNumber(store, "Orientation", s.orientation);
  WriteNumber(store, "Scale", s.scale);
  WriteNumber(store, "Copies", 1);
  WriteNumber(store, "DefaultSource", s.defaultSource);
  WriteNumber(store, "PrintQuality", s.printQuality);
  WriteNumber(store, "Color", s.colour);
  WriteNumber(store, "Duplex", s.duplex);
  WriteNumber(store, "YResolution", s.yResolution);
  WriteNumber(store, "TTOption", s.trueTypeOption);
  store.WriteText("FormName", s.formName);
  WriteNumber(store, "PaperSize", s.paperSize);
  if (!s.names) return;
  store.WriteText("DriverName", s.names->driver);
  store.WriteText("PrinterName", s.names->printer);
  store.WriteText("PortName", s.names->port);
}

}  // namespace quillon
