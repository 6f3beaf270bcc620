#include "control/win32/module.h"

#include <atomic>

#include "control/win32/class_factory.h"
#include "control/win32/com_guard.h"
#include "control/win32/registration.h"

namespace quillon {

namespace {
HINSTANCE g_module = nullptr;
std::atomic<long> g_locks{0};
}  // namespace

HINSTANCE ModuleHandle() { return g_module; }

std::wstring ModulePath() {
  wchar_t path[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameW(g_module, path, MAX_PATH);
  return std::wstring(path, n);
}

void LockModule() { ++g_locks; }
void UnlockModule() { --g_locks; }
bool ModuleInUse() { return g_locks.load() != 0; }

}  // namespace quillon

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    quillon::g_module = instance;
    ::DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH) {
    ::UnregisterClassA(quillon::kControlWindowClass, instance);
  }
  return TRUE;
}

STDAPI DllCanUnloadNow() { return quillon::ModuleInUse() ? S_FALSE : S_OK; }

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  return quillon::GetControlClassObject(clsid, iid, object);
}

STDAPI DllRegisterServer() {
  return quillon::Guarded([] { return quillon::RegisterControl(quillon::ModulePath()); });
}

STDAPI DllUnregisterServer() {
  return quillon::Guarded([] { return quillon::UnregisterControl(); });
}

}  // extern "C"
