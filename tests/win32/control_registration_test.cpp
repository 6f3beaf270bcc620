// Self-registration through the real regsvr32 under Wine: the class, its ProgIDs, the type
// library and the per-user settings key with its defaults; unregistration removes the class.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tests/win32/control_host.h"

namespace quillon::control_test {
namespace {

const std::string kSettingsKey = "Software\\Veltramark\\Quillon";

std::string Regsvr32(const std::string& options) {
  return "regsvr32 " + options + " \"" + ControlLibraryPath() + "\"";
}

// Every value of a key: name -> "sz:text" or "dword:n".
std::map<std::string, std::string> Values(HKEY root, const std::string& path) {
  std::map<std::string, std::string> values;
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
  for (DWORD i = 0;; ++i) {
    char name[256] = {};
    DWORD nameSize = sizeof name;
    BYTE data[1024] = {};
    DWORD dataSize = sizeof data - 1;
    DWORD type = 0;
    if (::RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) !=
        ERROR_SUCCESS) {
      break;
    }
    if (type == REG_SZ) {
      values[name] = "sz:" + std::string(reinterpret_cast<char*>(data));
    } else if (type == REG_DWORD) {
      values[name] = "dword:" + std::to_string(*reinterpret_cast<DWORD*>(data));
    } else {
      values[name] = "type:" + std::to_string(type);
    }
  }
  ::RegCloseKey(key);
  return values;
}

class ControlRegistrationTest : public ::testing::Test {
 protected:
  void TearDown() override {
    // The other tests create the control by its class: leave it registered.
    EXPECT_EQ(RegisterControl(), S_OK);
  }
};

TEST_F(ControlRegistrationTest, Regsvr32WritesTheClassProgIdsAndTypeLibrary) {
  const ProcessResult run = RunProcess(Regsvr32("/s"));
  ASSERT_TRUE(run.started && run.finished) << run.output;
  ASSERT_EQ(run.exitCode, 0u) << run.output;

  const std::string clsid = GuidText(CLSID_QuillonCtl);
  const std::string libid = GuidText(LIBID_QUILLONLib);
  const std::string cls = "CLSID\\" + clsid;
  const std::string module = ControlLibraryPath();
  struct Expected {
    std::string key;
    const char* name;
    std::string text;
  };
  const Expected expected[] = {
      {"QuillonCtl.QuillonCtl.1", nullptr, "QuillonCtl Class"},
      {"QuillonCtl.QuillonCtl.1\\CLSID", nullptr, clsid},
      {"QuillonCtl.QuillonCtl", nullptr, "QuillonCtl Class"},
      {"QuillonCtl.QuillonCtl\\CLSID", nullptr, clsid},
      {"QuillonCtl.QuillonCtl\\CurVer", nullptr, "QuillonCtl.QuillonCtl.1"},
      {cls, nullptr, "QuillonCtl Class"},
      {cls + "\\ProgID", nullptr, "QuillonCtl.QuillonCtl.1"},
      {cls + "\\VersionIndependentProgID", nullptr, "QuillonCtl.QuillonCtl"},
      {cls + "\\InprocServer32", nullptr, module},
      {cls + "\\InprocServer32", "ThreadingModel", "Apartment"},
      {cls + "\\ToolboxBitmap32", nullptr, module + ", 1"},
      {cls + "\\MiscStatus", nullptr, "0"},
      {cls + "\\MiscStatus\\1", nullptr, "131473"},
      {cls + "\\TypeLib", nullptr, libid},
      {cls + "\\Version", nullptr, "1.0"},
      {"TypeLib\\" + libid + "\\1.0", nullptr, "QUILLON ActiveX Control module"},
      {"Interface\\" + GuidText(IID_IQuillonCtl), nullptr, "IQuillonCtl"},
  };
  for (const Expected& e : expected) {
    const RegText value = ReadRegText(HKEY_CLASSES_ROOT, e.key, e.name);
    EXPECT_TRUE(value.found) << e.key << " " << (e.name ? e.name : "(default)");
    // Paths compare without regard to case, as the file system does.
    if (e.text == module || e.text == module + ", 1") {
      EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, value.text.c_str(), -1,
                               e.text.c_str(), -1),
                CSTR_EQUAL)
          << e.key << ": " << value.text;
    } else {
      EXPECT_EQ(value.text, e.text) << e.key;
    }
  }
  for (const char* empty : {"\\Control", "\\Programmable", "\\Insertable"}) {
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, cls + empty)) << empty;
    EXPECT_TRUE(Values(HKEY_CLASSES_ROOT, cls + empty).empty()) << empty;
  }
}

TEST_F(ControlRegistrationTest, RegistrationMakesTheSettingsKeyAfreshWithItsDefaults) {
  // A value the registration does not write must be gone afterwards.
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey.c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ::RegSetValueExA(key, "Rotation", 0, REG_SZ, reinterpret_cast<const BYTE*>("90"), 3);
  ::RegSetValueExA(key, "ScaleFactor", 0, REG_SZ, reinterpret_cast<const BYTE*>("1.5"), 4);
  ::RegCloseKey(key);

  const ProcessResult run = RunProcess(Regsvr32("/s"));
  ASSERT_EQ(run.exitCode, 0u) << run.output;

  const std::map<std::string, std::string> expected = {
      {"", "sz:"},
      {"PaperUnit", "sz:0"},
      {"ModelUnit", "sz:0"},
      {"PaperValue", "sz:1.0"},
      {"ModelValue", "sz:1.0"},
      {"ScaleFactor", "sz:2.0"},
      {"StatusBar", "sz:1.0"},
      {"PlotScale", "sz:0"},
      {"ButtonFlags", "sz:0"},
      {"DeviceName", "sz:0"},
      {"Fields", "sz:0"},
      {"Orientation", "sz:0"},
      {"Scale", "sz:0"},
      {"Copies", "sz:0"},
      {"DefaultSource", "sz:0"},
      {"PrintQuality", "sz:0"},
      {"Color", "sz:0"},
      {"Duplex", "sz:0"},
      {"YResolution", "sz:0"},
      {"TTOption", "sz:0"},
      {"FormName", "sz:0"},
      {"PaperSize", "sz:0"},
      {"DriverName", "sz:0"},
      {"PrinterName", "sz:0"},
      {"PortName", "sz:0"},
      {"UseOpaqueRaster", "dword:0"},
      {"MaxRasterZoomLevel", "dword:0"},
  };
  EXPECT_EQ(Values(HKEY_CURRENT_USER, kSettingsKey), expected);
}

TEST_F(ControlRegistrationTest, UnregistrationRemovesTheClassAndKeepsTheUsersSettings) {
  ASSERT_EQ(RegisterControl(), S_OK);
  const ProcessResult run = RunProcess(Regsvr32("/s /u"));
  ASSERT_TRUE(run.started && run.finished) << run.output;
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  const std::string clsid = GuidText(CLSID_QuillonCtl);
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "CLSID\\" + clsid));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "QuillonCtl.QuillonCtl"));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "QuillonCtl.QuillonCtl.1"));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "TypeLib\\" + GuidText(LIBID_QUILLONLib)));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kSettingsKey));

  // Without the class nobody can create the control by its ProgID any more.
  CLSID byName{};
  EXPECT_NE(::CLSIDFromProgID(L"QuillonCtl.QuillonCtl", &byName), S_OK);
}

}  // namespace
}  // namespace quillon::control_test
