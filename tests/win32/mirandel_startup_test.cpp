// The viewer as a user finds it at start-up: its windows, the About window, the disabled
// document commands and short cuts, and the hints in the status line. The real program runs
// in its own process; the test reaches it only through its windows and the keyboard.

#include <gtest/gtest.h>
#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>

#include <string>
#include <vector>

#include "host/command_ids.h"
#include "host/form_metrics.h"
#include "host/host_texts.h"
#include "tests/win32/mirandel_session.h"

namespace quillon::mirandel {
namespace {

using test::MirandelSession;

// Positions of the tool-bar entries (separators included) and their hints.
struct ButtonHint {
  int position;
  int command;
  const wchar_t* hint;
};
constexpr ButtonHint kButtonHints[] = {
    {1, kCmdOpen, kHintOpen},           {2, kCmdExit, kHintExit},
    {4, kCmdPrintView, kHintPrintView}, {5, kCmdPrintMapButton, kHintPrintMap},
    {7, kCmdZoomIn, kHintZoomIn},       {8, kCmdZoomOut, kHintZoomOut},
    {9, kCmdExtent, kHintExtent},
};

std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  ::GetWindowTextW(window, text, 256);
  return text;
}

HWND ChildWithText(HWND parent, const std::wstring& text) {
  for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    if (TextOf(child) == text) return child;
  return nullptr;
}

class MirandelStartup : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(session_.Start()) << "mirandel.exe did not show its window"; }
  void TearDown() override { EXPECT_TRUE(session_.Exit()) << "the program did not end"; }

  MirandelSession session_;
};

TEST_F(MirandelStartup, MainWindowIsAnMdiFrameWithToolBarAndStatusLine) {
  HWND frame = session_.frame();
  EXPECT_EQ(TextOf(frame), kAppTitle);
  RECT outer;
  ::GetWindowRect(frame, &outer);
  EXPECT_EQ(outer.right - outer.left, kMainFormWidth);
  EXPECT_EQ(outer.bottom - outer.top, kMainFormHeight);
  EXPECT_NE(session_.Child(L"MDIClient"), nullptr);

  RECT client, bar, status;
  ::GetClientRect(frame, &client);
  ::GetWindowRect(session_.toolBar(), &bar);
  ::GetWindowRect(session_.statusLine(), &status);
  EXPECT_EQ(bar.bottom - bar.top, kToolBarHeight);
  EXPECT_EQ(status.bottom - status.top, kStatusLineHeight);
  EXPECT_EQ(status.right - status.left, client.right);
  POINT statusTop{status.left, status.top};
  ::ScreenToClient(frame, &statusTop);
  EXPECT_EQ(statusTop.y, client.bottom - kStatusLineHeight);
  EXPECT_EQ(::SendMessageW(session_.statusLine(), SB_GETPARTS, 0, 0), 1);
  EXPECT_EQ(session_.StatusText(), L"");

  // The control's container is there from the start but hidden until a file is opened.
  ASSERT_NE(session_.control(), nullptr);
  EXPECT_FALSE(::IsWindowVisible(session_.control()));

  // Form1: created, empty and never shown.
  HWND form1 = session_.TopWindow(kForm1Class);
  ASSERT_NE(form1, nullptr);
  EXPECT_EQ(TextOf(form1), kForm1Caption);
  EXPECT_FALSE(::IsWindowVisible(form1));
  EXPECT_EQ(::GetWindow(form1, GW_CHILD), nullptr);
}

