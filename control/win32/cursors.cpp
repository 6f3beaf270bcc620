#include "control/win32/cursors.h"

#include "control/win32/module.h"

namespace quillon {

HCURSOR ToolCursor(CursorKind kind) {
  // LoadCursor gives shared cursors: they are never destroyed.
  switch (kind) {
    case CursorKind::Arrow:
      return ::LoadCursor(nullptr, IDC_ARROW);
    case CursorKind::Cross:
      return ::LoadCursor(nullptr, IDC_CROSS);
    case CursorKind::OpenHand:
      return ::LoadCursorA(ModuleHandle(), kOpenHandCursorName);
    case CursorKind::ClosedHand:
      return ::LoadCursorA(ModuleHandle(), kClosedHandCursorName);
    case CursorKind::Unchanged:
      break;
  }
  return nullptr;
}

void SetToolCursor(CursorKind kind) {
  if (HCURSOR cursor = ToolCursor(kind)) ::SetCursor(cursor);
}

}  // namespace quillon
