// The mouse tools as a user meets them: real mouse messages to the control hosted in a real
// container, the view read back through IQuillonCtl, the screen where only it can show the
// effect (the shifted image of a pan drag, an inverted rubber rectangle), and the right-click
// menu driven with the keyboard and read back from the popup's own menu handle.

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "interact/view_state.h"
#include "tests/support/kpz_builder.h"
#include "tests/win32/control_host.h"
#include "tests/win32/postscript_test_printer.h"
#include "tests/win32/temp_folder.h"

namespace quillon::control_test {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// 400 x 317: a drawing area of 400 x 299 over the 17 rows of the status strip.
constexpr int kWidth = 400;
constexpr int kHeight = 317;
constexpr int kAreaHeight = 299;

// A 400 x 300 dot page (0.4 m by 0.3 m) with a thick red bar.
std::vector<std::uint8_t> BarPlot() {
  KpzBuilder b;
  b.PageSize(0.4, 0.3, 1000);
  b.BeginPage().LineWidth(12).LineCap(0);
  b.LineColour(KpzBuilder::Rgb(255, 0, 0)).Polyline({{20, 40}, {180, 40}});
  b.EndPage();
  return b.Build();
}

struct View {
  double scale = 0, x = 0, y = 0;
};

// One entry of a popup as the menu handle gives it.
struct Item {
  UINT id = 0;  // 0xFFFFFFFF for a sub-menu
  bool separator = false, checked = false, greyed = false;
  std::vector<Item> items;
};

std::vector<Item> ReadMenu(HMENU menu) {
  std::vector<Item> out;
  const int n = ::GetMenuItemCount(menu);
  for (int i = 0; i < n; ++i) {
    Item item;
    const UINT state = ::GetMenuState(menu, i, MF_BYPOSITION);
    item.id = ::GetMenuItemID(menu, i);
    item.separator = (state & MF_SEPARATOR) != 0;
    item.checked = (state & MF_CHECKED) != 0;
    item.greyed = (state & MF_GRAYED) != 0;
    if (HMENU sub = ::GetSubMenu(menu, i)) item.items = ReadMenu(sub);
    out.push_back(item);
  }
  return out;
}

// "id[c][g]" per entry, "-" for separators, "[...]" for sub-menus.
std::string Describe(const std::vector<Item>& items) {
  std::string s;
  for (const Item& i : items) {
    if (!s.empty()) s += ' ';
    if (i.separator) {
      s += '-';
    } else if (!i.items.empty()) {
      s += '[' + Describe(i.items) + ']';
    } else {
      s += std::to_string(i.id) + (i.checked ? "c" : "") + (i.greyed ? "g" : "");
    }
  }
  return s;
}

BOOL CALLBACK FindPopupWindow(HWND window, LPARAM param) {
  char name[16] = {};
  ::GetClassNameA(window, name, sizeof name);
  if (std::string(name) != "#32768" || !::IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(param) = window;
  return FALSE;
}

HWND FindPopup(DWORD thread) {
  HWND found = nullptr;
  ::EnumThreadWindows(thread, FindPopupWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

class ControlMouseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegisterControl(), S_OK);
    plot = folder.Write("bar.kpz", BarPlot());
    host = std::make_unique<HostedControl>(kWidth, kHeight);
    ASSERT_TRUE(host->ok());
    UniqueBstr name(std::wstring(plot.begin(), plot.end()));
    ASSERT_EQ(host->ctl->put_DataFileName(name.get()), S_OK);
    host->Pump();
    window = host->ControlWindow();
    ASSERT_NE(window, nullptr);
  }

  View Read() {
    View v;
    host->ctl->get_ViewScale(&v.scale);
    host->ctl->get_xOrg(&v.x);
    host->ctl->get_yOrg(&v.y);
    return v;
  }

  void Mouse(UINT msg, int x, int y, WPARAM keys = 0) {
    ::SendMessageA(window, msg, keys, MAKELPARAM(x, y));
  }
  void Click(int x, int y) {
    Mouse(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, x, y);
    host->Pump();
  }
  void Drag(std::initializer_list<POINT> path) {
    const POINT first = *path.begin();
    Mouse(WM_LBUTTONDOWN, first.x, first.y, MK_LBUTTON);
    for (const POINT& p : path) Mouse(WM_MOUSEMOVE, p.x, p.y, MK_LBUTTON);
  }

  // Opens the menu with a right click at (x, y); while it is up, `inMenu` runs on another
  // thread with the popup's window and menu. Answers the menu as it was read.
  std::vector<Item> RightClick(int x, int y, std::function<void(HWND, HMENU)> inMenu) {
    const DWORD thread = ::GetCurrentThreadId();
    std::vector<Item> read;
    std::atomic<bool> done{false};
    std::thread driver([&] {
      HWND popup = nullptr;
      for (int i = 0; i < 200 && popup == nullptr; ++i) {
        ::Sleep(20);
        popup = FindPopup(thread);
      }
      if (popup == nullptr) return;
      HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(popup, MN_GETHMENU, 0, 0));
      if (menu != nullptr) read = ReadMenu(menu);
      inMenu(popup, menu);
      done = true;
    });
    Mouse(WM_RBUTTONDOWN, x, y, MK_RBUTTON);
    Mouse(WM_RBUTTONUP, x, y);
    driver.join();
    host->Pump();
    return read;
  }

