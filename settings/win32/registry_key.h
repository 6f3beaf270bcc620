#pragma once
// Opening and creating registry keys: a key that cannot be had comes back empty.

#include <windows.h>

#include "base/win32/unique_handle.h"

namespace quillon {

inline UniqueKey OpenKey(HKEY root, const char* path, REGSAM access) {
  UniqueKey key;
  // On failure the out value is not a key to close.
  if (::RegOpenKeyExA(root, path, 0, access, key.put()) != ERROR_SUCCESS) key.release();
  return key;
}

inline UniqueKey CreateKey(HKEY root, const char* path, REGSAM access) {
  UniqueKey key;
  if (::RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS) {
    key.release();
  }
  return key;
}

}  // namespace quillon
