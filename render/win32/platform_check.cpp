#include "render/win32/platform_check.h"

#include <windows.h>

namespace quillon {

PlatformFlavour DetectPlatformFlavour() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!::GetVersionExA(&info)) return PlatformFlavour::WindowsNt;
  return info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? PlatformFlavour::Windows9x
                                                         : PlatformFlavour::WindowsNt;
}

}  // namespace quillon
