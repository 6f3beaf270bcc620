#include "render/win32/memory_dc.h"

#include <windows.h>

namespace quillon {

MemoryDc::MemoryDc(int width, int height) : width_(width), height_(height) {
  if (width <= 0 || height <= 0) return;
  dc_ = ::CreateCompatibleDC(nullptr);
  if (dc_ == nullptr) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down: row 0 first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap_ == nullptr || bits == nullptr) return;
  previous_ = ::SelectObject(dc_, bitmap_);
  bits_ = static_cast<std::uint32_t*>(bits);
  Fill(RGB(255, 255, 255));
}

MemoryDc::~MemoryDc() {
  if (dc_ != nullptr && previous_ != nullptr) ::SelectObject(dc_, previous_);
  if (bitmap_ != nullptr) ::DeleteObject(bitmap_);
  if (dc_ != nullptr) ::DeleteDC(dc_);
}

std::uint32_t MemoryDc::Pixel(int x, int y) const {
  if (!valid() || x < 0 || y < 0 || x >= width_ || y >= height_) return 0xFFFFFFFFu;
  ::GdiFlush();  // GDI may batch drawing; the bits must be current before reading them
  return bits_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x)] &
         0x00FFFFFFu;
}

std::uint32_t MemoryDc::PixelColour(int x, int y) const {
  const std::uint32_t p = Pixel(x, y);
  if (p == 0xFFFFFFFFu) return CLR_INVALID;
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

void MemoryDc::Fill(std::uint32_t colour) {
  if (!valid()) return;
  const std::uint32_t value =
      (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
  ::GdiFlush();
  const std::size_t n = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
  for (std::size_t i = 0; i < n; ++i) bits_[i] = value;
}

}  // namespace quillon
