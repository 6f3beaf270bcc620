// The settings commands of a hosted control: the ruler units kept across controls through
// the registry, the preferences applied to the drawing at once, and a dialog that goes away
// with its control.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "settings/win32/dialog_ids.h"
#include "tests/support/kpz_builder.h"
#include "tests/win32/control_host.h"
#include "tests/win32/support/dialog_driver.h"
#include "tests/win32/temp_folder.h"

namespace quillon::control_test {
namespace {

using test::DialogDriver;
using test::ItemText;
using test::Press;

const std::string& kSettingsKey = kUserSettingsKey;
constexpr int kConfigureRuler = 56;
constexpr int kPreferences = 61;

void SetText(const char* name, const std::string& text) {
  ASSERT_TRUE(SetUserText(name, text)) << name;
}

std::string Text(const char* name) {
  return ReadRegText(HKEY_CURRENT_USER, kSettingsKey, name).text;
}

// A red fill over the page with a two-colour raster on it whose background is transparent:
// drawn with SRCAND the red shows through the raster's white, with SRCCOPY it does not.
std::vector<std::uint8_t> RedUnderRaster() {
  KpzRasterHeader h;
  h.flags = 0x80 | 0x04;
  h.foreColour = 0x000000;
  h.backColour = 0xFFFFFF;
  h.x = h.x1 = 20;
  h.y = h.y1 = 30;
  h.x2 = 180;
  h.y2 = 170;
  h.rows = 4;
  h.width = 4;
  h.format = 0x0001;
  const std::uint8_t left[] = {0, 0, 2, 0};
  KpzBuilder b;
  b.PageSize(0.2, 0.2, 1000);
  b.BeginPage()
      .FillColour(1, KpzBuilder::Rgb(255, 0, 0))
      .PolygonSet(2, {{{0, 0}, {200, 0}, {200, 200}, {0, 200}, {0, 0}}})
      .RasterHeader(h);
  for (int r = 0; r < 4; ++r) b.RasterData(left);
  b.EndPage();
  return b.Build();
}

int CountColour(const MemoryDc& shot, std::uint32_t rgb) {
  int n = 0;
  for (std::uint32_t p : shot.Pixels()) n += (p & 0xFFFFFF) == rgb;
  return n;
}

class ControlSettingsCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegisterControl(), S_OK);  // the key afresh, with its defaults
    plot = folder.Write("raster.kpz", RedUnderRaster());
    ASSERT_FALSE(plot.empty());
  }
  void TearDown() override { EXPECT_EQ(RegisterControl(), S_OK); }

  std::unique_ptr<HostedControl> Shown() {
    auto host = std::make_unique<HostedControl>(300, 300);
    if (!host->ok()) return host;
    UniqueBstr name(std::wstring(plot.begin(), plot.end()));
    host->ctl->put_DataFileName(name.get());
    host->Pump();
    return host;
  }

  static void Command(HostedControl& host, int command) {
    ::SendMessageA(host.ControlWindow(), WM_COMMAND, command, 0);
  }

  test::TempFolder folder;
  std::string plot;
};

