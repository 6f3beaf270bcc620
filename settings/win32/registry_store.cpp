#include "settings/win32/registry_store.h"

#include <windows.h>

#include <vector>

#include "settings/control_settings_defaults.h"
#include "settings/win32/registry_key.h"

namespace quillon {

namespace {

// Text values are read into 260-byte buffers; a longer one is refused rather than cut, so a
// damaged value never passes for a shorter valid one.
constexpr DWORD kTextBytes = 260;

std::string Parent(const std::string& path) {
  const auto slash = path.rfind('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string Leaf(const std::string& path) {
  const auto slash = path.rfind('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

RegistryStore::RegistryStore() : RegistryStore(HKEY_CURRENT_USER, std::string(kSettingsKeyPath)) {}

RegistryStore::RegistryStore(HKEY__* root, std::string path)
    : root_(root), path_(std::move(path)) {}

bool RegistryStore::EnsureKey() {
  if (OpenKey(root_, path_.c_str(), KEY_ALL_ACCESS)) return true;
  return static_cast<bool>(CreateKey(root_, path_.c_str(), KEY_ALL_ACCESS));
}

bool RegistryStore::RecreateKey() {
  // The parent (the maker's key) stays; only our own key is removed with its values.
  UniqueKey parent = CreateKey(root_, Parent(path_).c_str(), KEY_ALL_ACCESS);
  if (!parent) return false;
  const std::string leaf = Leaf(path_);
  ::RegDeleteTreeA(parent.get(), leaf.c_str());
  UniqueKey key = CreateKey(parent.get(), leaf.c_str(), KEY_ALL_ACCESS);
  if (!key) return false;
  // An empty default value, as the key has always carried.
  return ::RegSetValueExA(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1) ==
         ERROR_SUCCESS;
}

bool RegistryStore::KeyExists() {
  return static_cast<bool>(OpenKey(root_, path_.c_str(), KEY_QUERY_VALUE));
}

std::optional<std::string> RegistryStore::ReadText(std::string_view name) {
  UniqueKey key = OpenKey(root_, path_.c_str(), KEY_QUERY_VALUE);
  if (!key) return std::nullopt;
  const std::string value(name);
  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExA(key.get(), value.c_str(), nullptr, &type, nullptr, &size) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ) || size > kTextBytes) {
    return std::nullopt;
  }
  std::vector<char> text(size + 1, '\0');
  if (::RegQueryValueExA(key.get(), value.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(text.data()), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::string(text.data());
}

std::optional<std::uint32_t> RegistryStore::ReadDword(std::string_view name) {
  UniqueKey key = OpenKey(root_, path_.c_str(), KEY_QUERY_VALUE);
  if (!key) return std::nullopt;
  DWORD type = 0;
  DWORD data = 0;
  DWORD size = sizeof data;
  if (::RegQueryValueExA(key.get(), std::string(name).c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof data) {
    return std::nullopt;
  }
  return data;
}

bool RegistryStore::WriteText(std::string_view name, std::string_view value) {
  UniqueKey key = OpenKey(root_, path_.c_str(), KEY_SET_VALUE);
  if (!key) return false;
  const std::string text(value);
  return ::RegSetValueExA(key.get(), std::string(name).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

bool RegistryStore::WriteDword(std::string_view name, std::uint32_t value) {
  UniqueKey key = OpenKey(root_, path_.c_str(), KEY_SET_VALUE);
  if (!key) return false;
  const DWORD data = value;
  return ::RegSetValueExA(key.get(), std::string(name).c_str(), 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&data), sizeof data) == ERROR_SUCCESS;
}

}  // namespace quillon
