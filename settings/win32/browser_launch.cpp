#include "settings/win32/browser_launch.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "settings/browser_command.h"
#include "settings/win32/registry_key.h"

namespace quillon {
namespace {

// A key's default value, expanded when it is stored with environment references.
std::optional<std::string> DefaultValue(HKEY root, const std::string& path) {
  const UniqueKey key = OpenKey(root, path.c_str(), KEY_QUERY_VALUE);
  if (!key) return std::nullopt;
  char text[MAX_PATH] = {};
  DWORD size = sizeof text - 1;
  DWORD type = 0;
  if (::RegQueryValueExA(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(text),
                         &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  if (type == REG_SZ) return std::string(text);
  if (type != REG_EXPAND_SZ) return std::nullopt;
  char expanded[MAX_PATH * 4] = {};
  const DWORD length = ::ExpandEnvironmentStringsA(text, expanded, sizeof expanded);
  if (length == 0 || length > sizeof expanded) return std::nullopt;
  return std::string(expanded);
}

}  // namespace

bool OpenInBrowser(const std::string& address) {
  const auto type = DefaultValue(HKEY_CLASSES_ROOT, ".htm");
  if (!type || type->empty()) return false;
  const auto command = DefaultValue(HKEY_CLASSES_ROOT, *type + "\\shell\\open\\command");
  if (!command) return false;
  const std::string line = BrowserCommandLine(*command, address);
  std::vector<char> writable(line.begin(), line.end());
  writable.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE,
                        CREATE_DEFAULT_ERROR_MODE | NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &startup, &process)) {
    return false;
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return true;
}

}  // namespace quillon