  static void Key(HWND popup, WPARAM key) {
    ::PostMessageA(popup, WM_KEYDOWN, key, 0);
    ::PostMessageA(popup, WM_KEYUP, key, 0xC0000000);
    ::Sleep(40);
  }
  // Moves the highlight down to the entry at `pos` of `menu` and answers whether it got there.
  static bool Highlight(HWND popup, HMENU menu, int pos) {
    for (int i = 0; i < 30; ++i) {
      if (::GetMenuState(menu, pos, MF_BYPOSITION) & MF_HILITE) return true;
      Key(popup, VK_DOWN);
    }
    return false;
  }
  static int Position(HMENU menu, UINT id) {
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
      if (::GetMenuItemID(menu, i) == id) return i;
    return -1;
  }

  // Chooses a command from the right-click menu with the keyboard, as a user could.
  void Choose(UINT id, int x = 200, int y = 150) {
    bool chosen = false;
    RightClick(x, y, [&](HWND popup, HMENU menu) {
      if (menu == nullptr) return;
      int pos = Position(menu, id);
      if (pos >= 0) {
        chosen = Highlight(popup, menu, pos);
      } else {
        for (int i = 0; i < ::GetMenuItemCount(menu) && !chosen; ++i) {
          HMENU sub = ::GetSubMenu(menu, i);
          if (sub == nullptr || (pos = Position(sub, id)) < 0) continue;
          if (!Highlight(popup, menu, i)) break;
          // The sub-menu opens; the menu's loop takes the keys whichever popup they name.
          Key(popup, VK_RIGHT);
          ::Sleep(100);
          chosen = Highlight(popup, sub, pos);
        }
      }
      Key(popup, chosen ? VK_RETURN : VK_ESCAPE);
      if (!chosen) Key(popup, VK_ESCAPE);
    });
    ASSERT_TRUE(chosen) << "menu command " << id;
  }

  std::vector<Item> MenuNow() {
    return RightClick(200, 150, [](HWND popup, HMENU) { Key(popup, VK_ESCAPE); });
  }

  test::TempFolder folder;
  std::string plot;
  std::unique_ptr<HostedControl> host;
  HWND window = nullptr;
};

TEST_F(ControlMouseTest, PanDragMovesTheOriginByTheAcceptedStepsAndShiftsTheImage) {
  const View start = Read();
  const auto before = host->Capture();
  Drag({{100, 100}, {103, 102}});
  EXPECT_EQ(Read().x, start.x) << "a move within 4 pixels is no drag";
  EXPECT_EQ(Read().y, start.y);
  Mouse(WM_MOUSEMOVE, 130, 110, MK_LBUTTON);  // accepted: +30, +10
  Mouse(WM_MOUSEMOVE, 133, 113, MK_LBUTTON);  // within 4 of the last accepted step
  Mouse(WM_MOUSEMOVE, 150, 90, MK_LBUTTON);   // accepted: +20, -20
  EXPECT_EQ(Read().x, start.x + 50);
  EXPECT_EQ(Read().y, start.y - 10);

  // While the button is held the window shows the last image shifted, not a new drawing.
  const auto during = host->Capture();
  HostedControl::Keep(*during, "pan-drag-during");
  int moved = 0, compared = 0;
  for (int y = 20; y < kAreaHeight - 20; y += 3) {
    for (int x = 0; x < kWidth - 50; x += 3) {
      const COLORREF was = before->PixelColour(HostedControl::kLeft + x, HostedControl::kTop + y);
      if (was != kRed) continue;
      ++compared;
      moved += during->PixelColour(HostedControl::kLeft + x + 50,
                                   HostedControl::kTop + y - 10) == kRed;
    }
  }
  ASSERT_GT(compared, 20) << "the bar must be on screen to follow it";
  EXPECT_EQ(moved, compared);
  // Where the image was and is no more, the paper shows: the 50 columns it left on the left.
  int stale = 0;
  for (int y = 0; y < kAreaHeight; y += 2)
    for (int x = 0; x < 50; x += 2)
      stale += during->PixelColour(HostedControl::kLeft + x, HostedControl::kTop + y) != kWhite;
  EXPECT_EQ(stale, 0);

  Mouse(WM_LBUTTONUP, 150, 90);
  host->Pump();
  EXPECT_EQ(Read().x, start.x + 50) << "the release keeps the dragged origin";
  EXPECT_EQ(Read().y, start.y - 10);
}

