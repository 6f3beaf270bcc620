#pragma once
// Help for the control: the help file beside the library in the help viewer when there is
// one; otherwise the help page installed beside the library, in the browser.

#include <windows.h>

#include <string>

namespace quillon {

inline constexpr const char* kHelpFileName = "quillon.hlp";
inline constexpr const char* kHelpPageName = "quillon-help.html";

enum class HelpOpened { HelpFile, Page, Nothing };

// The folder of module, ending in a backslash.
std::string ModuleFolder(HINSTANCE module);

// window: the control's window, which the help viewer belongs to.
HelpOpened ShowHelp(HINSTANCE module, HWND window);

// A popup of the help file beside the library, for one context; false when there is no help
// file or viewer (current systems have none).
bool ShowHelpPopup(HINSTANCE module, HWND window, DWORD context);

}  // namespace quillon
