#pragma once
// The class object of QuillonCtl.

#include <windows.h>

namespace quillon {

HRESULT GetControlClassObject(REFCLSID clsid, REFIID iid, void** object);

}  // namespace quillon
