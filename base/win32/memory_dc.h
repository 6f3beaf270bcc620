#pragma once
// A memory DC compatible with a given DC, with a bitmap selected into it: its own (a DIB
// section whose pixels can be read, or a bitmap compatible with the given DC) or one owned
// elsewhere. The DC's first bitmap is selected back before anything is deleted.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>

#include "base/win32/unique_handle.h"

namespace quillon {

class MemoryDc {
 public:
  MemoryDc() = default;
  // A DC compatible with `reference` (nullptr: the screen) with `borrowed` selected into it
  // when given; the caller keeps that bitmap and deletes it after this DC.
  explicit MemoryDc(HDC reference, HBITMAP borrowed = nullptr)
      : dc_(::CreateCompatibleDC(reference)) {
    if (dc_ && borrowed != nullptr) previous_ = ::SelectObject(dc_.get(), borrowed);
  }
  // A white 32-bit top-down DIB section of width x height pixels in a DC compatible with the
  // screen: what tests and tools draw on and read back. valid() is false when GDI refused it.
  MemoryDc(int width, int height) : width_(width), height_(height) {
    if (width <= 0 || height <= 0) return;
    dc_.reset(::CreateCompatibleDC(nullptr));
    if (!dc_) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down: row 0 first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap section(::CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section || bits == nullptr) {
      dc_.reset();
      return;
    }
    Own(std::move(section));
    bits_ = static_cast<std::uint32_t*>(bits);
    Fill(RGB(255, 255, 255));
  }
  // A width x height bitmap compatible with `reference`, in a DC compatible with it; nothing
  // when GDI refuses either.
  static MemoryDc Compatible(HDC reference, int width, int height) {
    MemoryDc m(reference);
    if (!m.dc_) return m;
    UniqueBitmap bitmap(::CreateCompatibleBitmap(reference, width, height));
    if (!bitmap) return MemoryDc();
    m.Own(std::move(bitmap));
    m.width_ = width;
    m.height_ = height;
    return m;
  }

  ~MemoryDc() { Deselect(); }
  MemoryDc(MemoryDc&& o) noexcept
      : bitmap_(std::move(o.bitmap_)),
        dc_(std::move(o.dc_)),
        previous_(std::exchange(o.previous_, nullptr)),
        bits_(std::exchange(o.bits_, nullptr)),
        width_(std::exchange(o.width_, 0)),
        height_(std::exchange(o.height_, 0)) {}
  MemoryDc& operator=(MemoryDc&& o) noexcept {
    if (this != &o) {
      Deselect();
      dc_ = std::move(o.dc_);
      bitmap_ = std::move(o.bitmap_);
      previous_ = std::exchange(o.previous_, nullptr);
      bits_ = std::exchange(o.bits_, nullptr);
      width_ = std::exchange(o.width_, 0);
      height_ = std::exchange(o.height_, 0);
    }
    return *this;
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;

  // False when GDI refused the DC or the bitmap asked for.
  bool valid() const { return static_cast<bool>(dc_); }
  HDC dc() const { return dc_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }

  // The DIB section's pixels row after row, 0x00RRGGBB in the low three bytes, once GDI has
  // finished what it batched; empty for the other forms.
  std::span<const std::uint32_t> Pixels() const {
    if (bits_ == nullptr) return {};
    ::GdiFlush();
    return {bits_, static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)};
  }
  // 0x00RRGGBB as stored in the DIB section; 0xFFFFFFFF outside it.
  std::uint32_t Pixel(int x, int y) const {
    if (bits_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) return 0xFFFFFFFFu;
    return Pixels()[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                    static_cast<std::size_t>(x)] &
           0x00FFFFFFu;
  }
  // The same pixel as a COLORREF (0x00BBGGRR), to compare with the colours drawn;
  // CLR_INVALID outside.
  std::uint32_t PixelColour(int x, int y) const {
    const std::uint32_t p = Pixel(x, y);
    if (p == 0xFFFFFFFFu) return CLR_INVALID;
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  // Every pixel of the DIB section set to a COLORREF.
  void Fill(std::uint32_t colour) {
    if (bits_ == nullptr) return;
    const std::uint32_t value =
        (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    ::GdiFlush();
    const std::size_t n = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
    for (std::size_t i = 0; i < n; ++i) bits_[i] = value;
  }

 private:
  void Own(UniqueBitmap bitmap) {
    previous_ = ::SelectObject(dc_.get(), bitmap.get());
    bitmap_ = std::move(bitmap);
  }
  void Deselect() {
    if (dc_ && previous_ != nullptr) ::SelectObject(dc_.get(), previous_);
    previous_ = nullptr;
  }

  // The DC goes before its bitmap.
  UniqueBitmap bitmap_;
  UniqueDc dc_;
  HGDIOBJ previous_ = nullptr;
  std::uint32_t* bits_ = nullptr;
  int width_ = 0, height_ = 0;
};

}  // namespace quillon