TEST_F(ControlMouseTest, ZoomToolsKeepTheClickedPointAndWindowCenterCentresIt) {
  const struct {
    UINT tool;
    double factor;  // of the scale
  } cases[] = {{42, 2.0}, {43, 0.5}, {45, 1.0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tool);
    host->ctl->Fit();
    host->Pump();
    Choose(c.tool);
    const View v = Read();
    // The clicked pixel's document point comes to the centre of the drawing area.
    const int px = 120, py = 90;
    const double docX = (px - v.x) / v.scale, docY = (py - v.y) / v.scale;
    Click(px, py);
    const View after = Read();
    // The zoom keeps the drawn extents whole pixels: the scale follows the factor closely.
    EXPECT_NEAR(after.scale / v.scale, c.factor, 0.01);
    EXPECT_NEAR(after.x + docX * after.scale, kWidth / 2.0, 1.5);
    EXPECT_NEAR(after.y + docY * after.scale, kAreaHeight / 2.0, 1.5);
  }
}

TEST_F(ControlMouseTest, WindowAreaShowsAProportionalRectangleAndZoomsOnRelease) {
  Choose(44);
  const View v = Read();
  // 100 pixels wide: the rectangle is 100 * 299 / 400 = 74 rows high, whatever the mouse's y.
  Drag({{50, 60}, {150, 200}});
  const auto shot = host->Capture();
  HostedControl::Keep(*shot, "window-area-rectangle");
  const auto at = [&](int x, int y) {
    return shot->PixelColour(HostedControl::kLeft + x, HostedControl::kTop + y);
  };
  // White paper under the inverting blue pen turns blue; the rectangle's bottom edge is at 60 + 74.
  EXPECT_EQ(at(100, 60), RGB(0, 0, 255));
  EXPECT_EQ(at(100, 60 + 74 - 1), RGB(0, 0, 255));
  EXPECT_EQ(at(100, 200), kWhite) << "the mouse's own y is not taken";
  EXPECT_EQ(at(100, 100), kWhite) << "only the outline is drawn";

  Mouse(WM_LBUTTONUP, 150, 200);
  host->Pump();
  const View after = Read();
  EXPECT_NEAR(after.scale, v.scale * 4, 1e-6) << "100 pixels of width fill the 400";
  EXPECT_NEAR(after.x + (100 - v.x) / v.scale * after.scale, kWidth / 2.0, 2.0);

  // Cancel mode in the middle of a drag takes the rectangle away and frees the mouse.
  Choose(44);
  const View cancelStart = Read();
  Drag({{50, 60}, {150, 200}});
  EXPECT_EQ(::GetCapture(), window);
  ::SendMessageA(window, WM_CANCELMODE, 0, 0);
  EXPECT_EQ(::GetCapture(), nullptr);
  Mouse(WM_LBUTTONUP, 150, 200);
  host->Pump();
  EXPECT_EQ(Read().scale, cancelStart.scale);
  const auto cancelled = host->Capture();
  EXPECT_EQ(cancelled->PixelColour(HostedControl::kLeft + 100, HostedControl::kTop + 60), kWhite);

  // A drag without width zooms nothing and leaves no rectangle behind.
  Choose(44);
  const View flatStart = Read();
  Drag({{80, 80}, {80, 150}});
  Mouse(WM_LBUTTONUP, 80, 150);
  host->Pump();
  EXPECT_EQ(Read().scale, flatStart.scale);
  const auto clean = host->Capture();
  EXPECT_EQ(clean->PixelColour(HostedControl::kLeft + 80, HostedControl::kTop + 120), kWhite);
}

