#include "tools/kpzsnap/control_snapshot.h"

#include <windows.h>
// After <windows.h>: the OLE headers build on its types.
#include <objbase.h>
#include <ocidl.h>
#include <oleidl.h>

#include <cstddef>
#include <cstdio>

#include "base/win32/memory_dc.h"
#include "base/win32/unique_handle.h"
#include "control/control_settings.h"
#include "control/quillon_h.h"
#include "control/win32/com_ptr.h"
#include "control/win32/message_route.h"
#include "control/win32/status_bar.h"
#include "settings/win32/registry_store.h"

namespace quillon {

namespace {

void __stdcall PrintControlMessage(const char* text, void*) {
  std::fprintf(stderr, "control message: %s\n", text);
}

std::string BesideThisProgram(const char* name) {
  char self[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string path(self, n);
  return path.substr(0, path.find_last_of("\\/") + 1) + name;
}

// Registers quillon.dll from this program's folder, as regsvr32 would.
HRESULT RegisterControlBesideThisProgram() {
  const std::string library = BesideThisProgram("quillon.dll");
  UniqueModule module(::LoadLibraryA(library.c_str()));
  if (!module) return HRESULT_FROM_WIN32(::GetLastError());
  using Entry = HRESULT(STDAPICALLTYPE*)();
  auto entry = reinterpret_cast<Entry>(
      reinterpret_cast<void*>(::GetProcAddress(module.get(), "DllRegisterServer")));
  return entry != nullptr ? entry() : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}

std::wstring Wide(const std::string& ansi) {
  const int n =
      ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) {
    ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
  }
  return wide;
}

// The control's paint keeps heights rounded down to even and takes its strip off that: the
// drawing area is then always odd. The size given to the control is the smallest whose
// drawing area holds `areaHeight` rows.
int ControlHeightFor(int areaHeight) {
  const int withStrip = areaHeight + kStatusBarHeight;
  return withStrip + (withStrip & 1);
}

}  // namespace

struct ControlSnapshot::Parts {
  SnapView view;
  std::string error;
  bool oleStarted = false;
  bool stripShown = true;  // the control draws its status bar strip under the drawing
  int controlHeight = 0;   // the height the control paints, strip included
  ComPtr<IQuillonCtl> ctl;
  ComPtr<IViewObject> viewObject;
  std::unique_ptr<MemoryDc> surface;
};

ControlSnapshot::ControlSnapshot(const SnapView& view) : parts_(std::make_unique<Parts>()) {
  Parts& p = *parts_;
  p.view = view;
  p.oleStarted = SUCCEEDED(::OleInitialize(nullptr));

  // The control reads the user's "StatusBar" at its load: the strip is shown unless it says
  // otherwise. The picture's drawing area keeps its asked size either way.
  RegistryStore settings;
  p.stripShown = ReadStatusBar(settings).value_or(true);
  if (!p.stripShown) {
    p.controlHeight = view.height;
    if (view.statusBar) {
      std::fputs("kpzsnap: the control's status bar is switched off in the user's settings\n",
                 stderr);
    }
  } else {
    p.controlHeight = view.statusBar ? view.height : ControlHeightFor(view.height);
  }

  ComPtr<IUnknown> unknown;
  HRESULT hr = ::CoCreateInstance(CLSID_QuillonCtl, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                  reinterpret_cast<void**>(unknown.GetAddressOf()));
  if (hr == REGDB_E_CLASSNOTREG) {
    const HRESULT registered = RegisterControlBesideThisProgram();
    if (FAILED(registered)) {
      char why[96];
      std::snprintf(why, sizeof why, "cannot register quillon.dll beside kpzsnap (0x%08lX)",
                    static_cast<unsigned long>(registered));
      p.error = why;
      return;
    }
    hr = ::CoCreateInstance(CLSID_QuillonCtl, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                            reinterpret_cast<void**>(unknown.GetAddressOf()));
  }
  if (FAILED(hr)) {
    char why[64];
    std::snprintf(why, sizeof why, "cannot create the control (0x%08lX)",
                  static_cast<unsigned long>(hr));
    p.error = why;
    return;
  }
  // The messages are answered here before anything can show one.
  ComPtr<IQuillonMessageRoute> route;
  if (FAILED(unknown->QueryInterface(IID_IQuillonMessageRoute,
                                     reinterpret_cast<void**>(route.GetAddressOf()))) ||
      FAILED(route->SetMessageSink(PrintControlMessage, nullptr))) {
    p.error = "the control does not let its messages be answered";
    return;
  }
  if (FAILED(unknown->QueryInterface(IID_IQuillonCtl,
                                     reinterpret_cast<void**>(p.ctl.GetAddressOf()))) ||
      FAILED(unknown->QueryInterface(IID_IViewObject,
                                     reinterpret_cast<void**>(p.viewObject.GetAddressOf())))) {
    p.error = "the control lacks its automation or view interface";
    return;
  }
  // A new control, as a container starts one without saved properties.
  ComPtr<IPersistStreamInit> persist;
  if (SUCCEEDED(unknown->QueryInterface(IID_IPersistStreamInit,
                                        reinterpret_cast<void**>(persist.GetAddressOf())))) {
    persist->InitNew();
  }
  // Its size, in the HIMETRIC a container gives.
  ComPtr<IOleObject> ole;
  if (SUCCEEDED(
          unknown->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(ole.GetAddressOf())))) {
    WindowDc screen(nullptr);
    SIZEL extent{::MulDiv(view.width, 2540, ::GetDeviceCaps(screen.get(), LOGPIXELSX)),
                 ::MulDiv(p.controlHeight, 2540, ::GetDeviceCaps(screen.get(), LOGPIXELSY))};
    ole->SetExtent(DVASPECT_CONTENT, &extent);
  }
  p.surface = std::make_unique<MemoryDc>(view.width, p.controlHeight);
  if (!p.surface->valid()) {
    char why[64];
    std::snprintf(why, sizeof why, "no %dx%d bitmap to draw on", view.width, p.controlHeight);
    p.error = why;
  }
}

