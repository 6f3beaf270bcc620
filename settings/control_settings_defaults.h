#pragma once
// The per-user settings key and the values that registration writes into it, in the order
// they are written.

#include <span>
#include <string_view>

#include "settings/settings_store.h"

namespace quillon {

// Under HKEY_CURRENT_USER.
inline constexpr std::string_view kSettingsKeyPath = "Software\\Veltramark\\Quillon";
inline constexpr std::string_view kSettingsParentPath = "Software\\Veltramark";

struct SettingDefault {
  std::string_view name;
  bool isDword;
  std::string_view text;  // for text values
  unsigned dword;         // for DWORD values
};

std::span<const SettingDefault> RegistrationDefaults();

// Registration: the key is removed and made again with every default.
bool WriteRegistrationDefaults(SettingsStore& store);

}  // namespace quillon
