#pragma once
// The control's settings in the registry: HKEY_CURRENT_USER\Software\Veltramark\Quillon unless
// another root and path are given (tests use a scratch key).

#include <string>

#include "settings/settings_store.h"

struct HKEY__;

namespace quillon {

class RegistryStore final : public SettingsStore {
 public:
  RegistryStore();  // the per-user key of the control
  RegistryStore(HKEY__* root, std::string path);

  bool EnsureKey() override;
  bool RecreateKey() override;
  bool KeyExists() override;
  std::optional<std::string> ReadText(std::string_view name) override;
  std::optional<std::uint32_t> ReadDword(std::string_view name) override;
  bool WriteText(std::string_view name, std::string_view value) override;
  bool WriteDword(std::string_view name, std::uint32_t value) override;

  const std::string& path() const { return path_; }

 private:
  HKEY__* root_;
  std::string path_;
};

}  // namespace quillon