ControlSnapshot::~ControlSnapshot() {
  Parts& p = *parts_;
  p.viewObject.Reset();
  p.ctl.Reset();  // the control goes (and keeps its settings) before COM does
  p.surface.reset();
  if (p.oleStarted) ::OleUninitialize();
}

const std::string& ControlSnapshot::error() const { return parts_->error; }

bool ControlSnapshot::Open(const std::string& file) {
  Parts& p = *parts_;
  if (!p.error.empty()) return false;
  UniqueBstr name(Wide(file));
  if (FAILED(p.ctl->put_DataFileName(name.get()))) return false;
  // The turn is taken at the load, before the first paint; the scale and corner after it.
  if (FAILED(p.ctl->put_Rot(p.view.rotation))) return false;
  if (p.view.scale) {
    p.ctl->put_ViewScale(*p.view.scale);
    p.ctl->put_xOrg(p.view.originX);
    p.ctl->put_yOrg(p.view.originY);
  }
  Draw();
  // The page size answers only for a loaded plot.
  double pageWidth = 0;
  return SUCCEEDED(p.ctl->get_KpzXSize(&pageWidth));
}

void ControlSnapshot::Draw() {
  Parts& p = *parts_;
  if (!p.viewObject || !p.surface) return;
  p.surface->Fill(RGB(255, 255, 255));
  RECTL bounds{0, 0, p.view.width, p.controlHeight};
  p.viewObject->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, p.surface->dc(), &bounds,
                     nullptr, nullptr, 0);
  ::GdiFlush();
}

IQuillonCtl* ControlSnapshot::control() const { return parts_->ctl.Get(); }

SnapImage ControlSnapshot::Image() const {
  const Parts& p = *parts_;
  SnapImage image;
  if (!p.surface || !p.surface->valid()) return image;
  image.width = p.view.width;
  image.height = p.view.height;  // the rows under it hold the strip when it is not asked for
  // The DIB section's own rows, top-down: one copy instead of a call per pixel.
  const auto pixels = p.surface->Pixels();
  image.pixels.assign(pixels.begin(),
                      pixels.begin() + static_cast<std::ptrdiff_t>(image.width) * image.height);
  for (std::uint32_t& pixel : image.pixels) pixel &= 0x00FFFFFFu;
  return image;
}

}  // namespace quillon
