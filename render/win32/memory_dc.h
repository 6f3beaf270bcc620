#pragma once
// An off-screen 32-bit top-down DIB section selected into a memory DC, with pixel access:
// what tests and tools draw on to look at the result.

#include <cstdint>

// Handle types without <windows.h> (same declarations as its STRICT ones): see gdi_device.h.
struct HDC__;
struct HBITMAP__;

namespace quillon {

class MemoryDc {
 public:
  // A white surface of width x height pixels; valid() is false when GDI refused it.
  MemoryDc(int width, int height);
  ~MemoryDc();
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;

  bool valid() const { return bits_ != nullptr; }
  HDC__* dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  // 0x00RRGGBB as stored in the DIB; 0xFFFFFFFF outside the surface.
  std::uint32_t Pixel(int x, int y) const;
  // The same pixel as a COLORREF (0x00BBGGRR), to compare with the colours drawn;
  // CLR_INVALID outside.
  std::uint32_t PixelColour(int x, int y) const;
  void Fill(std::uint32_t colour);  // a COLORREF

 private:
  int width_, height_;
  HDC__* dc_ = nullptr;
  HBITMAP__* bitmap_ = nullptr;
  void* previous_ = nullptr;  // the HGDIOBJ selected before the bitmap
  std::uint32_t* bits_ = nullptr;
};

}  // namespace quillon
