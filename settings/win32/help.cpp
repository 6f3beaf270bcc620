#include "settings/win32/help.h"

#include <shellapi.h>

#include "settings/win32/browser_launch.h"

namespace quillon {

std::string ModuleFolder(HINSTANCE module) {
  char path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

namespace {

bool FileExists(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

HelpOpened ShowHelp(HINSTANCE module, HWND window) {
  const std::string folder = ModuleFolder(module);
  if (folder.empty()) return HelpOpened::Nothing;
  const std::string helpFile = folder + kHelpFileName;
  if (FileExists(helpFile)) {
    return ::WinHelpA(window, helpFile.c_str(), HELP_CONTENTS, 0) ? HelpOpened::HelpFile
                                                                  : HelpOpened::Nothing;
  }
  // Current systems have no help viewer; the page says the same in a browser.
  const std::string page = folder + kHelpPageName;
  if (!FileExists(page)) return HelpOpened::Nothing;
  if (OpenInBrowser("\"" + page + "\"")) return HelpOpened::Page;
  // A browser registered without an open command (a delegate) is still reached by the shell.
  const auto shell = reinterpret_cast<INT_PTR>(
      ::ShellExecuteA(window, "open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return shell > 32 ? HelpOpened::Page : HelpOpened::Nothing;
}

bool ShowHelpPopup(HINSTANCE module, HWND window, DWORD context) {
  const std::string folder = ModuleFolder(module);
  if (folder.empty() || !FileExists(folder + kHelpFileName)) return false;
  return ::WinHelpA(window, (folder + kHelpFileName).c_str(), HELP_CONTEXTPOPUP, context) != FALSE;
}

}  // namespace quillon
