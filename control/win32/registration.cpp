#include "control/win32/registration.h"

#include <oleauto.h>
#include <olectl.h>

#include <string>

#include "control/quillon_h.h"
#include "control/win32/com_ptr.h"
#include "settings/control_settings_defaults.h"
#include "settings/win32/registry_key.h"
#include "settings/win32/registry_store.h"

namespace quillon {

namespace {

std::string GuidText(REFGUID guid) {
  wchar_t wide[40] = {};
  ::StringFromGUID2(guid, wide, 40);
  return std::string(wide, wide + wcslen(wide));
}

std::string Narrow(const std::wstring& text) {
  const int n = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n : 1, '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
  out.resize(out.find('\0'));
  return out;
}

// Creates root\path and sets its default value (when given) and named values.
bool SetKey(HKEY root, const std::string& path, const char* value = nullptr,
            const char* name = nullptr, const char* named = nullptr) {
  UniqueKey key = CreateKey(root, path.c_str(), KEY_WRITE);
  if (!key) return false;
  auto set = [&](const char* n, const char* v) {
    return ::RegSetValueExA(key.get(), n, 0, REG_SZ, reinterpret_cast<const BYTE*>(v),
                            static_cast<DWORD>(strlen(v) + 1)) == ERROR_SUCCESS;
  };
  if (value != nullptr && !set(nullptr, value)) return false;
  if (name != nullptr && !set(name, named)) return false;
  return true;
}

}  // namespace

HRESULT RegisterControl(const std::wstring& modulePath) {
  const std::string clsid = GuidText(CLSID_QuillonCtl);
  const std::string libid = GuidText(LIBID_QUILLONLib);
  const std::string module = Narrow(modulePath);
  const std::string cls = "CLSID\\" + clsid;
  const HKEY root = HKEY_CLASSES_ROOT;

  bool ok =
      SetKey(root, kProgId, kClassDescription) &&
      SetKey(root, std::string(kProgId) + "\\CLSID", clsid.c_str()) &&
      SetKey(root, kVersionIndependentProgId, kClassDescription) &&
      SetKey(root, std::string(kVersionIndependentProgId) + "\\CLSID", clsid.c_str()) &&
      SetKey(root, std::string(kVersionIndependentProgId) + "\\CurVer", kProgId) &&
      SetKey(root, cls, kClassDescription) && SetKey(root, cls + "\\ProgID", kProgId) &&
      SetKey(root, cls + "\\VersionIndependentProgID", kVersionIndependentProgId) &&
      SetKey(root, cls + "\\InprocServer32", module.c_str(), "ThreadingModel", "Apartment") &&
      SetKey(root, cls + "\\Control") && SetKey(root, cls + "\\Programmable") &&
      SetKey(root, cls + "\\Insertable") &&
      SetKey(root, cls + "\\ToolboxBitmap32", (module + ", 1").c_str()) &&
      SetKey(root, cls + "\\MiscStatus", "0") && SetKey(root, cls + "\\MiscStatus\\1", "131473") &&
      SetKey(root, cls + "\\TypeLib", libid.c_str()) && SetKey(root, cls + "\\Version", "1.0");
  if (!ok) return SELFREG_E_CLASS;

  ComPtr<ITypeLib> library;
  if (FAILED(::LoadTypeLibEx(modulePath.c_str(), REGKIND_REGISTER, &library))) {
    return SELFREG_E_TYPELIB;
  }
  RegistryStore settings;
  if (!WriteRegistrationDefaults(settings)) return SELFREG_E_CLASS;
  return S_OK;
}

HRESULT UnregisterControl() {
  const std::string clsid = GuidText(CLSID_QuillonCtl);
  ::RegDeleteTreeA(HKEY_CLASSES_ROOT, ("CLSID\\" + clsid).c_str());
  ::RegDeleteTreeA(HKEY_CLASSES_ROOT, kProgId);
  ::RegDeleteTreeA(HKEY_CLASSES_ROOT, kVersionIndependentProgId);
  // The user's settings stay: they belong to the user, not to this copy of the library.
  ::UnRegisterTypeLib(LIBID_QUILLONLib, 1, 0, LOCALE_NEUTRAL, SYS_WIN32);
  return S_OK;
}

}  // namespace quillon
