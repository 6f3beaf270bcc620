// Plots from a hosted control onto a real Wine PostScript printer, measured on ghostscript's
// picture of the page: true size is true size on paper.

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <string>
#include <thread>

#include "tests/support/kpz_builder.h"
#include "tests/win32/control_host.h"
#include "tests/win32/postscript_test_printer.h"
// <windows.h> first, then the imaging component.
#include "tests/win32/support/png_picture.h"
#include "tests/win32/temp_folder.h"

namespace quillon::control_test {
namespace {

constexpr int kDpi = 100;  // of the picture of the page

// The longest run of red pixels on any row (or column) of the picture, in pixels.
int LongestRedRun(const test::Picture& page, bool columns = false) {
  const int lines = static_cast<int>(columns ? page.width : page.height);
  const int length = static_cast<int>(columns ? page.height : page.width);
  int longest = 0;
  for (int i = 0; i < lines; ++i) {
    int run = 0;
    for (int j = 0; j < length; ++j) {
      const std::uint32_t p = columns ? page.At(i, j) : page.At(j, i);
      const bool red = ((p >> 16) & 0xFF) > 200 && ((p >> 8) & 0xFF) < 80 && (p & 0xFF) < 80;
      run = red ? run + 1 : 0;
      longest = std::max(longest, run);
    }
  }
  return longest;
}

// A window of this process with that caption, waited for up to two seconds.
HWND WaitForWindow(const char* caption) {
  for (int i = 0; i < 200; ++i) {
    if (HWND w = ::FindWindowA("#32770", caption)) return w;
    ::Sleep(10);
  }
  return nullptr;
}

std::string ItemText(HWND dialog, int id) {
  char text[128] = {};
  ::GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

class ControlPlotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegisterControl(), S_OK);
    ASSERT_TRUE(printer.Install()) << printer.error();
    ASSERT_TRUE(::SetDefaultPrinterA(printer.name().c_str()));
    // A line 160 mm long on a page of 0.2 x 0.1 m, one dot (1 mm) wide.
    KpzBuilder b;
    b.PageSize(0.2, 0.1, 1000);
    b.BeginPage().LineWidth(1).LineColour(KpzBuilder::Rgb(255, 0, 0));
    b.Polyline({{20, 50}, {180, 50}}).EndPage();
    plot = folder.Write("plan.kpz", b.Build());
    ASSERT_FALSE(plot.empty());
    host = std::make_unique<HostedControl>(400, 318);
    ASSERT_TRUE(host->ok());
    UniqueBstr name(std::wstring(plot.begin(), plot.end()));
    ASSERT_EQ(host->ctl->put_DataFileName(name.get()), S_OK);
    ASSERT_EQ(host->ctl->put_Rot(0), S_OK);  // the line runs across the paper
    host->Pump();
    ASSERT_EQ(host->ctl->put_PlotSilent(1), S_OK);
  }
  void TearDown() override {
    host.reset();
    EXPECT_EQ(RegisterControl(), S_OK);
  }

  // The length of the printed line in millimetres.
  double PrintedLineMm() {
    test::Picture page;
    if (!test::ReadPng(printer.pictureFile(), page)) {
      ADD_FAILURE() << "no picture of the page at " << printer.pictureFile();
      return 0;
    }
    return LongestRedRun(page) * 25.4 / kDpi;
  }

  // Where the first red pixel of the printed page lies (row by row), in picture pixels;
  // (-1, -1) when the page has none or is missing.
  POINT PrintedLineStart() {
    test::Picture page;
    POINT first{-1, -1};
    if (!test::ReadPng(printer.pictureFile(), page)) {
      ADD_FAILURE() << "no picture of the page at " << printer.pictureFile();
      return first;
    }
    for (std::uint32_t row = 0; row < page.height; ++row)
      for (std::uint32_t column = 0; column < page.width; ++column) {
        const std::uint32_t p = page.At(column, row);
        if (((p >> 16) & 0xFF) > 200 && ((p >> 8) & 0xFF) < 80 && (p & 0xFF) < 80)
          return {static_cast<LONG>(column), static_cast<LONG>(row)};
      }
    return first;
  }