TEST_F(ControlSettingsCommandsTest, EachCommandOpensItsDialog) {
  auto host = Shown();
  ASSERT_TRUE(host->ok());
  const struct {
    int command;
    const char* caption;
  } cases[] = {{49, "About Morvalent Quillon"}, {56, "Configure"}, {61, "Preferences"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    std::string caption;
    DialogDriver driver([&](HWND dialog) {
      char text[64] = {};
      ::GetWindowTextA(dialog, text, sizeof text);
      caption = text;
      Press(dialog, IDCANCEL);
    });
    Command(*host, c.command);
    EXPECT_EQ(caption, c.caption);
  }
}

TEST_F(ControlSettingsCommandsTest, UnitsFromTheDialogOutliveTheControl) {
  {
    auto host = Shown();
    ASSERT_TRUE(host->ok());
    DialogDriver driver([](HWND dialog) {
      test::TypeAndLeave(dialog, IDC_PAPER_VALUE, "2.5", IDC_MODEL_VALUE);
      test::TypeAndLeave(dialog, IDC_MODEL_VALUE, "-125", IDC_PAPER_VALUE);
      test::Choose(dialog, IDC_PAPER_UNIT, 1);
      test::Choose(dialog, IDC_MODEL_UNIT, 6);
      Press(dialog, IDOK);
    });
    Command(*host, kConfigureRuler);
    ASSERT_TRUE(driver.ran());
    // Kept in the control until it goes.
    EXPECT_EQ(Text("PaperValue"), "1.0");
  }
  EXPECT_EQ(Text("PaperUnit"), "1.");
  EXPECT_EQ(Text("ModelUnit"), "6.");
  EXPECT_EQ(Text("PaperValue"), "2.5");
  EXPECT_EQ(Text("ModelValue"), "125.");

  auto host = Shown();
  ASSERT_TRUE(host->ok());
  DialogDriver driver([](HWND dialog) {
    EXPECT_EQ(ItemText(dialog, IDC_PAPER_VALUE), "2.500000");
    EXPECT_EQ(ItemText(dialog, IDC_MODEL_VALUE), "125.000000");
    EXPECT_EQ(ItemText(dialog, IDC_PAPER_UNIT), "mm");
    EXPECT_EQ(ItemText(dialog, IDC_MODEL_UNIT), "m");
    Press(dialog, IDCANCEL);
  });
  Command(*host, kConfigureRuler);
  EXPECT_TRUE(driver.ran());
}

TEST_F(ControlSettingsCommandsTest, NegativeOrZeroStoredUnitsAreIgnored) {
  SetText("PaperValue", "-3");
  SetText("ModelValue", "0");
  SetText("PaperUnit", "-1");
  SetText("ModelUnit", "2.7");
  auto host = Shown();
  ASSERT_TRUE(host->ok());
  DialogDriver driver([](HWND dialog) {
    EXPECT_EQ(ItemText(dialog, IDC_PAPER_VALUE), "1.000000");
    EXPECT_EQ(ItemText(dialog, IDC_MODEL_VALUE), "1.000000");
    EXPECT_EQ(ItemText(dialog, IDC_PAPER_UNIT), "in");
    EXPECT_EQ(ItemText(dialog, IDC_MODEL_UNIT), "yards");
    Press(dialog, IDCANCEL);
  });
  Command(*host, kConfigureRuler);
  EXPECT_TRUE(driver.ran());
}

TEST_F(ControlSettingsCommandsTest, PreferencesRedrawTheRastersAtOnce) {
  auto host = Shown();
  ASSERT_TRUE(host->ok());
  const auto before = host->Capture();
  const int redBefore = CountColour(*before, 0xFF0000);
  const int whiteBefore = CountColour(*before, 0xFFFFFF);
  ASSERT_GT(redBefore, 1000) << "the fill shows through the raster's white";

  DialogDriver driver([](HWND dialog) {
    ::SendMessageA(::GetDlgItem(dialog, IDC_OPAQUE_RASTER), BM_CLICK, 0, 0);
    Press(dialog, IDOK);
  });
  Command(*host, kPreferences);
  ASSERT_TRUE(driver.ran());
  DWORD type = 0, data = 0, size = sizeof data;
  ASSERT_EQ(::RegGetValueA(HKEY_CURRENT_USER, kSettingsKey.c_str(), "UseOpaqueRaster", RRF_RT_ANY,
                           &type, &data, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(data, 1u);
  ASSERT_EQ(::RegGetValueA(HKEY_CURRENT_USER, kSettingsKey.c_str(), "MaxRasterZoomLevel",
                           RRF_RT_ANY, &type, &data, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(data, 0u);

  // The raster's white now covers the fill.
  const auto after = host->Capture();
  HostedControl::Keep(*before, "preferences-srcand");
  HostedControl::Keep(*after, "preferences-srccopy");
  EXPECT_LT(CountColour(*after, 0xFF0000), redBefore - 1000);
  EXPECT_GT(CountColour(*after, 0xFFFFFF), whiteBefore + 1000);
}

TEST_F(ControlSettingsCommandsTest, AnOpenDialogEndsWhenTheControlLeavesItsWindow) {
  auto host = Shown();
  ASSERT_TRUE(host->ok());
  ComPtr<IOleInPlaceObject> inPlace;
  ASSERT_TRUE(SUCCEEDED(host->oleWindow.As(&inPlace)));
  bool ended = false;
  DialogDriver driver([&](HWND dialog) {
    // The container keeps its frame, the dialog's owner: only the control can end it.
    inPlace->InPlaceDeactivate();
    ended = !::IsWindowVisible(dialog);
    if (!ended) Press(dialog, IDCANCEL);  // a failure is reported, not waited for
  });
  Command(*host, kPreferences);
  ASSERT_TRUE(driver.ran());
  EXPECT_TRUE(ended);
  EXPECT_FALSE(::IsWindow(driver.dialog()));
}

}  // namespace
}  // namespace quillon::control_test
