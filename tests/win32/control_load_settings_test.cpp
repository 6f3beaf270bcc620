// The per-user values a load reads ("StatusBar", "Rotation", "ScaleFactor") and what the
// control writes back when it goes, through the real registry under Wine.

#include <gtest/gtest.h>

#include <string>

#include "interact/view_state.h"
#include "tests/support/kpz_builder.h"
#include "tests/win32/control_host.h"
#include "tests/win32/temp_folder.h"

namespace quillon::control_test {
namespace {

const std::string& kSettingsKey = kUserSettingsKey;
constexpr int kWidth = 400;
constexpr int kHeight = 318;

void SetText(const char* name, const std::string& text) {
  ASSERT_TRUE(SetUserText(name, text)) << name;
}

class ControlLoadSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Registration makes the key afresh with its defaults.
    ASSERT_EQ(RegisterControl(), S_OK);
    KpzBuilder b;
    b.PageSize(0.4, 0.3, 1000);
    b.BeginPage().LineWidth(12).LineColour(KpzBuilder::Rgb(255, 0, 0));
    b.Polyline({{20, 40}, {180, 40}}).EndPage();
    plot = folder.Write("plan.kpz", b.Build());
    ASSERT_FALSE(plot.empty());
  }
  void TearDown() override { EXPECT_EQ(RegisterControl(), S_OK); }

  std::unique_ptr<HostedControl> Shown() {
    auto host = std::make_unique<HostedControl>(kWidth, kHeight);
    if (!host->ok()) return host;
    UniqueBstr name(std::wstring(plot.begin(), plot.end()));
    host->ctl->put_DataFileName(name.get());
    host->Pump();
    return host;
  }

  static double Scale(HostedControl& host) {
    double s = 0;
    host.ctl->get_ViewScale(&s);
    return s;
  }

  test::TempFolder folder;
  std::string plot;
};

TEST_F(ControlLoadSettingsTest, DefaultsGiveTheStripTheQuarterTurnAndADoublingStep) {
  auto host = Shown();
  ASSERT_TRUE(host->ok());
  LONG rot = 0;
  host->ctl->get_Rot(&rot);
  EXPECT_EQ(rot, 270);
  // The 318-row control draws in 301 rows above the strip: the fit takes 400 dots into them.
  const double fit = Scale(*host);
  EXPECT_DOUBLE_EQ(fit, 301.0 / 400);
  host->ctl->Scale(1);
  host->Pump();
  EXPECT_DOUBLE_EQ(Scale(*host), 2 * fit);
}

TEST_F(ControlLoadSettingsTest, LoadTakesTheUsersStatusBarRotationAndScaleFactor) {
  SetText("StatusBar", "0.");
  SetText("Rotation", "90");
  SetText("ScaleFactor", "1.5");
  {
    auto host = Shown();
    ASSERT_TRUE(host->ok());
    LONG rot = 0;
    host->ctl->get_Rot(&rot);
    EXPECT_EQ(rot, 90);
    // Without the strip the whole 318 rows are drawing area.
    const double fit = Scale(*host);
    EXPECT_DOUBLE_EQ(fit, 318.0 / 400);
    const auto shot = host->Capture();
    const COLORREF bottom =
        shot->PixelColour(HostedControl::kLeft + kWidth - 4, HostedControl::kTop + kHeight - 8);
    EXPECT_NE(bottom, RGB(192, 192, 192));
    EXPECT_NE(bottom, RGB(0xBD, 0xBD, 0xBD));
    host->ctl->Scale(1);
    host->Pump();
    EXPECT_DOUBLE_EQ(Scale(*host), 1.5 * fit);
    // A put rotation wins over the registry's at the next load.
    host->ctl->put_Rot(180);
    UniqueBstr name(std::wstring(plot.begin(), plot.end()));
    host->ctl->put_DataFileName(name.get());
    host->ctl->put_Rot(180);
    host->Pump();
    host->ctl->get_Rot(&rot);
    EXPECT_EQ(rot, 180);
  }
  // The control wrote its settings back as it went: in their text form.
  EXPECT_EQ(ReadRegText(HKEY_CURRENT_USER, kSettingsKey, "ScaleFactor").text, "1.5");
  EXPECT_EQ(ReadRegText(HKEY_CURRENT_USER, kSettingsKey, "StatusBar").text, "0.");
}

TEST_F(ControlLoadSettingsTest, ValuesOutsideTheirRangeAreIgnored) {
  SetText("StatusBar", "2");
  SetText("Rotation", "45");
  SetText("ScaleFactor", "3");
  auto host = Shown();
  ASSERT_TRUE(host->ok());
  LONG rot = 0;
  host->ctl->get_Rot(&rot);
  EXPECT_EQ(rot, 270);
  const double fit = Scale(*host);
  EXPECT_DOUBLE_EQ(fit, 301.0 / 400) << "the strip stays";
  host->ctl->Scale(1);
  host->Pump();
  EXPECT_DOUBLE_EQ(Scale(*host), 2 * fit);
}

}  // namespace
}  // namespace quillon::control_test
