// The print choices kept in the user's settings: what is written, in which order, and what a
// later document reads back.

#include "control/printer_settings.h"

#include <gtest/gtest.h>

#include "settings/control_settings_defaults.h"
#include "tests/support/memory_settings_store.h"

namespace quillon {
namespace {

std::string Text(const MemoryStore& store, const std::string& name) {
  return std::get<std::string>(store.values.at(name));
}

TEST(PrinterSettingsTest, PlotScaleIsWrittenAsItIsAndReadTruncated) {
  MemoryStore store;
  SavePlotScale(store, 150.5, 4);
  EXPECT_EQ(Text(store, "PlotScale"), "150.5");
  EXPECT_EQ(Text(store, "ButtonFlags"), "4.");
  const SavedPlotScale read = ReadPlotScale(store);
  EXPECT_EQ(read.percentage, 150.0);
  EXPECT_EQ(read.option, 4);

  // Text that is no number reads as 0; one no integer holds, too; nothing saved stays absent.
  store.values["PlotScale"] = std::string("many");
  store.values["ButtonFlags"] = std::string("1e300");
  EXPECT_EQ(ReadPlotScale(store).percentage, 0.0);
  EXPECT_EQ(ReadPlotScale(store).option, 0);
  MemoryStore empty;
  EXPECT_FALSE(ReadPlotScale(empty).percentage);
  EXPECT_FALSE(ReadPlotScale(empty).option);
}

SavedPrinterSetup ASetUp() {
  SavedPrinterSetup s;
  s.deviceName = "Office Laser";
  s.fields = 0x00010301;
  s.orientation = 2;
  s.copies = 7;
  s.printQuality = -4;
  s.formName = "A3";
  s.paperSize = 8;
  s.names = PrinterNames{"winspool", "Office Laser", "LPT1:"};
  return s;
}

TEST(PrinterSettingsTest, SetUpRoundTripsExceptCopiesWhichIsAlwaysOne) {
  MemoryStore store;
  SavePrinterSetup(store, ASetUp());
  const std::vector<std::string> order = {
      "DeviceName", "Fields", "Orientation", "Scale", "Copies", "DefaultSource", "PrintQuality",
      "Color", "Duplex", "YResolution", "TTOption", "FormName", "PaperSize", "DriverName",
      "PrinterName", "PortName"};
  EXPECT_EQ(store.writes, order);
  EXPECT_EQ(Text(store, "Copies"), "1.");
  EXPECT_EQ(Text(store, "Fields"), "66305.");

  const auto read = ReadPrinterSetup(store);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->deviceName, "Office Laser");
  EXPECT_EQ(read->fields, 0x00010301u);
  EXPECT_EQ(read->orientation, 2);
  EXPECT_EQ(read->copies, 1);
  EXPECT_EQ(read->printQuality, -4);
  EXPECT_EQ(read->formName, "A3");
  EXPECT_EQ(read->paperSize, 8);
  ASSERT_TRUE(read->names);
  EXPECT_EQ(read->names->port, "LPT1:");

  // Numbers beyond a 16-bit field wrap as the field holds them.
  store.values["Orientation"] = std::string("65538");
  EXPECT_EQ(ReadPrinterSetup(store)->orientation, 2);
}

TEST(PrinterSettingsTest, NothingIsRestoredWithoutASavedPrinter) {
  // A fresh registration's "0" names no printer and no names.
  MemoryStore store;
  ASSERT_TRUE(WriteRegistrationDefaults(store));
  EXPECT_FALSE(ReadPrinterSetup(store));
  store.values["DeviceName"] = std::string("Office Laser");
  const auto read = ReadPrinterSetup(store);
  ASSERT_TRUE(read);
  EXPECT_FALSE(read->names);

  MemoryStore missing;
  missing.exists = false;
  SavePrinterSetup(missing, ASetUp());
  SavePlotScale(missing, 50, 4);
  EXPECT_TRUE(missing.values.empty()) << "saving never creates the key";
}

}  // namespace
}  // namespace quillon
