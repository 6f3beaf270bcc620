// mirandel_shot OUTPUT.png [SECONDS]: waits for a running viewer to show its plot, presses OK
// on its About window, writes what the main window shows as a PNG and closes the viewer. Exit
// status 0 when a drawn plot was captured, 2 when the time ran out (the picture is written all
// the same), 1 when there is no viewer window or nothing could be written.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/win32/memory_dc.h"
#include "base/win32/unique_handle.h"
#include "tools/kpzsnap/png_writer.h"

namespace quillon {
namespace {

struct ViewerWindows {
  HWND frame = nullptr;
  HWND about = nullptr;
  HWND control = nullptr;
};

BOOL CALLBACK FindContainer(HWND child, LPARAM param) {
  wchar_t cls[64] = {};
  ::GetClassNameW(child, cls, 64);
  if (std::wstring(cls) == L"AtlAxWin" && ::GetParent(child) == ::GetAncestor(child, GA_ROOT)) {
    *reinterpret_cast<HWND*>(param) = child;
    return FALSE;
  }
  return TRUE;
}

ViewerWindows FindViewer() {
  ViewerWindows found;
  found.frame = ::FindWindowW(L"TMainForm", L"Mirandel");
  found.about = ::FindWindowW(L"TAboutBox", nullptr);
  if (found.frame != nullptr)
    ::EnumChildWindows(found.frame, FindContainer, reinterpret_cast<LPARAM>(&found.control));
  return found;
}

// What the screen shows inside a window's rectangle, frame and children included.
SnapImage Capture(HWND window) {
  RECT r;
  ::GetWindowRect(window, &r);
  SnapImage image;
  image.width = r.right - r.left;
  image.height = r.bottom - r.top;
  if (image.width <= 0 || image.height <= 0) return {};
  MemoryDc surface(image.width, image.height);
  if (surface.valid()) {
    ::BitBlt(surface.dc(), 0, 0, image.width, image.height, WindowDc(nullptr).get(), r.left, r.top,
             SRCCOPY);
    const auto pixels = surface.Pixels();
    image.pixels.assign(pixels.begin(), pixels.end());
    for (auto& p : image.pixels) p &= 0x00FFFFFF;
  }
  return image;
}

// Distinct colours inside the control's rectangle, counted up to a small limit.
int ControlColours(const SnapImage& image, HWND frame, HWND control) {
  RECT frameRect, controlRect;
  ::GetWindowRect(frame, &frameRect);
  ::GetWindowRect(control, &controlRect);
  std::uint32_t seen[8];
  int count = 0;
  for (int y = controlRect.top - frameRect.top; y < controlRect.bottom - frameRect.top; ++y) {
    if (y < 0 || y >= image.height) continue;
    for (int x = controlRect.left - frameRect.left; x < controlRect.right - frameRect.left; ++x) {
      if (x < 0 || x >= image.width) continue;
      const std::uint32_t p = image.pixels[static_cast<size_t>(y) * image.width + x];
      bool known = false;
      for (int i = 0; i < count; ++i) known = known || seen[i] == p;
      if (!known) {
        if (count == 8) return count;
        seen[count++] = p;
      }
    }
  }
  return count;
}

int Run(const char* output, double seconds) {
  const DWORD deadline = ::GetTickCount() + static_cast<DWORD>(seconds * 1000);
  ViewerWindows viewer;
  SnapImage last;
  bool drawn = false;
  int stable = 0;
  while (::GetTickCount() < deadline) {
    viewer = FindViewer();
    if (viewer.about != nullptr && ::IsWindowVisible(viewer.about)) {
      ::PostMessageW(viewer.about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    } else if (viewer.frame != nullptr && viewer.control != nullptr &&
               ::IsWindowVisible(viewer.control)) {
      SnapImage image = Capture(viewer.frame);
      // Drawn: more than a blank ground in the control, and unchanged over two looks.
      if (ControlColours(image, viewer.frame, viewer.control) >= 3 && image.pixels == last.pixels &&
          image.width == last.width) {
        if (++stable >= 2) {
          drawn = true;
          break;
        }
      } else {
        stable = 0;
      }
      last = std::move(image);
    }
    ::Sleep(250);
  }
  if (viewer.frame == nullptr) {
    std::fprintf(stderr, "mirandel_shot: no viewer window appeared\n");
    return 1;
  }
  if (!drawn) last = Capture(viewer.frame);
  ::PostMessageW(viewer.frame, WM_CLOSE, 0, 0);
  if (!WritePng(output, last)) {
    std::fprintf(stderr, "mirandel_shot: cannot write %s\n", output);
    return 1;
  }
  if (!drawn) std::fprintf(stderr, "mirandel_shot: no drawn plot seen in time\n");
  return drawn ? 0 : 2;
}

}  // namespace
}  // namespace quillon

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: mirandel_shot OUTPUT.png [SECONDS]\n");
    return 1;
  }
  return quillon::Run(argv[1], argc > 2 ? std::atof(argv[2]) : 60.0);
}
