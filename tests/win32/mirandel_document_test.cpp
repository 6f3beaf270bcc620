// The viewer with plots opened in it: the open dialog answered as a user would, the command
// line, the second file replacing the first, the zoom and extent commands seen on the screen,
// and the print commands. The real program hosts the real control, registered for the test.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/command_ids.h"
#include "host/host_texts.h"
#include "tests/win32/mirandel_plot_files.h"
#include "tests/win32/mirandel_session.h"
#include "tests/win32/postscript_test_printer.h"
#include "tests/win32/temp_folder.h"

namespace quillon::mirandel {
namespace {

using test::CountNear;
using test::MirandelSession;

constexpr std::uint32_t kRed = 0xD00000;  // 0x00RRGGBB as the screen pictures hold it
constexpr std::uint32_t kBlue = 0x0000D0;

// Tool-bar positions (separators included).
constexpr int kOpenButton = 1;
constexpr int kPrintViewButton = 4;
constexpr int kPrintMapButton = 5;
constexpr int kZoomInButton = 7;
constexpr int kZoomOutButton = 8;
constexpr int kExtentButton = 9;

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

class MirandelDocument : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { registered_ = MirandelSession::RegisterControl(); }

  void SetUp() override {
    ASSERT_EQ(registered_, S_OK) << "quillon.dll beside the tests could not be registered";
    ASSERT_FALSE(folder_.path().empty());
    redPlot_ = Wide(folder_.Write("red lines.kpz", test::GridPlot(0xD0, 0, 0)));
    bluePlot_ = Wide(folder_.Write("blue-lines.kpz", test::GridPlot(0, 0, 0xD0)));
    ASSERT_FALSE(redPlot_.empty());
    ASSERT_FALSE(bluePlot_.empty());
  }

  void TearDown() override {
    for (HWND dialog : session_.VisibleDialogs())
      ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(session_.Exit()) << "the program did not end";
  }

  // Starts with a plot given on the command line and hides the About window.
  void StartWith(const std::wstring& plot) {
    ASSERT_TRUE(session_.Start(plot));
    ::SendMessageW(::GetDlgItem(session_.TopWindow(kAboutBoxClass), IDOK), BM_CLICK, 0, 0);
    session_.Settle(300);
    ASSERT_TRUE(::IsWindowVisible(session_.control()));
    ASSERT_TRUE(session_.VisibleDialogs().empty()) << "a message came up while opening";
  }

  void ExpectDocumentCommandsEnabled() {
    for (int command : {kCmdPrintView, kCmdPrintMapButton, kCmdZoomIn, kCmdZoomOut, kCmdExtent})
      EXPECT_TRUE(session_.ButtonEnabled(command)) << "button " << command;
  }
  // The menus as drawn; the About window must be hidden.
  void ExpectDocumentMenusEnabled() {
    EXPECT_EQ(session_.MenuItemsShownEnabled(L'a'), (std::vector<bool>{true, true, true, true}));
    EXPECT_EQ(session_.MenuItemsShownEnabled(L'v'), (std::vector<bool>{true, true, true}));
  }

