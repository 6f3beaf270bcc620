#include "render/raster_state.h"

#include <new>

namespace quillon {

std::span<RasterPaletteEntry> RasterDrawState::Palette(std::uint32_t entries) {
  if (paletteFailed_) return {};
  const std::size_t wanted = entries < kPaletteEntries ? entries : kPaletteEntries;
  if (palette_.size() < wanted) {
    try {
      palette_.resize(wanted);
    } catch (const std::bad_alloc&) {
      paletteFailed_ = true;
      palette_ = {};
      return {};
    }
  }
  return palette_;
}

}  // namespace quillon
