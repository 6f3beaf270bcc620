#pragma once
// The average colour of a device-independent bitmap: what a pattern looks like from afar,
// for targets that cannot fill with the pattern itself.

#include <optional>

#include "render/device.h"

namespace quillon {

// Uncompressed 1, 4, 8, 24 and 32 bits per pixel; nothing for anything else or for a DIB whose
// header, colour table or bits are shorter than it says.
std::optional<ColorRef> AverageDibColour(const DibView& dib);

}  // namespace quillon