TEST_F(ControlMouseTest, TheWheelZoomsAboutThePointer) {
  const View v = Read();
  POINT screen{100, 80};
  ::ClientToScreen(window, &screen);
  const double docX = (100 - v.x) / v.scale, docY = (80 - v.y) / v.scale;
  ::SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(screen.x, screen.y));
  host->Pump();
  const View after = Read();
  EXPECT_NEAR(after.scale, v.scale * 2, 1e-9);
  EXPECT_NEAR(after.x + docX * after.scale, 100, 1.0);
  EXPECT_NEAR(after.y + docY * after.scale, 80, 1.0);
}

TEST_F(ControlMouseTest, InputIsIgnoredWithoutAPlot) {
  HostedControl empty(200, 150);
  ASSERT_TRUE(empty.ok());
  HWND w = empty.ControlWindow();
  ::SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  ::SendMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 60));
  ::SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(60, 60));
  EXPECT_EQ(::GetCapture(), nullptr);
  double x = 1;
  EXPECT_EQ(empty.ctl->get_xOrg(&x), S_OK);
  EXPECT_EQ(x, 0);
}

TEST_F(ControlMouseTest, CursorsAreTheLibrarysHandsAndTheSystemCross) {
  HMODULE library = ::GetModuleHandleA("quillon.dll");
  ASSERT_NE(library, nullptr);
  HCURSOR open = ::LoadCursorA(library, "openHandCursor");
  HCURSOR closed = ::LoadCursorA(library, "closedHandCursor");
  ASSERT_NE(open, nullptr);
  ASSERT_NE(closed, nullptr);
  EXPECT_NE(open, closed);

  Mouse(WM_MOUSEMOVE, 50, 50);
  EXPECT_EQ(::GetCursor(), open) << "Pan, button up";
  Mouse(WM_LBUTTONDOWN, 50, 50, MK_LBUTTON);
  EXPECT_EQ(::GetCursor(), closed) << "Pan, button down";
  // Over the drawing area the control keeps the cursor its tool set.
  ::SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(::GetCursor(), closed);
  Mouse(WM_LBUTTONUP, 50, 50);
  EXPECT_EQ(::GetCursor(), open);

  Choose(42);
  Mouse(WM_MOUSEMOVE, 60, 60);
  EXPECT_EQ(::GetCursor(), ::LoadCursor(nullptr, IDC_CROSS));
}

TEST_F(ControlMouseTest, TheMenuListsItsEntriesWithTheirStates) {
  const std::string plotEntries = "[55 47 48 57]";
  EXPECT_EQ(Describe(MenuNow()),
            "40c 42 43 44 45 - 46 50 51 [53 60 56] 58 " + plotEntries + " - 61 54c 52 49")
      << "Pan active";

  Choose(54);  // the status bar off
  EXPECT_EQ(Describe(MenuNow()), "40c 42 43 44 45 - 46 50 51 [53 60 56] 58 " + plotEntries +
                                     " - 61 54 52 49")
      << "status bar hidden";
  Choose(54);

  Choose(53);
  EXPECT_EQ(Describe(MenuNow()),
            "40 42 43 44 45 - 46 50 51 [53c 60g 56g] 58 [55g 47g 48g 57g] - 61 54cg 52g 49")
      << "measuring distance";
  Choose(53);

  Choose(60);
  EXPECT_EQ(Describe(MenuNow()),
            "40 42 43 44 45 - 46 50 51 [53g 60c 56g] 58 [55g 47g 48g 57g] - 61 54cg 52g 49")
      << "measuring area";
  ::SendMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
  ::SendMessageA(window, WM_KEYUP, VK_ESCAPE, 0);

  // Arming Plot To Form takes a printer: silently, so that no print dialog waits.
  test::TempFolder spool;
  test::PostScriptTestPrinter printer(spool.path(), 100);
  ASSERT_TRUE(printer.Install()) << printer.error();
  ASSERT_TRUE(::SetDefaultPrinterA(printer.name().c_str()));
  ASSERT_EQ(host->ctl->put_PlotSilent(1), S_OK);
  Choose(57);
  EXPECT_EQ(Describe(MenuNow()),
            "40 42 43 44 45 - 46g 50 51 [53 60 56] 58 [55g 47g 48g 57c] - 61 54c 52 49")
      << "Plot To Form active";
  ::SendMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(Describe(MenuNow()).substr(0, 3), "40c") << "Esc leaves Plot To Form for Pan";
}

