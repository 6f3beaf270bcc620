#pragma once
// The right-click menu made as a real popup menu from its table.

#include <windows.h>

#include <span>

#include "base/win32/unique_handle.h"
#include "interact/context_menu.h"

namespace quillon {

// Destroying a popup destroys its sub-menus with it.
using UniqueMenu = UniqueHandle<NullHandleTraits<HMENU, ::DestroyMenu>>;

// A popup with the entries in order; an empty handle when the system refuses one.
UniqueMenu BuildPopupMenu(std::span<const MenuEntry> entries);

}  // namespace quillon
