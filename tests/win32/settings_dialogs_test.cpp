// The settings dialogs as the library's resources make them: their controls and texts, what
// the edits and lists take, the preferences in the registry, the About box's pictures, link
// and cursor, and help. Each dialog is driven from inside its own modal loop.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "interact/measurement.h"
#include "settings/ruler_units.h"
#include "settings/win32/about_dialog.h"
#include "settings/win32/configure_ruler_dialog.h"
#include "settings/win32/dialog_ids.h"
#include "settings/win32/help.h"
#include "settings/win32/preferences_dialog.h"
#include "settings/win32/registry_store.h"
#include "tests/win32/control_host.h"
#include "tests/win32/support/browser_standin.h"
#include "tests/win32/support/dialog_driver.h"
#include "tests/win32/support/png_writer.h"

namespace quillon {
namespace {

using control_test::ControlLibraryPath;
using control_test::TestProgramFolder;
using test::ClassOf;
using test::DialogDriver;
using test::ItemText;
using test::Press;

// The library, loaded for its resources as the control uses them.
class SettingsDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::CoInitialize(nullptr);
    library_.reset(::LoadLibraryA(ControlLibraryPath().c_str()));
    ASSERT_TRUE(library_) << ControlLibraryPath();
  }
  void TearDown() override { ::CoUninitialize(); }

  DialogHost Host() { return {library_.get(), nullptr, nullptr}; }
  HINSTANCE module() const { return library_.get(); }

  UniqueModule library_;
};

std::wstring WideText(HWND window) {
  wchar_t text[512] = {};
  ::GetWindowTextW(window, text, 512);
  return text;
}

std::vector<std::wstring> ChildTexts(HWND dialog) {
  std::vector<std::wstring> texts;
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    texts.push_back(WideText(child));
  }
  return texts;
}

std::vector<std::string> ListEntries(HWND dialog, int id) {
  std::vector<std::string> entries;
  HWND list = ::GetDlgItem(dialog, id);
  const LRESULT count = ::SendMessageA(list, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    char text[64] = {};
    ::SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    entries.push_back(text);
  }
  return entries;
}

// The size in pixels that dialog units come to in this dialog's font.
SIZE DialogUnits(HWND dialog, int width, int height) {
  RECT r{0, 0, width, height};
  ::MapDialogRect(dialog, &r);
  return {r.right, r.bottom};
}

SIZE ClientSize(HWND window) {
  RECT r{};
  ::GetClientRect(window, &r);
  return {r.right, r.bottom};
}

// Renders the dialog as it shows now into build/dialog-shots/<name>.png, for a person to look
// at; answers how many colours the picture has (a blank window has one).
int KeepShot(HWND dialog, const std::string& name) {
  RECT r{};
  ::GetWindowRect(dialog, &r);
  MemoryDc shot(r.right - r.left, r.bottom - r.top);
  // The screen shows a new window once its paints have run and reached the display.
  for (int round = 0; round < 4; ++round) {
    ::RedrawWindow(dialog, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    ::Sleep(50);
  }
  // What the screen shows, frame included.
  ::BitBlt(shot.dc(), 0, 0, shot.width(), shot.height(), WindowDc(nullptr).get(), r.left, r.top,
           SRCCOPY);
  const std::string folder = control_test::SourceFile("build\\dialog-shots");
  ::CreateDirectoryA(folder.c_str(), nullptr);
  test::WritePng(shot, folder + "\\" + name + ".png");
  std::vector<std::uint32_t> colours;
  for (std::uint32_t p : shot.Pixels()) {
    if (colours.size() > 8) break;
    if (std::find(colours.begin(), colours.end(), p & 0xFFFFFF) == colours.end())
      colours.push_back(p & 0xFFFFFF);
  }
  return static_cast<int>(colours.size());
}

// ---- Configure

TEST_F(SettingsDialogsTest, ConfigureShowsTheUnitsInItsTemplate) {
  RulerUnits units{2, 6, 2.5, 125};
  DialogDriver driver([&](HWND dialog) {
    char caption[64] = {};
    ::GetWindowTextA(dialog, caption, sizeof caption);
    EXPECT_STREQ(caption, "Configure");
    const SIZE expected = DialogUnits(dialog, 142, 82);
    const SIZE client = ClientSize(dialog);
    EXPECT_EQ(client.cx, expected.cx);
    EXPECT_EQ(client.cy, expected.cy);
    const struct {
      int id;
      const char* kind;
      std::string text;
    } items[] = {
        {IDC_PAPER_VALUE, "Edit", "2.500000"},
        {IDC_MODEL_VALUE, "Edit", "125.000000"},
        {IDC_PAPER_UNIT, "ComboBox", "cm"},
        {IDC_MODEL_UNIT, "ComboBox", "m"},
        {IDOK, "Button", "OK"},
        {IDCANCEL, "Button", "Cancel"},
    };
    for (const auto& item : items) {
      SCOPED_TRACE(item.id);
      EXPECT_EQ(ClassOf(::GetDlgItem(dialog, item.id)), item.kind);
      EXPECT_EQ(ItemText(dialog, item.id), item.text);
    }
    EXPECT_EQ(ListEntries(dialog, IDC_PAPER_UNIT), (std::vector<std::string>{"in", "mm", "cm"}));
    EXPECT_EQ(ListEntries(dialog, IDC_MODEL_UNIT),
              (std::vector<std::string>{"in", "ft", "yards", "miles", "mm", "cm", "m", "km"}));
    const auto texts = ChildTexts(dialog);
    EXPECT_NE(std::find(texts.begin(), texts.end(), L"Paper Units"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), L"Model Units"), texts.end());
    EXPECT_GT(KeepShot(dialog, "configure"), 3);
    Press(dialog, IDOK);
  });
  EXPECT_TRUE(ShowConfigureRulerDialog(Host(), units));
  ASSERT_TRUE(driver.ran());
  // OK without a change keeps everything.
  EXPECT_EQ(units.PaperUnit, 2);
  EXPECT_EQ(units.ModelUnit, 6);
  EXPECT_EQ(units.PaperValue, 2.5);
  EXPECT_EQ(units.ModelValue, 125);
}

