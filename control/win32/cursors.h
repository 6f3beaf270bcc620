#pragma once
// The cursors of the mouse tools: the system's arrow and cross, and the Pan tool's open and
// closed hand from the library's own resources.

#include <windows.h>

#include "interact/mouse_tools.h"

namespace quillon {

inline constexpr const char* kOpenHandCursorName = "openHandCursor";
inline constexpr const char* kClosedHandCursorName = "closedHandCursor";

// The shared cursor of a kind; nullptr for Unchanged (or a resource the library lacks).
HCURSOR ToolCursor(CursorKind kind);
// Sets the cursor of a kind; Unchanged leaves the one shown.
void SetToolCursor(CursorKind kind);

}  // namespace quillon
