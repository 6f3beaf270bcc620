// The control's load failures as the user meets them: one message box per failure until the
// next successful load or the next name, however often the window is painted.

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "tests/support/kpz_builder.h"
#include "tests/win32/control_host.h"
#include "tests/win32/temp_folder.h"

namespace quillon::control_test {
namespace {

constexpr const char* kCaption = "QUILLON ActiveX Control";

class ControlMessagesTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(RegisterControl(), S_OK); }

  static void Put(HostedControl& host, const std::string& name) {
    UniqueBstr text(std::wstring(name.begin(), name.end()));
    ASSERT_EQ(host.ctl->put_DataFileName(text.get()), S_OK);
  }
  // Several paints, as a container that keeps repainting would cause.
  static void PaintAgainAndAgain(HostedControl& host) {
    for (int i = 0; i < 4; ++i) {
      host.ctl->ReDraw();
      host.Pump();
    }
  }

  test::TempFolder folder;
};

TEST_F(ControlMessagesTest, MissingFileIsReportedOnceUntilTheNextName) {
  HostedControl host(320, 240);
  ASSERT_TRUE(host.ok());
  const std::string missing = folder.path() + "\\no such plan.kpz";
  Put(host, missing);
  PaintAgainAndAgain(host);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], "CreateFile: Error Opening KPZ file : " + missing + " [" +
                                  folder.path() + "\\no%20such%20plan.kpz]");
  EXPECT_EQ(host.ctl->Fit(), E_FAIL) << "a failed load leaves the control not loaded";

  // The same name put again may report again, once.
  Put(host, missing);
  PaintAgainAndAgain(host);
  EXPECT_EQ(host.messages.size(), 2u);

  // A good plot loads silently; a bad one after it is reported again.
  KpzBuilder b;
  b.BeginPage().Polyline({{0, 0}, {500, 500}}).EndPage();
  const std::string good = folder.Write("good.kpz", b.Build());
  Put(host, good);
  PaintAgainAndAgain(host);
  EXPECT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.ctl->Fit(), S_OK);
  const std::string notAPlot = folder.Write("notes.kpz", {'n', 'o', 't', 'e', 's', '!', '\n'});
  Put(host, notAPlot);
  PaintAgainAndAgain(host);
  ASSERT_EQ(host.messages.size(), 3u);
  EXPECT_EQ(host.messages[2], "Invalid file : " + notAPlot);
}

struct FoundBox {
  HWND window = nullptr;
  std::string text;
};

BOOL CALLBACK FindBox(HWND window, LPARAM param) {
  // Only dialogs: asking other windows for their text would wait on their thread.
  char windowClass[16] = {};
  ::GetClassNameA(window, windowClass, sizeof windowClass);
  if (std::string(windowClass) != "#32770") return TRUE;
  char caption[128] = {};
  ::GetWindowTextA(window, caption, sizeof caption);
  if (std::string(caption) != kCaption || !::IsWindowVisible(window)) return TRUE;
  auto* found = reinterpret_cast<FoundBox*>(param);
  found->window = window;
  char text[600] = {};
  ::GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
  found->text = text;
  return FALSE;
}

TEST_F(ControlMessagesTest, RealBoxAppearsOnceAndClosesWithOk) {
  HostedControl host(320, 240, /*routeMessages=*/false);
  ASSERT_TRUE(host.ok());
  const std::string missing = folder.path() + "\\gone.kpz";
  Put(host, missing);

  // Another thread presses OK on every box of ours that appears, and counts them.
  const DWORD thread = ::GetCurrentThreadId();
  std::atomic<bool> stop{false};
  std::atomic<int> boxes{0};
  std::string firstText;
  std::thread presser([&] {
    HWND last = nullptr;
    while (!stop) {
      ::Sleep(30);
      FoundBox found;
      ::EnumThreadWindows(thread, FindBox, reinterpret_cast<LPARAM>(&found));
      if (found.window == nullptr || found.window == last) continue;
      if (boxes++ == 0) firstText = found.text;
      last = found.window;
      ::PostMessageA(found.window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
  });
  const DWORD start = ::GetTickCount();
  PaintAgainAndAgain(host);
  ::Sleep(300);
  PaintAgainAndAgain(host);
  stop = true;
  presser.join();
  EXPECT_EQ(boxes.load(), 1);
  // The second name tried is the first with its spaces as "%20": here the same.
  EXPECT_EQ(firstText, "CreateFile: Error Opening KPZ file : " + missing + " [" + missing + "]");
  EXPECT_LT(::GetTickCount() - start, 10000u);
}

}  // namespace
}  // namespace quillon::control_test
