// The control's real modal message box: shown with its caption and text, no owner, an OK
// button, and it returns when OK is pressed.

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "document/document_loader.h"
#include "document/win32/win32_document_platform.h"

namespace quillon {
namespace {

struct FoundBox {
  HWND window = nullptr;
  std::string text;
  HWND owner = nullptr;
};

BOOL CALLBACK FindBox(HWND window, LPARAM param) {
  char caption[128] = {};
  ::GetWindowTextA(window, caption, sizeof caption);
  if (std::string(caption) != Win32DocumentPlatform::kCaption) return TRUE;
  auto* found = reinterpret_cast<FoundBox*>(param);
  found->window = window;
  found->owner = ::GetWindow(window, GW_OWNER);
  char text[600] = {};
  // The message text is the static control of the dialog (id 0xFFFF in user32's template).
  ::GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
  found->text = text;
  return FALSE;
}

TEST(ControlMessageBox, ShowsCaptionAndTextAndClosesWithOk) {
  Win32DocumentPlatform platform;  // the real MessageBoxA
  DocumentLoader loader(platform);
  const DWORD thread = ::GetCurrentThreadId();
  FoundBox found;
  std::atomic<bool> pressed{false};
  std::thread presser([&] {
    for (int i = 0; i < 200 && !pressed; ++i) {
      ::Sleep(50);
      FoundBox attempt;
      ::EnumThreadWindows(thread, FindBox, reinterpret_cast<LPARAM>(&attempt));
      if (attempt.window != nullptr && ::IsWindowVisible(attempt.window)) {
        found = attempt;
        ::PostMessageA(attempt.window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        pressed = true;
      }
    }
  });
  const DWORD start = ::GetTickCount();
  loader.ShowControlMessage("Invalid file : C:\\plots\\plan.kpz");
  const DWORD elapsed = ::GetTickCount() - start;
  presser.join();
  ASSERT_TRUE(pressed) << "no message box with the control's caption appeared";
  EXPECT_EQ(found.text, "Invalid file : C:\\plots\\plan.kpz");
  EXPECT_EQ(found.owner, nullptr);
  EXPECT_LT(elapsed, 10000u);
  EXPECT_FALSE(::IsWindow(found.window));
}

}  // namespace
}  // namespace quillon
