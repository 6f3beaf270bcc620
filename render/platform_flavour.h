#pragma once
// Which family of Windows the drawing runs on. Windows 9x geometric pens cannot carry user
// dash patterns, so there lines are drawn solid and dashed by the DashStepper instead.

namespace quillon {

enum class PlatformFlavour {
  WindowsNt,  // also every non-Windows build
  Windows9x,  // VER_PLATFORM_WIN32_WINDOWS
};

}  // namespace quillon