TEST_F(SettingsDialogsTest, ConfigureEditsTakeMagnitudesAndOneForNothing) {
  const struct {
    int edit, next;
    const char* typed;
    const char* shown;
    double paper, model;
  } cases[] = {
      {IDC_MODEL_VALUE, IDC_PAPER_VALUE, "-2.5", "2.500000", 1, 2.5},
      {IDC_PAPER_VALUE, IDC_MODEL_VALUE, "0", "1.000000", 1, 1},
      {IDC_PAPER_VALUE, IDC_MODEL_VALUE, "abc", "1.000000", 1, 1},
      {IDC_PAPER_VALUE, IDC_MODEL_VALUE, "  40mm", "40.000000", 40, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    RulerUnits units{0, 0, 7, 7};
    std::string shown;
    DialogDriver driver([&](HWND dialog) {
      test::TypeAndLeave(dialog, c.edit, c.typed, c.next);
      shown = ItemText(dialog, c.edit);
      // The other edit is read at OK: it is set to 1 as well.
      ::SetDlgItemTextA(dialog, c.next, "1");
      Press(dialog, IDOK);
    });
    EXPECT_TRUE(ShowConfigureRulerDialog(Host(), units));
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(units.PaperValue, c.paper);
    EXPECT_EQ(units.ModelValue, c.model);
  }
}

TEST_F(SettingsDialogsTest, ConfigureCancelChangesNothing) {
  RulerUnits units{1, 3, 4, 5};
  DialogDriver driver([&](HWND dialog) {
    test::TypeAndLeave(dialog, IDC_PAPER_VALUE, "9", IDC_MODEL_VALUE);
    test::Choose(dialog, IDC_MODEL_UNIT, 7);
    Press(dialog, IDCANCEL);
  });
  EXPECT_FALSE(ShowConfigureRulerDialog(Host(), units));
  EXPECT_EQ(units.PaperUnit, 1);
  EXPECT_EQ(units.ModelUnit, 3);
  EXPECT_EQ(units.PaperValue, 4);
  EXPECT_EQ(units.ModelValue, 5);
}

TEST_F(SettingsDialogsTest, AnotherPaperUnitChangesTheMeasuredDistance) {
  // One metre of paper at 1000 dots a metre, from (0, 0) to (254, 0): 0.254 m of paper.
  const MeasurePage page{1.0, 1.0, 1000, 1000};
  auto shown = [&](const RulerUnits& units) {
    Measurement measure;
    measure.SwitchOn(MeasureMode::Distance);
    measure.Place({0, 0}, page, MeasureScaleOf(units));
    return measure.Place({254, 0}, page, MeasureScaleOf(units)).result.value_or("");
  };
  RulerUnits units{0, 6, 1, 100};  // 1 in of paper is 100 m
  const std::string before = shown(units);
  DialogDriver driver([&](HWND dialog) {
    test::Choose(dialog, IDC_PAPER_UNIT, 1);  // mm
    Press(dialog, IDOK);
  });
  EXPECT_TRUE(ShowConfigureRulerDialog(Host(), units));
  EXPECT_EQ(units.PaperUnit, 1);
  EXPECT_EQ(units.ModelUnit, 6);
  // The result comes first, then the prompt.
  EXPECT_EQ(before.substr(0, before.find("   ")), "1000.000 m");
  const std::string after = shown(units);
  EXPECT_EQ(after.substr(0, after.find("   ")), "25400.000 m");
}

// ---- Preferences, on a scratch key of their own

class PreferencesDialogTest : public SettingsDialogsTest {
 protected:
  static constexpr const char* kPath = "Software\\Veltramark\\QuillonDialogTest";
  void SetUp() override {
    SettingsDialogsTest::SetUp();
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kPath);
  }
  void TearDown() override {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kPath);
    SettingsDialogsTest::TearDown();
  }
  // The value's type and data, or type REG_NONE when it is missing.
  static std::pair<DWORD, DWORD> RawDword(const char* name) {
    DWORD type = REG_NONE, data = 0, size = sizeof data;
    if (::RegGetValueA(HKEY_CURRENT_USER, kPath, name, RRF_RT_ANY, &type, &data, &size) !=
        ERROR_SUCCESS) {
      return {REG_NONE, 0};
    }
    return {type, data};
  }
  RegistryStore store_{HKEY_CURRENT_USER, kPath};
};

