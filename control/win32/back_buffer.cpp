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
  dc_.reset(::CreateCompatibleDC(reference));
  if (dc_.get() == nullptr) return false;
  bitmap_.reset(::CreateCompatibleBitmap(reference, width, height));
  if (!bitmap_) {
    dc_.reset();
    return false;
  }
  previous_ = ::SelectObject(dc_.get(), bitmap_.get());
  width_ = width;
  height_ = height;
  return true;
}

void BackBuffer::Release() {
  if (dc_.get() != nullptr && previous_ != nullptr) ::SelectObject(dc_.get(), previous_);
  previous_ = nullptr;
  dc_.reset();
  bitmap_.reset();
  width_ = height_ = 0;
}

void BackBuffer::Clear(int width, int height) {
  if (!exists()) return;
  SavedDcState state(dc_.get());
  ::SetBkColor(dc_.get(), RGB(255, 255, 255));
  ::SelectObject(dc_.get(), ::GetStockObject(NULL_PEN));
  ::SelectObject(dc_.get(), ::GetStockObject(WHITE_BRUSH));
  ::Rectangle(dc_.get(), 0, 0, width + 1, height + 1);
}

void BackBuffer::CopyTo(HDC target, int x, int y, int width, int height) const {
  if (!exists()) return;
  ::BitBlt(target, x, y, width, height, dc_.get(), 0, 0, SRCCOPY);
}

}  // namespace quillon
