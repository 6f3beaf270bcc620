#include "settings/control_settings_defaults.h"

#include <array>

namespace quillon {

namespace {

constexpr SettingDefault Text(std::string_view name, std::string_view text) {
  return {name, false, text, 0};
}

constexpr std::array kDefaults{
    Text("PaperUnit", "0"),
    Text("ModelUnit", "0"),
    Text("PaperValue", "1.0"),
    Text("ModelValue", "1.0"),
    Text("ScaleFactor", "2.0"),
    Text("StatusBar", "1.0"),
    Text("PlotScale", "0"),
    Text("ButtonFlags", "0"),
    Text("DeviceName", "0"),
    Text("Fields", "0"),
    Text("Orientation", "0"),
    Text("Scale", "0"),
    Text("Copies", "0"),
    Text("DefaultSource", "0"),
    Text("PrintQuality", "0"),
    Text("Color", "0"),
    Text("Duplex", "0"),
    Text("YResolution", "0"),
    Text("TTOption", "0"),
    Text("FormName", "0"),
    Text("PaperSize", "0"),
    Text("DriverName", "0"),
    Text("PrinterName", "0"),
    Text("PortName", "0"),
    SettingDefault{"UseOpaqueRaster", true, {}, 0},
    SettingDefault{"MaxRasterZoomLevel", true, {}, 0},
};

}  // namespace

std::span<const SettingDefault> RegistrationDefaults() { return kDefaults; }

bool WriteRegistrationDefaults(SettingsStore& store) {
  if (!store.RecreateKey()) return false;
  bool ok = true;
  for (const SettingDefault& value : kDefaults) {
    ok = (value.isDword ? store.WriteDword(value.name, value.dword)
                        : store.WriteText(value.name, value.text)) &&
         ok;
  }
  return ok;
}

}  // namespace quillon