TEST_F(PreferencesDialogTest, StoredValuesChooseTheButtons) {
  const struct {
    DWORD opaque, level;
    int radio;
    bool ticked;
  } cases[] = {
      {0, 0, IDC_QUALITY_HIGH, false},   {1, 2, IDC_QUALITY_MEDIUM, true},
      {0, 3, IDC_QUALITY_HIGH, false},   {5, 4, IDC_QUALITY_NORMAL, true},
      {0, 7, IDC_QUALITY_NORMAL, false}, {0, 0xFFFFFFFF, IDC_QUALITY_NORMAL, false},
  };
  ASSERT_TRUE(store_.EnsureKey());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.level);
    store_.WriteDword("UseOpaqueRaster", c.opaque);
    store_.WriteDword("MaxRasterZoomLevel", c.level);
    Preferences prefs{0, 0};
    DialogDriver driver([&](HWND dialog) {
      for (int radio : {IDC_QUALITY_HIGH, IDC_QUALITY_MEDIUM, IDC_QUALITY_NORMAL}) {
        EXPECT_EQ(::IsDlgButtonChecked(dialog, radio) == BST_CHECKED, radio == c.radio) << radio;
      }
      EXPECT_EQ(::IsDlgButtonChecked(dialog, IDC_OPAQUE_RASTER) == BST_CHECKED, c.ticked);
      Press(dialog, IDCANCEL);
    });
    EXPECT_FALSE(ShowPreferencesDialog(Host(), store_, prefs));
    ASSERT_TRUE(driver.ran());
    // Cancel writes nothing.
    EXPECT_EQ(RawDword("MaxRasterZoomLevel").second, c.level);
  }
}

TEST_F(PreferencesDialogTest, OkWritesDwordsOfTheChoice) {
  ASSERT_TRUE(store_.EnsureKey());
  Preferences prefs;
  DialogDriver driver([&](HWND dialog) {
    char caption[64] = {};
    ::GetWindowTextA(dialog, caption, sizeof caption);
    EXPECT_STREQ(caption, "Preferences");
    const SIZE expected = DialogUnits(dialog, 164, 95);
    EXPECT_EQ(ClientSize(dialog).cx, expected.cx);
    EXPECT_EQ(ClientSize(dialog).cy, expected.cy);
    const auto texts = ChildTexts(dialog);
    for (const wchar_t* text : {L"Raster Display Performance", L"Normal Speed/High Quality",
                                L"Medium Speed/Medium Quality", L"High Speed/Normal Quality",
                                L"Opaque Patterns and Raster Images", L"OK", L"Cancel"}) {
      EXPECT_NE(std::find(texts.begin(), texts.end(), text), texts.end());
    }
    ::SendMessageA(::GetDlgItem(dialog, IDC_QUALITY_MEDIUM), BM_CLICK, 0, 0);
    ::SendMessageA(::GetDlgItem(dialog, IDC_OPAQUE_RASTER), BM_CLICK, 0, 0);
    EXPECT_GT(KeepShot(dialog, "preferences"), 3);
    Press(dialog, IDOK);
  });
  EXPECT_TRUE(ShowPreferencesDialog(Host(), store_, prefs));
  EXPECT_EQ(prefs.useOpaqueRaster, 1u);
  EXPECT_EQ(prefs.maxRasterZoomLevel, 2u);
  EXPECT_EQ(RawDword("UseOpaqueRaster"), std::make_pair(DWORD{REG_DWORD}, DWORD{1}));
  EXPECT_EQ(RawDword("MaxRasterZoomLevel"), std::make_pair(DWORD{REG_DWORD}, DWORD{2}));
}

