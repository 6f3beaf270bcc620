#pragma once
// The viewer's file-open dialog, which lists KPZ plots.

#include <windows.h>

#include <optional>
#include <string>

namespace quillon::mirandel {

// The chosen path, or nothing when the user cancels.
std::optional<std::wstring> RunOpenDialog(HWND owner);

}  // namespace quillon::mirandel