TEST_F(MirandelStartup, AboutWindowShowsAtStartAndOkHidesIt) {
  HWND about = session_.TopWindow(kAboutBoxClass);
  ASSERT_NE(about, nullptr);
  EXPECT_TRUE(::IsWindowVisible(about));
  EXPECT_EQ(TextOf(about), kAboutCaption);
  EXPECT_EQ(::GetWindow(about, GW_OWNER), session_.frame()) << "it must stay above the main window";
  RECT client, outer;
  ::GetClientRect(about, &client);
  ::GetWindowRect(about, &outer);
  EXPECT_EQ(client.right, kAboutClientWidth);
  EXPECT_EQ(client.bottom, kAboutClientHeight);
  EXPECT_NEAR((outer.left + outer.right) / 2, ::GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR((outer.top + outer.bottom) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2, 1);
  EXPECT_EQ(::GetWindowLongW(about, GWL_STYLE) & WS_THICKFRAME, 0) << "fixed border";
  for (const wchar_t* line : {kAppTitle, kAboutVersion, kAboutPlatform})
    EXPECT_NE(ChildWithText(about, line), nullptr) << "missing line";

  HWND ok = ::GetDlgItem(about, IDOK);
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(TextOf(ok), kAboutOk);
  EXPECT_EQ(::GetWindowLongW(ok, GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
  // Not modal: the main window takes input while the About window shows.
  EXPECT_TRUE(::IsWindowEnabled(session_.frame()));

  ::SendMessageW(ok, BM_CLICK, 0, 0);
  session_.Settle();
  EXPECT_TRUE(::IsWindow(about)) << "OK hides the window, it does not destroy it";
  EXPECT_FALSE(::IsWindowVisible(about));

  session_.ChooseMenu(kCmdAbout);
  EXPECT_TRUE(::IsWindowVisible(about));
  EXPECT_TRUE(::IsWindowEnabled(session_.frame()));
  EXPECT_EQ(session_.TopWindow(kAboutBoxClass), about) << "the same window shows again";
  // The main window still answers while the About window shows.
  session_.HoverButton(1);
  EXPECT_EQ(session_.StatusText(), kHintOpen);

  ::SendMessageW(ok, BM_CLICK, 0, 0);
  session_.Settle();
  EXPECT_FALSE(::IsWindowVisible(about));
  // Ctrl+N, the new-window short cut, shows it as well.
  session_.PressShortCut('N');
  EXPECT_TRUE(::IsWindowVisible(about));
}

TEST(MirandelExit, ExitButtonEndsTheProgram) {
  MirandelSession session;
  ASSERT_TRUE(session.Start());
  session.ClickButton(2);
  EXPECT_EQ(::WaitForSingleObject(session.process(), 10000), WAIT_OBJECT_0);
}

TEST(MirandelExit, CtrlSEndsTheProgram) {
  MirandelSession session;
  ASSERT_TRUE(session.Start());
  session.PressShortCut('S');
  EXPECT_EQ(::WaitForSingleObject(session.process(), 10000), WAIT_OBJECT_0);
}

TEST_F(MirandelStartup, DocumentCommandsStartDisabled) {
  EXPECT_TRUE(session_.ButtonEnabled(kCmdOpen));
  EXPECT_TRUE(session_.ButtonEnabled(kCmdExit));
  for (int command : {kCmdPrintView, kCmdPrintMapButton, kCmdZoomIn, kCmdZoomOut, kCmdExtent})
    EXPECT_FALSE(session_.ButtonEnabled(command)) << "button " << command;
  // The menus as drawn: "&Abrir" and "&Salir" enabled, the print items and the whole "&Ver"
  // menu grayed.
  ::SendMessageW(::GetDlgItem(session_.TopWindow(kAboutBoxClass), IDOK), BM_CLICK, 0, 0);
  EXPECT_EQ(session_.MenuItemsShownEnabled(L'a'), (std::vector<bool>{true, false, false, true}));
  EXPECT_EQ(session_.MenuItemsShownEnabled(L'v'), (std::vector<bool>{false, false, false}));
}

TEST_F(MirandelStartup, DocumentShortCutsDoNothingBeforeAFileIsOpened) {
  // A zoom or print reaching the control now would bring up its refusal or the print dialog.
  for (char key : {'V', 'M', 'X', 'Z', 'E'}) {
    session_.PressShortCut(key);
    EXPECT_EQ(session_.WaitForDialog(400), nullptr) << "Ctrl+" << key << " did something";
  }
  EXPECT_FALSE(::IsWindowVisible(session_.control()));

  // The keys do reach the program: Ctrl+A brings up the open dialog; cancelling changes nothing.
  session_.PressShortCut('A');
  HWND dialog = session_.WaitForDialog(5000);
  ASSERT_NE(dialog, nullptr) << "Ctrl+A did not open the open dialog";
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  session_.Settle(300);
  EXPECT_TRUE(session_.VisibleDialogs().empty());
  EXPECT_EQ(session_.StatusText(), L"");
  EXPECT_FALSE(::IsWindowVisible(session_.control()));
  EXPECT_FALSE(session_.ButtonEnabled(kCmdZoomIn));
}

TEST_F(MirandelStartup, ButtonHintsShowInTheStatusLineOnly) {
  for (const ButtonHint& b : kButtonHints) {
    session_.HoverButton(b.position);
    EXPECT_EQ(session_.StatusText(), b.hint) << "button at position " << b.position;
  }
  // Off the buttons the line shows its own text again.
  ::PostMessageW(session_.toolBar(), WM_MOUSEMOVE, 0, MAKELPARAM(500, 11));
  session_.Settle();
  EXPECT_EQ(session_.StatusText(), L"");
  EXPECT_EQ(session_.TopWindow(TOOLTIPS_CLASSW), nullptr) << "the buttons have no tool tips";
}

TEST_F(MirandelStartup, FileMenuHintShowsWhileTheMenuIsOpen) {
  ::SendMessageW(::GetDlgItem(session_.TopWindow(kAboutBoxClass), IDOK), BM_CLICK, 0, 0);
  ::SetForegroundWindow(session_.frame());
  session_.Settle(100);
  // What F10 turns into: the menu bar is entered with "&Archivo" highlighted, not dropped.
  ::PostMessageW(session_.frame(), WM_SYSCOMMAND, SC_KEYMENU, 0);
  std::wstring shown;
  for (int i = 0; i < 40 && shown != kFileMenuHint; ++i) {
    ::Sleep(50);
    shown = session_.StatusText();
  }
  EXPECT_EQ(shown, kFileMenuHint);
  INPUT escape[2] = {};
  for (INPUT& key : escape) key.type = INPUT_KEYBOARD;
  escape[0].ki.wVk = VK_ESCAPE;
  escape[1].ki.wVk = VK_ESCAPE;
  escape[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, escape, sizeof(INPUT));
  ::SendInput(2, escape, sizeof(INPUT));
  session_.Settle(300);
  EXPECT_EQ(session_.StatusText(), L"");
}

}  // namespace
}  // namespace quillon::mirandel
