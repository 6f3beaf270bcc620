#include "render/win32/dib_target.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "base/win32/unique_handle.h"

namespace quillon {

namespace {

bool IsPlain32BitRgb(const DIBSECTION& section) {
  const BITMAPINFOHEADER& h = section.dsBmih;
  if (h.biBitCount != 32 || section.dsBm.bmBits == nullptr) return false;
  if (h.biCompression == BI_RGB) return true;
  return h.biCompression == BI_BITFIELDS && section.dsBitfields[0] == 0x00FF0000 &&
         section.dsBitfields[1] == 0x0000FF00 && section.dsBitfields[2] == 0x000000FF;
}

// GetObject does not tell a top-down section from a bottom-up one (biHeight comes back
// positive for both), so one pixel is set at device (0, 0) to see which row it lands in,
// and both candidate pixels are put back as they were.
enum class RowOrder { TopDown, BottomUp, Unknown };
RowOrder FindRowOrder(HDC dc, std::uint32_t* bits, int height, std::ptrdiff_t stride) {
  if (height == 1) return RowOrder::TopDown;
  std::uint32_t& first = bits[0];
  std::uint32_t& last = bits[static_cast<std::ptrdiff_t>(height - 1) * stride];
  const std::uint32_t keptFirst = first, keptLast = last;
  std::uint32_t probe = 1;
  while ((probe == (keptFirst & 0xFFFFFF)) || (probe == (keptLast & 0xFFFFFF))) ++probe;
  const int saved = ::SaveDC(dc);
  ::SetMapMode(dc, MM_TEXT);
  ::SetWindowOrgEx(dc, 0, 0, nullptr);
  ::SetViewportOrgEx(dc, 0, 0, nullptr);
  ::ModifyWorldTransform(dc, nullptr, MWT_IDENTITY);
  ::SelectClipRgn(dc, nullptr);
  ::GdiFlush();
  // The probe's colour is the pixel value itself: red in the high byte of a DIB pixel.
  ::SetPixelV(dc, 0, 0, RGB((probe >> 16) & 0xFF, (probe >> 8) & 0xFF, probe & 0xFF));
  ::GdiFlush();
  const bool firstChanged = first != keptFirst, lastChanged = last != keptLast;
  first = keptFirst;
  last = keptLast;
  ::RestoreDC(dc, saved);
  if (firstChanged == lastChanged) return RowOrder::Unknown;
  return firstChanged ? RowOrder::TopDown : RowOrder::BottomUp;
}

}  // namespace

std::optional<DibTarget> FindDibTarget(HDC dc) {
  HGDIOBJ bitmap = ::GetCurrentObject(dc, OBJ_BITMAP);
  DIBSECTION section{};
  if (bitmap == nullptr || ::GetObject(bitmap, sizeof section, &section) != sizeof section ||
      !IsPlain32BitRgb(section))
    return std::nullopt;
  const int width = section.dsBm.bmWidth, height = section.dsBm.bmHeight;
  const std::ptrdiff_t stride = section.dsBm.bmWidthBytes / 4;
  if (width <= 0 || height <= 0 || stride < width) return std::nullopt;
  auto* bits = static_cast<std::uint32_t*>(section.dsBm.bmBits);
  DibTarget target{{bits, width, height, stride}, {0, 0, width, height}};
  // A bottom-up section keeps row 0 last.
  const RowOrder order = FindRowOrder(dc, bits, height, stride);
  if (order == RowOrder::Unknown) return std::nullopt;
  if (order == RowOrder::BottomUp) {
    target.surface.bits = bits + static_cast<std::ptrdiff_t>(height - 1) * stride;
    target.surface.rowStep = -stride;
  }

  UniqueGdiHandle<HRGN> region(::CreateRectRgn(0, 0, 0, 0));
  if (!region) return std::nullopt;
  const int clipped = ::GetClipRgn(dc, region.get());
  if (clipped < 0) return std::nullopt;
  if (clipped == 1) {
    RECT box{};
    const int kind = ::GetRgnBox(region.get(), &box);
    if (kind == NULLREGION) {
      target.clip = {0, 0, 0, 0};
    } else if (kind == SIMPLEREGION) {
      target.clip = {std::max<LONG>(box.left, 0), std::max<LONG>(box.top, 0),
                     std::min<LONG>(box.right, width), std::min<LONG>(box.bottom, height)};
    } else {
      return std::nullopt;
    }
  }
  return target;
}

}  // namespace quillon