  test::TempFolder folder;
  test::PostScriptTestPrinter printer{folder.path(), kDpi};
  std::string plot;
  std::unique_ptr<HostedControl> host;
};

TEST_F(ControlPlotTest, ScaleOptionsSizeThePrintedPlot) {
  struct Case {
    const char* name;
    LONG option;
    double percentage;
    double lineMm;
  };
  // Fit: the 200 mm page across the printable width of a Letter or A4 sheet (at least 190 mm).
  const Case cases[] = {
      {"true size", 2, 100, 160},
      {"half size", 4, 50, 80},
      {"fit", 1, 100, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(host->ctl->put_PrintScaleOptions(c.option), S_OK);
    ASSERT_EQ(host->ctl->put_PrintScalePercentage(c.percentage), S_OK);
    ::DeleteFileA(printer.pictureFile().c_str());
    ASSERT_EQ(host->ctl->Plot(0), S_OK);
    const double printed = PrintedLineMm();
    if (c.lineMm > 0) {
      EXPECT_NEAR(printed, c.lineMm, 1.5);
    } else {
      EXPECT_GT(printed, 160 * 0.9);  // enlarged to the sheet's width
    }
  }
}

TEST_F(ControlPlotTest, PrinterPropertiesNameAndTurnTheDefaultPrinter) {
  UniqueBstr name;
  ASSERT_EQ(host->ctl->get_PrinterName(name.put()), S_OK);
  ASSERT_NE(name.get(), nullptr);
  EXPECT_EQ(std::wstring(name.get()), std::wstring(printer.name().begin(), printer.name().end()));
  short orientation = 0;
  ASSERT_EQ(host->ctl->get_Portrait_Landscape(&orientation), S_OK);
  EXPECT_EQ(orientation, 1);
  ASSERT_EQ(host->ctl->put_Portrait_Landscape(2), S_OK);
  ASSERT_EQ(host->ctl->get_Portrait_Landscape(&orientation), S_OK);
  EXPECT_EQ(orientation, 2);
  // Landscape: the PostScript page is turned, so on the upright picture of the sheet the
  // line runs down the paper, still at true size.
  ASSERT_EQ(host->ctl->put_PrintScaleOptions(2), S_OK);
  ASSERT_EQ(host->ctl->Plot(0), S_OK);
  test::Picture page;
  ASSERT_TRUE(test::ReadPng(printer.pictureFile(), page));
  EXPECT_NEAR(LongestRedRun(page, true) * 25.4 / kDpi, 160, 1.5);
  EXPECT_LT(LongestRedRun(page) * 25.4 / kDpi, 5);
}

// The print dialog on the control's template: opened on fit with the fit percentage shown and
// not editable; a percentage chosen there is what the paper shows, and the next dialog opens on it.
TEST_F(ControlPlotTest, PrintDialogChoosesTheScale) {
  ASSERT_EQ(host->ctl->put_PlotSilent(0), S_OK);
  struct Seen {
    bool found = false, fitChecked = false, editEnabled = true;
    std::string caption, percentage;
  } first, second;
  auto drive = [](Seen& seen, const char* caption, const char* percentage) {
    HWND dialog = WaitForWindow(caption);
    if (dialog == nullptr) return;
    seen.found = true;
    char shown[64] = {};
    ::GetWindowTextA(dialog, shown, sizeof shown);
    seen.caption = shown;
    seen.fitChecked = ::IsDlgButtonChecked(dialog, 302) == BST_CHECKED;
    seen.editEnabled = ::IsWindowEnabled(::GetDlgItem(dialog, 305)) != FALSE;
    seen.percentage = ItemText(dialog, 305);
    if (percentage != nullptr) {
      ::SendMessageA(::GetDlgItem(dialog, 304), BM_CLICK, 0, 0);
      ::SetDlgItemTextA(dialog, 305, percentage);
    }
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  };

  std::thread user([&] { drive(first, "Plot", "50"); });
  ASSERT_EQ(host->ctl->Plot(0), S_OK);
  user.join();
  ASSERT_TRUE(first.found) << "no print dialog";
  EXPECT_EQ(first.caption, "Plot");
  EXPECT_TRUE(first.fitChecked);
  EXPECT_FALSE(first.editEnabled);
  // The 200 x 100 mm page on a sheet at least 190 mm wide: fitting enlarges it (above 90 %).
  EXPECT_GT(std::atof(first.percentage.c_str()), 90) << first.percentage;
  EXPECT_NEAR(PrintedLineMm(), 80, 1.5);
  LONG option = 0;
  ASSERT_EQ(host->ctl->get_PrintScaleOptions(&option), S_OK);
  EXPECT_EQ(option, 4);

  ::DeleteFileA(printer.pictureFile().c_str());
  std::thread again([&] { drive(second, "Plot View", nullptr); });
  ASSERT_EQ(host->ctl->Plot(1), S_OK);
  again.join();
  ASSERT_TRUE(second.found) << "no \"Plot View\" dialog";
  EXPECT_FALSE(second.fitChecked);
  EXPECT_TRUE(second.editEnabled);
  EXPECT_EQ(second.percentage, "50.000000");
}

TEST_F(ControlPlotTest, NegativePercentageKeepsTheDialogOpenAndCancelPrintsNothing) {
  ASSERT_EQ(host->ctl->put_PlotSilent(0), S_OK);
  std::atomic<bool> warned{false}, stayed{false};
  std::thread user([&] {
    HWND dialog = WaitForWindow("Plot");
    if (dialog == nullptr) return;
    ::SendMessageA(::GetDlgItem(dialog, 304), BM_CLICK, 0, 0);
    ::SetDlgItemTextA(dialog, 305, "-5");
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    if (HWND box = WaitForWindow("Error")) {
      warned = true;
      ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    ::Sleep(200);
    stayed = ::IsWindow(dialog) && ::IsWindowVisible(dialog);
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  });
  ::DeleteFileA(printer.pictureFile().c_str());
  ASSERT_EQ(host->ctl->Plot(0), S_OK);
  user.join();
  EXPECT_TRUE(warned);
  EXPECT_TRUE(stayed);
  EXPECT_EQ(::GetFileAttributesA(printer.pictureFile().c_str()), INVALID_FILE_ATTRIBUTES);
  LONG option = -2;
  ASSERT_EQ(host->ctl->get_PrintScaleOptions(&option), S_OK);
  EXPECT_EQ(option, 0);  // no plot
}

// Plot To Form silently: the tool is armed with the sheet's outline, a drag places it, and
// after the confirmation the plot is printed at true size.
TEST_F(ControlPlotTest, PlotToFormPrintsThePlacedAreaAfterConfirming) {
  ASSERT_EQ(host->ctl->put_PrintScaleOptions(2), S_OK);
  HWND window = host->ControlWindow();
  ASSERT_NE(window, nullptr);
  // Arms the tool, drags the outline's corner by real mouse messages to (page corner + shift)
  // and confirms; answers the printed line's start.
  double scale = 0;
  auto placeAndPrint = [&](int shift) {
    EXPECT_EQ(host->ctl->PlotToForm(), S_OK);
    std::atomic<bool> asked{false};
    std::thread user([&] {
      if (HWND dialog = WaitForWindow("Quillon")) {
        asked = true;
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      }
    });
    ::DeleteFileA(printer.pictureFile().c_str());
    // The sheet is taller than the window: arming zoomed the view out.
    double xOrg = 0, yOrg = 0;
    host->ctl->get_xOrg(&xOrg);
    host->ctl->get_yOrg(&yOrg);
    host->ctl->get_ViewScale(&scale);
    const int x = static_cast<int>(xOrg) + shift, y = static_cast<int>(yOrg);
    ::SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x + 30, y + 30));
    ::SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 15, y + 15));
    ::SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
    ::SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    user.join();
    EXPECT_TRUE(asked) << "no confirmation";
    return PrintedLineStart();
  };
  // The outline's corner on the page's corner: the sheet covers the whole 160 mm line.
  const POINT onCorner = placeAndPrint(0);
  EXPECT_NEAR(PrintedLineMm(), 160, 1.5);
  ASSERT_GT(scale, 0);
  // The sheet dragged 10 pixels further left: the plot lies 10 pixels' worth of millimetres
  // (one dot is a millimetre) further right on the paper.
  const POINT shifted = placeAndPrint(-10);
  ASSERT_GE(onCorner.x, 0);
  ASSERT_GE(shifted.x, 0);
  EXPECT_NEAR((shifted.x - onCorner.x) * 25.4 / kDpi, 10 / scale, 1.0);
  EXPECT_NEAR(shifted.y, onCorner.y, 2);
}

