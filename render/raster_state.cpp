#include "render/raster_state.h"

#include <new>

namespace quillon {

std::span<RasterPaletteEntry> RasterDrawState::Palette() {
  if (!paletteTried_) {
    paletteTried_ = true;
    palette_.reset(new (std::nothrow) RasterPaletteEntry[kPaletteEntries]);
  }
  if (!palette_) return {};
  return {palette_.get(), kPaletteEntries};
}

}  // namespace quillon
