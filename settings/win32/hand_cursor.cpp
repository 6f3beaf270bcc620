#include "settings/win32/hand_cursor.h"

#include <string>

namespace quillon {

namespace {
constexpr int kHelpViewerHand = 106;
}

HandCursor::HandCursor() {
  char folder[MAX_PATH] = {};
  const UINT length = ::GetWindowsDirectoryA(folder, MAX_PATH);
  if (length > 0 && length < MAX_PATH) {
    const std::string viewer = std::string(folder) + "\\winhlp32.exe";
    // Only its resources are wanted: it is mapped as data, nothing of it runs.
    const UniqueModule module(::LoadLibraryExA(viewer.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (module) {
      HCURSOR hand = ::LoadCursorA(module.get(), MAKEINTRESOURCEA(kHelpViewerHand));
      // The copy outlives the module it came from.
      if (hand != nullptr) own_.reset(::CopyIcon(reinterpret_cast<HICON>(hand)));
    }
  }
  // Current systems no longer ship that viewer; their own hand is the same picture.
  if (!own_) shared_ = ::LoadCursor(nullptr, IDC_HAND);
}

}  // namespace quillon
