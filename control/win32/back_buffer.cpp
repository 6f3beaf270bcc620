#include "control/win32/back_buffer.h"

#include "control/win32/saved_dc_state.h"

namespace quillon {

bool BackBuffer::Create(HDC target, int width, int height) {
  Release();
  if (width <= 0 || height <= 0) return false;
  // A metafile or printer target cannot give a compatible bitmap: the screen's is used then.
  HDC reference = target;
  const int technology = target != nullptr ? ::GetDeviceCaps(target, TECHNOLOGY) : DT_RASDISPLAY;
  WindowDc screen(nullptr);
  if (technology != DT_RASDISPLAY) reference = screen.get();
  // A 32-bit DIB section when the display has at least 24 bits of colour, so that thin lines
  // can be written into its pixels; on fewer colours the display's own format is kept.
  const HDC display = reference != nullptr ? reference : screen.get();
  if (::GetDeviceCaps(display, BITSPIXEL) * ::GetDeviceCaps(display, PLANES) >= 24) {
    buffer_ = MemoryDc(width, height);
    if (buffer_.valid()) return true;
  }
  buffer_ = MemoryDc::Compatible(reference, width, height);
  return buffer_.valid();
}

void BackBuffer::Clear(int width, int height) {
  if (!exists()) return;
  SavedDcState state(dc());
  ::SetBkColor(dc(), RGB(255, 255, 255));
  ::SelectObject(dc(), ::GetStockObject(NULL_PEN));
  ::SelectObject(dc(), ::GetStockObject(WHITE_BRUSH));
  ::Rectangle(dc(), 0, 0, width + 1, height + 1);
}

void BackBuffer::CopyTo(HDC target, int x, int y, int width, int height) const {
  if (!exists()) return;
  ::BitBlt(target, x, y, width, height, dc(), 0, 0, SRCCOPY);
}

void BackBuffer::CopyShifted(HDC target, int dx, int dy, int width, int height) const {
  if (!exists()) return;
  const auto paper = [&](RECT r) {
    if (r.left < r.right && r.top < r.bottom) {
      ::FillRect(target, &r, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    }
  };
  paper(dx >= 0 ? RECT{0, 0, dx, height} : RECT{width + dx, 0, width, height});
  paper(dy >= 0 ? RECT{0, 0, width, dy} : RECT{0, height + dy, width, height});
  CopyTo(target, dx, dy, width, height);
}

}  // namespace quillon