TEST_F(ControlMouseTest, StatusBarToggleTwiceRestoresTheView) {
  for (int rot : {0, 90, 180, 270}) {
    SCOPED_TRACE(rot);
    host->ctl->put_Rot(rot);
    host->ctl->Fit();
    host->Pump();
    const View before = Read();
    Choose(54);
    const View hidden = Read();
    EXPECT_NE(hidden.scale, before.scale) << "the area gained the strip's rows";
    Choose(54);
    const View after = Read();
    EXPECT_DOUBLE_EQ(after.scale, before.scale);
  }
}

// Pixels are dots at Rot 0 and scale 1: the page's 1 mm dots make 100 pixels 3.937 inches,
// the ruler's default of one paper inch to one model inch.
class ControlMeasureTest : public ControlMouseTest {
 protected:
  void SetUp() override {
    ControlMouseTest::SetUp();
    if (HasFatalFailure()) return;
    host->ctl->put_Rot(0);
    host->ctl->put_ViewScale(1);
    host->ctl->put_xOrg(0);
    host->ctl->put_yOrg(0);
    host->ctl->ReDraw();
    host->Pump();
  }
  std::string Result() {
    const std::string texts = host->StatusTexts();
    return texts.substr(texts.rfind('\n') + 1);
  }
};

TEST_F(ControlMeasureTest, DistanceAndAreaShowInTheStripAfterRealClicks) {
  const char* const kTail = "   Double Click to Reset-Esc to Finish";
  Choose(53);
  EXPECT_EQ(host->StatusTexts(), " Measure \nEnter First Point\nDouble Click to Reset-Esc to Finish");
  const struct {
    POINT click;
    std::string result;
  } distance[] = {
      {{50, 50}, "0.000 in"},
      {{150, 50}, "3.937 in"},
      {{150, 150}, "7.874 in"},
      {{150, 150}, "7.874 in"},  // the same pixel again adds nothing
  };
  for (const auto& step : distance) {
    Click(step.click.x, step.click.y);
    EXPECT_EQ(Result(), step.result + kTail);
  }
  // A double click starts over: the release that ends it places no point.
  Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
  Mouse(WM_LBUTTONUP, 20, 20);
  Mouse(WM_LBUTTONDBLCLK, 20, 20, MK_LBUTTON);
  Mouse(WM_LBUTTONUP, 20, 20);
  EXPECT_EQ(host->StatusTexts(), " Measure \nEnter First Point\n ");
  Click(20, 20);
  Click(20, 120);
  EXPECT_EQ(Result(), std::string("3.937 in") + kTail);

  // Esc leaves measuring, key down and key up of one press together.
  ::SendMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
  ::SendMessageA(window, WM_KEYUP, VK_ESCAPE, 0);
  EXPECT_EQ(host->StatusTexts(), " Pan\nClick and Drag\n ");

  Choose(60);
  const struct {
    POINT click;
    std::string result;
  } area[] = {
      {{50, 50}, "0.000 sq. in"},
      {{150, 50}, "0.000 sq. in"},
      {{150, 150}, "7.750 sq. in"},  // half the square
      {{50, 150}, "15.500 sq. in"},  // 0.01 square metres
      {{150, 100}, "Polygon Intersecting"},
  };
  for (const auto& step : area) {
    Click(step.click.x, step.click.y);
    EXPECT_EQ(Result(), step.result + kTail);
  }
  const auto shot = host->Capture();
  HostedControl::Keep(*shot, "measure-area");
  // The figure is drawn over the paint: the polyline's first side in the inverting blue.
  EXPECT_EQ(shot->PixelColour(HostedControl::kLeft + 100, HostedControl::kTop + 50),
            RGB(0, 0, 255));
}

TEST_F(ControlMeasureTest, TheContainersKeyFilterEndsMeasuringOnEscAndPassesTheKeyOn) {
  ComPtr<IOleInPlaceActiveObject> active;
  ASSERT_EQ(host->ctl.As(&active), S_OK);
  Choose(60);
  MSG esc{window, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
  EXPECT_EQ(active->TranslateAccelerator(&esc), S_FALSE);
  EXPECT_EQ(host->StatusTexts(), " Pan\nClick and Drag\n ");
}

TEST_F(ControlMeasureTest, MeasuringShowsAHiddenStripAndHidesItAgain) {
  const auto tail = [&] {
    const std::string menu = Describe(MenuNow());
    return menu.substr(menu.find("61"));
  };
  Choose(54);  // the strip off
  Choose(53);
  EXPECT_EQ(tail(), "61 54cg 52g 49");
  ::SendMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(tail(), "61 54 52 49");
}

}  // namespace
}  // namespace quillon::control_test
