#pragma once
// The per-user settings key as the control sees it: named text and DWORD values. The registry
// implements it on Windows; unit tests use an in-memory one.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // Creates the key when it is missing; false when it can be neither opened nor created.
  virtual bool EnsureKey() = 0;
  // Removes the key with its values and makes it again, empty (registration starts afresh).
  virtual bool RecreateKey() = 0;
  virtual bool KeyExists() = 0;

  // nullopt when the key or the value is missing or of another type.
  virtual std::optional<std::string> ReadText(std::string_view name) = 0;
  virtual std::optional<std::uint32_t> ReadDword(std::string_view name) = 0;
  // Writes into an existing key only: false (and nothing written) when the key is missing.
  virtual bool WriteText(std::string_view name, std::string_view value) = 0;
  virtual bool WriteDword(std::string_view name, std::uint32_t value) = 0;
};

}  // namespace quillon