  static HRESULT registered_;
  test::TempFolder folder_;
  std::wstring redPlot_, bluePlot_;
  MirandelSession session_;
};

HRESULT MirandelDocument::registered_ = E_FAIL;

TEST_F(MirandelDocument, OpenDialogShowsThePlotAndASecondFileReplacesIt) {
  ASSERT_TRUE(session_.Start());
  ::SendMessageW(::GetDlgItem(session_.TopWindow(kAboutBoxClass), IDOK), BM_CLICK, 0, 0);
  HWND before = session_.control();

  session_.ClickButton(kOpenButton);
  HWND dialog = session_.WaitForDialog(5000);
  ASSERT_NE(dialog, nullptr) << "the open button brought up no dialog";
  ASSERT_TRUE(session_.AnswerOpenDialog(dialog, redPlot_));
  EXPECT_EQ(session_.StatusText(), kOpenedPrefix + redPlot_);
  EXPECT_TRUE(::IsWindowVisible(session_.control()));
  ExpectDocumentCommandsEnabled();
  ExpectDocumentMenusEnabled();
  std::vector<std::uint32_t> first = session_.ControlPicture();
  EXPECT_GT(CountNear(first, kRed), 500) << "the red plot is not drawn";
  EXPECT_EQ(CountNear(first, kBlue), 0);
  EXPECT_TRUE(session_.VisibleDialogs().empty());

  session_.PressShortCut('A');
  dialog = session_.WaitForDialog(5000);
  ASSERT_NE(dialog, nullptr) << "Ctrl+A brought up no dialog";
  ASSERT_TRUE(session_.AnswerOpenDialog(dialog, bluePlot_));
  EXPECT_EQ(session_.StatusText(), kOpenedPrefix + bluePlot_);
  EXPECT_EQ(session_.control(), before) << "the same control shows the second file";
  std::vector<std::uint32_t> second = session_.ControlPicture();
  EXPECT_GT(CountNear(second, kBlue), 500) << "the blue plot is not drawn";
  EXPECT_EQ(CountNear(second, kRed), 0) << "the first plot is still shown";
  ExpectDocumentCommandsEnabled();
}

TEST_F(MirandelDocument, CommandLineFileOpensAtStartUp) {
  ASSERT_TRUE(session_.Start(redPlot_));
  EXPECT_EQ(session_.StatusText(), kOpenedPrefix + redPlot_);
  EXPECT_TRUE(::IsWindowVisible(session_.control()));
  ExpectDocumentCommandsEnabled();
  EXPECT_TRUE(::IsWindowVisible(session_.TopWindow(kAboutBoxClass))) << "About shows all the same";
  ::SendMessageW(::GetDlgItem(session_.TopWindow(kAboutBoxClass), IDOK), BM_CLICK, 0, 0);
  EXPECT_GT(CountNear(session_.ControlPicture(), kRed), 500);
}

TEST_F(MirandelDocument, DraggingWithTheMouseMovesThePlot) {
  StartWith(redPlot_);
  const std::vector<std::uint32_t> before = session_.ControlPicture();
  const int width = session_.ControlWidth();
  const int height = static_cast<int>(before.size()) / width;
  // The control's own window inside the container's.
  HWND control = ::FindWindowExW(session_.control(), nullptr, L"QuillonCtlWindow", nullptr);
  ASSERT_NE(control, nullptr);
  ::PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
  ::PostMessageW(control, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(130, 110));
  ::PostMessageW(control, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(160, 130));
  ::PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(160, 130));
  session_.Settle(300);
  const std::vector<std::uint32_t> after = session_.ControlPicture();
  ASSERT_EQ(after.size(), before.size());
  EXPECT_NE(after, before) << "the drag left the plot where it was";
  // The plot is drawn again 60 pixels right and 30 down: its red comes along.
  int red = 0, followed = 0;
  for (int y = 0; y + 30 < height - 40; ++y) {
    for (int x = 0; x + 60 < width; ++x) {
      if (before[y * width + x] != kRed) continue;
      ++red;
      followed += after[(y + 30) * width + x + 60] == kRed;
    }
  }
  ASSERT_GT(red, 200);
  EXPECT_GT(followed, red * 95 / 100);
  EXPECT_TRUE(session_.VisibleDialogs().empty());
}

TEST_F(MirandelDocument, ZoomInThenOutReturnsToTheFormerView) {
  StartWith(redPlot_);
  const std::vector<std::uint32_t> fitted = session_.ControlPicture();
  ASSERT_GT(CountNear(fitted, kRed), 500);

  session_.PressShortCut('X');
  const std::vector<std::uint32_t> zoomed = session_.ControlPicture();
  EXPECT_NE(zoomed, fitted) << "Ctrl+X did not zoom";
  const int width = session_.ControlWidth();
  const int fittedCrossings = test::TypicalCrossings(fitted, width, kRed);
  const int zoomedCrossings = test::TypicalCrossings(zoomed, width, kRed);
  EXPECT_GT(zoomedCrossings, 0) << "the plot left the view";
  EXPECT_LT(zoomedCrossings, fittedCrossings) << "the grid did not spread out";
  session_.PressShortCut('Z');
  EXPECT_EQ(session_.ControlPicture(), fitted) << "Ctrl+X then Ctrl+Z changed the view";

  session_.ClickButton(kZoomInButton);
  EXPECT_EQ(session_.ControlPicture(), zoomed) << "the button zooms by the same step";
  session_.ClickButton(kZoomOutButton);
  EXPECT_EQ(session_.ControlPicture(), fitted);

  session_.ChooseMenu(kCmdZoomIn);
  session_.ChooseMenu(kCmdZoomIn);
  EXPECT_NE(session_.ControlPicture(), zoomed);
  session_.ClickButton(kExtentButton);
  EXPECT_EQ(session_.ControlPicture(), fitted) << "extent fits the whole plot again";
  session_.ChooseMenu(kCmdZoomIn);
  session_.PressShortCut('E');
  EXPECT_EQ(session_.ControlPicture(), fitted);
  EXPECT_TRUE(session_.VisibleDialogs().empty());
}