TEST_F(PreferencesDialogTest, WithoutTheKeyTheHeldValuesShowAndNothingIsWritten) {
  Preferences prefs{1, 4};
  DialogDriver driver([&](HWND dialog) {
    EXPECT_EQ(::IsDlgButtonChecked(dialog, IDC_QUALITY_NORMAL), BST_CHECKED);
    EXPECT_EQ(::IsDlgButtonChecked(dialog, IDC_OPAQUE_RASTER), BST_CHECKED);
    Press(dialog, IDOK);
  });
  EXPECT_TRUE(ShowPreferencesDialog(Host(), store_, prefs));
  EXPECT_FALSE(store_.KeyExists());
}

// ---- About and help

TEST_F(SettingsDialogsTest, AboutShowsItsTextsPicturesAndLink) {
  test::StandInBrowser browser(TestProgramFolder());
  ASSERT_TRUE(browser.ok());
  std::string address;
  DialogDriver driver([&](HWND dialog) {
    EXPECT_EQ(WideText(dialog), L"About Morvalent Quillon");
    const SIZE expected = DialogUnits(dialog, 239, 159);
    EXPECT_EQ(ClientSize(dialog).cx, expected.cx);
    EXPECT_EQ(ClientSize(dialog).cy, expected.cy);
    EXPECT_EQ(ItemText(dialog, IDC_ABOUT_VERSION), "01.02.01.12");
    const auto texts = ChildTexts(dialog);
    for (const wchar_t* text :
         {L"Morvalent\u00AE Quillon - version",
          L"Morvalent Quillon is an ActiveX\u2122 control\nfor viewing and plotting Morvalent "
          L"drawing files",
          L"For more information on Morvalent\u00AE products, see "}) {
      EXPECT_NE(std::find(texts.begin(), texts.end(), text), texts.end());
    }
    // Both pictures, at their sizes.
    std::vector<SIZE> pictures;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
      auto bitmap = reinterpret_cast<HBITMAP>(::SendMessageA(child, STM_GETIMAGE, IMAGE_BITMAP, 0));
      BITMAP info{};
      if (bitmap != nullptr && ::GetObjectA(bitmap, sizeof info, &info) != 0)
        pictures.push_back({info.bmWidth, info.bmHeight});
    }
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_EQ(pictures[0].cx, 48);
    EXPECT_EQ(pictures[0].cy, 48);
    EXPECT_EQ(pictures[1].cx, 176);
    EXPECT_EQ(pictures[1].cy, 32);

    HWND link = ::GetDlgItem(dialog, IDC_ABOUT_LINK);
    address = ItemText(dialog, IDC_ABOUT_LINK);
    LOGFONTA font{};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(link, WM_GETFONT, 0, 0)), sizeof font,
                 &font);
    EXPECT_EQ(font.lfUnderline, 1);
    // The hand over the link, the arrow elsewhere.
    ::SendMessageA(dialog, WM_SETCURSOR, reinterpret_cast<WPARAM>(link),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    const HCURSOR overLink = ::GetCursor();
    ::SendMessageA(dialog, WM_SETCURSOR, reinterpret_cast<WPARAM>(::GetDlgItem(dialog, IDOK)),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), ::LoadCursor(nullptr, IDC_ARROW));
    EXPECT_NE(overLink, nullptr);
    EXPECT_NE(overLink, ::LoadCursor(nullptr, IDC_ARROW));
    EXPECT_GT(KeepShot(dialog, "about"), 3);
    // A click on the link starts the browser; the box stays.
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_LINK, STN_CLICKED),
                   reinterpret_cast<LPARAM>(link));
    EXPECT_TRUE(::IsWindowVisible(dialog));
    Press(dialog, IDOK);
  });
  ShowAboutDialog(Host());
  ASSERT_TRUE(driver.ran());
  EXPECT_EQ(address.rfind("https://", 0), 0u) << address;
  const std::string recorded = browser.Recorded();
  EXPECT_NE(recorded.find("quillon_browser_standin.exe\"  " + address + "\n"), std::string::npos)
      << recorded;
}

TEST_F(SettingsDialogsTest, HelpWithoutAHelpFileOpensTheInstalledPage) {
  const std::string folder = ModuleFolder(module());
  ASSERT_EQ(::GetFileAttributesA((folder + kHelpFileName).c_str()), INVALID_FILE_ATTRIBUTES);
  ASSERT_NE(::GetFileAttributesA((folder + kHelpPageName).c_str()), INVALID_FILE_ATTRIBUTES)
      << "the build installs the page beside the library";
  test::StandInBrowser browser(TestProgramFolder());
  ASSERT_TRUE(browser.ok());
  EXPECT_EQ(ShowHelp(module(), nullptr), HelpOpened::Page);
  const std::string recorded = browser.Recorded();
  EXPECT_NE(recorded.find("\"  \"" + folder + kHelpPageName + "\"\n"), std::string::npos)
      << recorded;
}

}  // namespace
}  // namespace quillon
