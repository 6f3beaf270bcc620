#pragma once
// Which Windows family this process runs on, asked once of the system: the drawing takes the
// Windows 9x paths only there.

#include "render/platform_flavour.h"

namespace quillon {

// Windows9x when GetVersionExA reports VER_PLATFORM_WIN32_WINDOWS; WindowsNt otherwise,
// also when the question cannot be answered.
PlatformFlavour DetectPlatformFlavour();

}  // namespace quillon
