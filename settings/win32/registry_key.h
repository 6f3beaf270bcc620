#pragma once
// An open registry key, closed exactly once.

#include <windows.h>

#include <utility>

namespace quillon {

class UniqueKey {
 public:
  UniqueKey() = default;
  explicit UniqueKey(HKEY key) : key_(key) {}
  ~UniqueKey() { reset(); }
  UniqueKey(UniqueKey&& o) noexcept : key_(std::exchange(o.key_, nullptr)) {}
  UniqueKey& operator=(UniqueKey&& o) noexcept {
    if (this != &o) {
      reset();
      key_ = std::exchange(o.key_, nullptr);
    }
    return *this;
  }
  UniqueKey(const UniqueKey&) = delete;
  UniqueKey& operator=(const UniqueKey&) = delete;

  HKEY get() const { return key_; }
  HKEY* put() {
    reset();
    return &key_;
  }
  explicit operator bool() const { return key_ != nullptr; }
  void reset() {
    if (key_ != nullptr) ::RegCloseKey(key_);
    key_ = nullptr;
  }

  static UniqueKey Open(HKEY root, const char* path, REGSAM access) {
    UniqueKey key;
    if (::RegOpenKeyExA(root, path, 0, access, key.put()) != ERROR_SUCCESS) key.key_ = nullptr;
    return key;
  }
  static UniqueKey Create(HKEY root, const char* path, REGSAM access) {
    UniqueKey key;
    if (::RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                          key.put(), nullptr) != ERROR_SUCCESS) {
      key.key_ = nullptr;
    }
    return key;
  }

 private:
  HKEY key_ = nullptr;
};

}  // namespace quillon
