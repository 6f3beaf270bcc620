#pragma once
// The settings key in memory, for tests of what reads and writes it.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "settings/settings_store.h"

namespace quillon {

// The settings key in memory, with the order in which values were written.
class MemoryStore : public SettingsStore {
 public:
  using Value = std::variant<std::string, std::uint32_t>;

  bool EnsureKey() override {
    if (!canCreate && !exists) return false;
    exists = true;
    return true;
  }
  bool RecreateKey() override {
    if (!canCreate) return false;
    values.clear();
    writes.clear();
    exists = true;
    return true;
  }
  bool KeyExists() override { return exists; }
  std::optional<std::string> ReadText(std::string_view name) override {
    const auto it = values.find(std::string(name));
    if (!exists || it == values.end() || !std::holds_alternative<std::string>(it->second)) {
      return std::nullopt;
    }
    return std::get<std::string>(it->second);
  }
  std::optional<std::uint32_t> ReadDword(std::string_view name) override {
    const auto it = values.find(std::string(name));
    if (!exists || it == values.end() || !std::holds_alternative<std::uint32_t>(it->second)) {
      return std::nullopt;
    }
    return std::get<std::uint32_t>(it->second);
  }
  bool WriteText(std::string_view name, std::string_view value) override {
    return Write(name, std::string(value));
  }
  bool WriteDword(std::string_view name, std::uint32_t value) override {
    return Write(name, value);
  }

  bool exists = true;
  bool canCreate = true;
  std::map<std::string, Value> values;
  std::vector<std::string> writes;

 private:
  bool Write(std::string_view name, Value value) {
    if (!exists) return false;
    values[std::string(name)] = std::move(value);
    writes.emplace_back(name);
    return true;
  }
};

}  // namespace quillon
