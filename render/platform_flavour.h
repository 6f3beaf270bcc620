#pragma once
// Which family of Windows the drawing runs on. Windows 9x geometric pens cannot carry user
// dash patterns, so there lines are drawn solid and dashed by the DashStepper instead.

namespace quillon {

enum class PlatformFlavour {
  WindowsNt,  // also every non-Windows build
  Windows9x,  // the Windows 95/98/Me platform id
};

}  // namespace quillon