TEST_F(ControlPlotTest, PlotToFormCancelledPrintsNothing) {
  ASSERT_EQ(host->ctl->PlotToForm(), S_OK);
  HWND window = host->ControlWindow();
  std::thread user([&] {
    if (HWND dialog = WaitForWindow("Quillon")) {
      ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
  });
  ::DeleteFileA(printer.pictureFile().c_str());
  ::SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 40));
  ::SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 10));
  ::SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  user.join();
  EXPECT_EQ(::GetFileAttributesA(printer.pictureFile().c_str()), INVALID_FILE_ATTRIBUTES);
}

// With "Record" set, a finished print writes its keyword, the view it printed and the printer;
// a cancelled one writes nothing; the print set-up writes the printer it settled.
TEST_F(ControlPlotTest, PrintsAndThePrintSetUpAreJournalled) {
  test::TempFolder journals;
  char oldTmp[MAX_PATH] = {};
  const bool hadTmp = ::GetEnvironmentVariableA("TMP", oldTmp, MAX_PATH) > 0;
  ::SetEnvironmentVariableA("TMP", journals.path().c_str());
  ASSERT_TRUE(SetUserDword("Record", 1));
  // The journal opens at a load.
  const std::string again = folder.path() + "\\again.kpz";
  ASSERT_TRUE(::CopyFileA(plot.c_str(), again.c_str(), FALSE));
  UniqueBstr name(std::wstring(again.begin(), again.end()));
  ASSERT_EQ(host->ctl->put_DataFileName(name.get()), S_OK);
  host->Pump();

  ASSERT_EQ(host->ctl->Plot(1), S_OK);  // silent
  ASSERT_EQ(host->ctl->put_PlotSilent(0), S_OK);
  std::thread cancel([] {
    if (HWND dialog = WaitForWindow("Plot"))
      ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  });
  ASSERT_EQ(host->ctl->Plot(0), S_OK);
  cancel.join();
  std::thread confirm([] {
    if (HWND dialog = WaitForWindow("Plot Setup"))
      ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  ::SendMessageA(host->ControlWindow(), WM_COMMAND, 55, 0);
  confirm.join();
  ::SetEnvironmentVariableA("TMP", hadTmp ? oldTmp : nullptr);

  // The journal's lines, read with the control still alive: every record is flushed whole.
  std::vector<std::string> keywords, printerNames;
  WIN32_FIND_DATAA found{};
  HANDLE search = ::FindFirstFileA((journals.path() + "\\*.rec").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE) << "no journal";
  ::FindClose(search);
  std::ifstream journal(journals.path() + "\\" + found.cFileName, std::ios::binary);
  for (std::string line; std::getline(journal, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find('=') == std::string::npos) keywords.push_back(line);
    if (line.rfind("PrinterName=", 0) == 0) printerNames.push_back(line.substr(12));
  }
  EXPECT_EQ(keywords, (std::vector<std::string>{"PLOTVIEW", "PLOTSETUP"}));
  EXPECT_EQ(printerNames, (std::vector<std::string>{printer.name(), printer.name()}));
}

// The print choices outlive the document: a change of document saves them, the next one
// offers them again in its dialog; a saved printer or paper that is gone restores nothing.
TEST_F(ControlPlotTest, PrintChoicesComeBackWithTheNextDocument) {
  ASSERT_EQ(host->ctl->put_PlotSilent(0), S_OK);
  std::thread user([] {
    if (HWND dialog = WaitForWindow("Plot")) {
      ::SendMessageA(::GetDlgItem(dialog, 304), BM_CLICK, 0, 0);
      ::SetDlgItemTextA(dialog, 305, "150.5");
      ::SetDlgItemTextA(dialog, 1154, "3");
      ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
  });
  ASSERT_EQ(host->ctl->Plot(0), S_OK);
  user.join();
  UniqueBstr printerAtPlot;
  ASSERT_EQ(host->ctl->get_PrinterName(printerAtPlot.put()), S_OK);

  int documents = 0;
  // The change of document saves; the load at the next paint reads.
  auto reopen = [&](auto betweenSaveAndLoad) {
    const std::string next = folder.path() + "\\next" + std::to_string(++documents) + ".kpz";
    if (!::CopyFileA(plot.c_str(), next.c_str(), FALSE)) ADD_FAILURE() << "no copy of the plot";
    UniqueBstr name(std::wstring(next.begin(), next.end()));
    EXPECT_EQ(host->ctl->put_DataFileName(name.get()), S_OK);
    betweenSaveAndLoad();
    host->Pump();
  };
  reopen([] {});
  const auto saved = [](const char* name) {
    return ReadRegText(HKEY_CURRENT_USER, kUserSettingsKey, name).text;
  };
  EXPECT_EQ(saved("PlotScale"), "150.5");
  EXPECT_EQ(saved("ButtonFlags"), "4.");
  EXPECT_EQ(saved("DeviceName"), printer.name());
  EXPECT_EQ(saved("Copies"), "1.") << "three copies were printed, one is saved";
  EXPECT_EQ(saved("PrinterName"), printer.name());

  // The next document's dialog offers the saved choice, its percentage truncated.
  std::string percentage;
  bool percentageChosen = false;
  std::thread look([&] {
    if (HWND dialog = WaitForWindow("Plot")) {
      percentage = ItemText(dialog, 305);
      percentageChosen = ::IsDlgButtonChecked(dialog, 304) == BST_CHECKED;
      ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
  });
  ASSERT_EQ(host->ctl->Plot(0), S_OK);
  look.join();
  EXPECT_TRUE(percentageChosen);
  EXPECT_EQ(percentage, "150.000000");

  // A paper the printer does not list, then a printer that is gone: nothing of the saved
  // set-up comes back; the set-up held (the default printer's) stays.
  UniqueBstr defaultForm;
  ASSERT_EQ(host->ctl->get_FormName(defaultForm.put()), S_OK);
  for (const auto& [value, text] : {std::pair{"FormName", "No Such Paper"},
                                    std::pair{"DeviceName", "Printer That Went Away"}}) {
    SCOPED_TRACE(value);
    reopen([&] { EXPECT_TRUE(SetUserText(value, text)); });
    UniqueBstr name, form;
    ASSERT_EQ(host->ctl->get_PrinterName(name.put()), S_OK);
    ASSERT_EQ(host->ctl->get_FormName(form.put()), S_OK);
    EXPECT_EQ(std::wstring(name.get()), std::wstring(printerAtPlot.get()));
    EXPECT_EQ(std::wstring(form.get()), std::wstring(defaultForm.get()));
  }
}

// The dialog's "&Properties" opens the printer driver's own settings.
TEST_F(ControlPlotTest, PropertiesButtonOpensTheDriversSettings) {
  ASSERT_EQ(host->ctl->put_PlotSilent(0), S_OK);
  std::atomic<bool> sheetShown{false};
  std::thread user([&] {
    HWND dialog = WaitForWindow("Plot");
    if (dialog == nullptr) return;
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(306, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, 306)));
    // The driver's sheet is a new window of this process that the dialog is disabled under.
    for (int i = 0; i < 300 && !sheetShown; ++i) {
      HWND active = ::GetLastActivePopup(dialog);
      if (active != nullptr && active != dialog && ::IsWindowVisible(active)) {
        sheetShown = true;
        ::PostMessageA(active, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        ::PostMessageA(active, WM_CLOSE, 0, 0);
      }
      ::Sleep(10);
    }
    for (int i = 0; i < 200 && !::IsWindowEnabled(dialog); ++i) ::Sleep(10);
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  });
  ASSERT_EQ(host->ctl->Plot(0), S_OK);
  user.join();
  EXPECT_TRUE(sheetShown);
}

// PlotWithForm places the page's origin the given printer pixels into the printable area: the
// printed line moves by exactly that much between two origins.
TEST_F(ControlPlotTest, PlotWithFormPutsTheOriginWhereAsked) {
  ASSERT_EQ(host->ctl->put_PrintScaleOptions(2), S_OK);
  int printerDpi = 0;
  {
    UniqueDc ic(::CreateICA(nullptr, printer.name().c_str(), nullptr, nullptr));
    ASSERT_TRUE(ic);
    printerDpi = ::GetDeviceCaps(ic.get(), LOGPIXELSX);
  }
  ASSERT_GT(printerDpi, 0);
  auto lineStart = [&](double x, double y) {
    ::DeleteFileA(printer.pictureFile().c_str());
    EXPECT_EQ(host->ctl->PlotWithForm(x, y), S_OK);
    return PrintedLineStart();
  };
  const POINT at0 = lineStart(0, 0);
  const POINT moved = lineStart(printerDpi, printerDpi / 2.0);  // one inch right, half down
  ASSERT_GE(at0.x, 0);
  ASSERT_GE(moved.x, 0);
  EXPECT_NEAR(moved.x - at0.x, kDpi, 2);
  EXPECT_NEAR(moved.y - at0.y, kDpi / 2, 2);
  // The page's 20 mm left margin before the line: the origin itself sits in the printable
  // area's corner, a few millimetres in from the sheet's edge.
  EXPECT_NEAR(at0.x * 25.4 / kDpi, 20, 15);
}

// Another printer chosen in the dialog's list: the fit percentage follows its paper.
TEST_F(ControlPlotTest, ChoosingAnotherPrinterRecomputesTheFit) {
  test::TempFolder otherFolder;
  test::PostScriptTestPrinter a3(otherFolder.path(), 0, "A3");
  ASSERT_TRUE(a3.Install()) << a3.error();
  ASSERT_EQ(host->ctl->put_PlotSilent(0), S_OK);
  std::string onA4, onA3;
  std::thread user([&] {
    HWND dialog = WaitForWindow("Plot");
    if (dialog == nullptr) return;
    onA4 = ItemText(dialog, 305);
    HWND list = ::GetDlgItem(dialog, 1139);
    ::SendMessageA(list, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(a3.name().c_str()));
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1139, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
    for (int i = 0; i < 200 && ItemText(dialog, 305) == onA4; ++i) ::Sleep(10);
    onA3 = ItemText(dialog, 305);
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  });
  ASSERT_EQ(host->ctl->Plot(0), S_OK);
  user.join();
  // The 200 x 100 mm page: the printable width limits it on both sheets; A3's is 1.41 times
  // A4's, a little more with the same margins.
  const double a4 = std::atof(onA4.c_str()), a3Fit = std::atof(onA3.c_str());
  EXPECT_GT(a4, 90) << onA4;
  EXPECT_GT(a3Fit / a4, 1.38) << onA4 << " then " << onA3;
  EXPECT_LT(a3Fit / a4, 1.5) << onA4 << " then " << onA3;
}

// At fit the page turns with the view: at 270 the line across the page runs down the paper,
// enlarged to the sheet's printable height (at least 270 mm of A4's 297).
TEST_F(ControlPlotTest, FitTurnsThePageWithTheView) {
  // Turned by a script and printed at once, before any paint shows the turn.
  ASSERT_EQ(host->ctl->put_Rot(270), S_OK);
  ASSERT_EQ(host->ctl->put_PrintScaleOptions(1), S_OK);
  ::DeleteFileA(printer.pictureFile().c_str());
  ASSERT_EQ(host->ctl->Plot(0), S_OK);
  test::Picture page;
  ASSERT_TRUE(test::ReadPng(printer.pictureFile(), page));
  const double down = LongestRedRun(page, true) * 25.4 / kDpi;
  const double across = LongestRedRun(page, false) * 25.4 / kDpi;
  // The 200 x 100 mm page fits by its 200 mm side to the printable height: 160 mm of line
  // become 160 * height / 200.
  EXPECT_GT(down, 160 * 270 / 200.0) << down;
  EXPECT_LT(across, 5) << across;
}

}  // namespace
}  // namespace quillon::control_test
