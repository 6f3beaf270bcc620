#include "control/win32/context_menu.h"

#include <string>

namespace quillon {

UniqueMenu BuildPopupMenu(std::span<const MenuEntry> entries) {
  UniqueMenu menu(::CreatePopupMenu());
  if (!menu) return {};
  for (const MenuEntry& e : entries) {
    const std::string text(e.text);
    switch (e.kind) {
      case MenuEntry::Kind::Separator:
        ::AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
        break;
      case MenuEntry::Kind::SubMenu: {
        UniqueMenu sub = BuildPopupMenu(e.items);
        if (!sub) return {};
        if (!::AppendMenuA(menu.get(), MF_POPUP | MF_STRING,
                           reinterpret_cast<UINT_PTR>(sub.get()), text.c_str())) {
          return {};
        }
        sub.release();  // the popup owns it now
        break;
      }
      case MenuEntry::Kind::Command: {
        const UINT flags = MF_STRING | (e.checked ? MF_CHECKED : MF_UNCHECKED) |
                           (e.greyed ? MF_GRAYED : MF_ENABLED);
        ::AppendMenuA(menu.get(), flags, static_cast<UINT_PTR>(e.id), text.c_str());
        break;
      }
    }
  }
  return menu;
}

}  // namespace quillon
