#pragma once
// The library's own handle, path and life count (live objects and server locks).

#include <windows.h>

#include <string>

namespace quillon {

// The class of the control's window; unregistered when the library is unloaded, so that a
// later load does not find a class whose procedure lies in freed code.
inline constexpr const char* kControlWindowClass = "QuillonCtlWindow";

HINSTANCE ModuleHandle();
std::wstring ModulePath();
void LockModule();
void UnlockModule();
bool ModuleInUse();

}  // namespace quillon