TEST_F(MirandelDocument, PrintMapButtonDoesNothingWhilePrintCommandsCallTheControl) {
  StartWith(redPlot_);
  const std::vector<std::uint32_t> view = session_.ControlPicture();

  session_.ClickButton(kPrintMapButton);
  EXPECT_EQ(session_.WaitForDialog(1500), nullptr) << "the print-map button did something";
  EXPECT_EQ(session_.ControlPicture(), view);

  // The print view button, and both print items by their short cuts, call the control's
  // Plot, which asks for the printer in the print dialog; cancelling it prints nothing.
  auto expectPrintDialog = [&](const char* how) {
    HWND dialog = session_.WaitForDialog(8000);
    ASSERT_NE(dialog, nullptr) << how << " did not reach the control";
    EXPECT_EQ(session_.DialogText(dialog).find(L"not available"), std::wstring::npos) << how;
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    for (int i = 0; i < 100 && !session_.VisibleDialogs().empty(); ++i) ::Sleep(50);
    session_.Settle(300);
    EXPECT_TRUE(session_.VisibleDialogs().empty()) << how << " left a dialog";
  };
  session_.ClickButton(kPrintViewButton);
  expectPrintDialog("the print view button");
  session_.PressShortCut('V');
  expectPrintDialog("Ctrl+V");
  session_.PressShortCut('M');
  expectPrintDialog("Ctrl+M");
}

// Copy in the control's right-click menu: the tenth entry (five tools, Fit Image, the two
// rotations, Measure, Copy) puts the view on the clipboard as a picture and as a bitmap.
TEST_F(MirandelDocument, CopyInTheControlsMenuFillsTheClipboard) {
  StartWith(redPlot_);
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  ::CloseClipboard();
  ASSERT_TRUE(session_.ChooseFromControlMenu(10)) << "no menu";
  bool picture = false, bitmap = false;
  for (int i = 0; i < 40 && !(picture && bitmap); ++i) {
    picture = ::IsClipboardFormatAvailable(CF_ENHMETAFILE);
    bitmap = ::IsClipboardFormatAvailable(CF_BITMAP);
    if (!(picture && bitmap)) ::Sleep(50);
  }
  EXPECT_TRUE(picture);
  EXPECT_TRUE(bitmap);
  EXPECT_TRUE(session_.VisibleDialogs().empty());
}

// "Imprimir Mapa" (Ctrl+M) with a printer: the control's dialog, OK, and a page is spooled.
TEST_F(MirandelDocument, PrintMapPrintsAPageOnTheDefaultPrinter) {
  test::PostScriptTestPrinter printer(folder_.path(), 0);
  ASSERT_TRUE(printer.Install()) << printer.error();
  ASSERT_TRUE(::SetDefaultPrinterA(printer.name().c_str()));
  StartWith(redPlot_);
  session_.PressShortCut('M');
  HWND dialog = session_.WaitForDialog(8000);
  ASSERT_NE(dialog, nullptr) << "no print dialog";
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  std::string postScript;
  for (int i = 0; i < 200 && postScript.find("%%EOF") == std::string::npos; ++i) {
    ::Sleep(100);
    if (FILE* f = std::fopen(printer.postScriptFile().c_str(), "rb")) {
      char buffer[4096];
      postScript.clear();
      for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
        postScript.append(buffer, n);
      std::fclose(f);
    }
  }
  EXPECT_NE(postScript.find("%%Page: 1"), std::string::npos) << "no page was spooled";
  EXPECT_TRUE(session_.VisibleDialogs().empty());
}

TEST_F(MirandelDocument, ARejectedFileIsReportedByTheControlAndCommandsStayEnabled) {
  const std::wstring junk =
      Wide(folder_.Write("not-a-plot.kpz", {'n', 'o', 't', ' ', 'k', 'p', 'z'}));
  ASSERT_TRUE(session_.Start(junk));
  EXPECT_EQ(session_.StatusText(), kOpenedPrefix + junk);
  ExpectDocumentCommandsEnabled();
  // The control says so itself at its first paint, in its own message box.
  HWND message = nullptr;
  for (int i = 0; i < 100 && message == nullptr; ++i) {
    for (HWND dialog : session_.VisibleDialogs()) {
      wchar_t caption[128] = {};
      ::GetWindowTextW(dialog, caption, 128);
      if (std::wstring(caption) == L"QUILLON ActiveX Control") message = dialog;
    }
    if (message == nullptr) ::Sleep(50);
  }
  ASSERT_NE(message, nullptr) << "the control did not report the rejected file";
  ::PostMessageW(message, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  session_.Settle(300);

  // A zoom now fails in the control: the viewer shows the failure's description and goes on.
  session_.ChooseMenu(kCmdZoomIn);
  HWND failure = session_.WaitForDialog(3000);
  ASSERT_NE(failure, nullptr) << "the failed zoom was not reported";
  wchar_t caption[64] = {};
  ::GetWindowTextW(failure, caption, 64);
  EXPECT_EQ(std::wstring(caption), kAppTitle);
  EXPECT_FALSE(session_.DialogText(failure).empty());
  ::PostMessageW(failure, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  session_.Settle(300);
  EXPECT_TRUE(::IsWindowEnabled(session_.frame()));
  EXPECT_TRUE(session_.ButtonEnabled(kCmdZoomIn));
}

}  // namespace
}  // namespace quillon::mirandel
