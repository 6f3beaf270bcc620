#pragma once
// Self-registration: the class, its ProgIDs, the type library and the per-user settings key.

#include <windows.h>

#include <string>

namespace quillon {

inline constexpr const char* kProgId = "QuillonCtl.QuillonCtl.1";
inline constexpr const char* kVersionIndependentProgId = "QuillonCtl.QuillonCtl";
inline constexpr const char* kClassDescription = "QuillonCtl Class";

HRESULT RegisterControl(const std::wstring& modulePath);
HRESULT UnregisterControl();

}  // namespace quillon
