#include "control/win32/printer_setup.h"

#include <winspool.h>

#include <cstring>
#include <vector>

namespace quillon {

namespace {

// A locked view of a movable block, unlocked when it goes.
template <typename T>
class Locked {
 public:
  explicit Locked(HGLOBAL block)
      : block_(block), p_(block != nullptr ? static_cast<T*>(::GlobalLock(block)) : nullptr) {}
  ~Locked() {
    if (p_ != nullptr) ::GlobalUnlock(block_);
  }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  HGLOBAL block_;
  T* p_;
};

// A DEVMODE name field: 32 bytes, not always terminated.
std::string NameField(const BYTE* field) {
  const char* text = reinterpret_cast<const char*>(field);
  return std::string(text, strnlen(text, CCHDEVICENAME));
}

void SetNameField(BYTE* field, const std::string& name) {
  std::memset(field, 0, CCHDEVICENAME);
  std::memcpy(field, name.data(), std::min<std::size_t>(name.size(), CCHDEVICENAME - 1));
}

std::string DefaultPrinterName() {
  char device[260] = {};
  ::GetProfileStringA("windows", "device", "", device, sizeof device);
  std::string name(device);
  return name.substr(0, name.find(','));
}

class PrinterHandle {
 public:
  explicit PrinterHandle(const std::string& name) {
    if (!::OpenPrinterA(const_cast<char*>(name.c_str()), &h_, nullptr)) h_ = nullptr;
  }
  ~PrinterHandle() {
    if (h_ != nullptr) ::ClosePrinter(h_);
  }
  PrinterHandle(const PrinterHandle&) = delete;
  PrinterHandle& operator=(const PrinterHandle&) = delete;
  HANDLE get() const { return h_; }

 private:
  HANDLE h_ = nullptr;
};

}  // namespace

bool PrinterSetup::Acquire() {
  if (dc_) return true;
  std::string printer;
  if (devMode_) {
    printer = DeviceName().value_or("");
  } else {
    printer = DefaultPrinterName();
    if (printer.empty() || !LoadDefaultDevMode(printer)) return false;
  }
  {
    Locked<DEVMODEA> mode(devMode_.get());
    dc_.reset(::CreateDCA(nullptr, printer.c_str(), nullptr, mode.get()));
  }
  if (!dc_) return false;
  RebuildDevNames(printer);
  return true;
}

bool PrinterSetup::LoadDefaultDevMode(const std::string& printer) {
  char* name = const_cast<char*>(printer.c_str());
  const LONG size = ::DocumentPropertiesA(nullptr, nullptr, name, nullptr, nullptr, 0);
  if (size < static_cast<LONG>(sizeof(DEVMODEA))) return false;
  UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(size)));
  if (!block) return false;
  {
    Locked<DEVMODEA> mode(block.get());
    if (!mode ||
        ::DocumentPropertiesA(nullptr, nullptr, name, mode.get(), nullptr, DM_OUT_BUFFER) < 0) {
      return false;
    }
  }
  devMode_ = std::move(block);
  return true;
}

void PrinterSetup::RebuildDevNames(const std::string& printer) {
  PrinterHandle handle(printer);
  if (handle.get() == nullptr) return;
  DWORD needed = 0;
  ::GetPrinterA(handle.get(), 2, nullptr, 0, &needed);
  if (needed == 0) return;
  std::vector<BYTE> data(needed);
  if (!::GetPrinterA(handle.get(), 2, data.data(), needed, &needed)) return;
  const auto* info = reinterpret_cast<const PRINTER_INFO_2A*>(data.data());
  const std::string driver = info->pDriverName ? info->pDriverName : "";
  const std::string device = info->pPrinterName ? info->pPrinterName : "";
  const std::string port = info->pPortName ? info->pPortName : "";
  const std::size_t size = 8 + driver.size() + device.size() + port.size() + 3;
  if (size > 0xFFFF) return;  // offsets are 16-bit
  UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size));
  if (!block) return;
  {
    Locked<BYTE> bytes(block.get());
    if (!bytes) return;
    auto* names = reinterpret_cast<DEVNAMES*>(bytes.get());
    names->wDriverOffset = 8;
    names->wDeviceOffset = static_cast<WORD>(8 + driver.size() + 1);
    names->wOutputOffset = static_cast<WORD>(names->wDeviceOffset + device.size() + 1);
    names->wDefault = 0;
    std::memcpy(bytes.get() + names->wDriverOffset, driver.c_str(), driver.size() + 1);
    std::memcpy(bytes.get() + names->wDeviceOffset, device.c_str(), device.size() + 1);
    std::memcpy(bytes.get() + names->wOutputOffset, port.c_str(), port.size() + 1);
  }
  devNames_ = std::move(block);
}

void PrinterSetup::Clear() {
  dc_.reset();
  devMode_.reset();
  devNames_.reset();
}

void PrinterSetup::Adopt(HGLOBAL devMode, HGLOBAL devNames, HDC dc) {
  if (devMode != devMode_.get()) devMode_.reset(devMode);
  if (devNames != devNames_.get()) devNames_.reset(devNames);
  if (dc != nullptr && dc != dc_.get()) dc_.reset(dc);
}

FormSize PrinterSetup::Form() const {
  FormSize form;
  if (!dc_) return form;
  form.widthPixels = ::GetDeviceCaps(dc_.get(), HORZRES);
  form.heightPixels = ::GetDeviceCaps(dc_.get(), VERTRES);
  const int dpiX = ::GetDeviceCaps(dc_.get(), LOGPIXELSX);
  const int dpiY = ::GetDeviceCaps(dc_.get(), LOGPIXELSY);
  if (dpiX > 0) form.widthMetres = static_cast<double>(form.widthPixels) / dpiX * 0.0254;
  if (dpiY > 0) form.heightMetres = static_cast<double>(form.heightPixels) / dpiY * 0.0254;
  return form;
}

std::optional<std::string> PrinterSetup::DeviceName() const {
  Locked<DEVMODEA> mode(devMode_.get());
  if (!mode) return std::nullopt;
  return NameField(mode->dmDeviceName);
}

std::optional<std::string> PrinterSetup::FormName() const {
  Locked<DEVMODEA> mode(devMode_.get());
  if (!mode) return std::nullopt;
  return NameField(mode->dmFormName);
}

std::optional<short> PrinterSetup::Orientation() const {
  Locked<DEVMODEA> mode(devMode_.get());
  if (!mode) return std::nullopt;
  return mode->dmOrientation;
}

bool PrinterSetup::SetDeviceName(const std::string& name) {
  {
    Locked<DEVMODEA> mode(devMode_.get());
    if (!mode) return false;
    SetNameField(mode->dmDeviceName, name);
  }
  RebuildDevNames(name);
  return true;
}

bool PrinterSetup::SetFormName(const std::string& name) {
  Locked<DEVMODEA> mode(devMode_.get());
  if (!mode) return false;
  SetNameField(mode->dmFormName, name);
  // The paper id of that name on the printer, or 0.
  const std::string device = NameField(mode->dmDeviceName);
  short paper = 0;
  const DWORD count =
      ::DeviceCapabilitiesA(device.c_str(), nullptr, DC_PAPERNAMES, nullptr, nullptr);
  if (count != static_cast<DWORD>(-1) && count > 0 && count < 4096) {
    std::vector<char> names(static_cast<std::size_t>(count) * 64);
    std::vector<WORD> ids(count);
    ::DeviceCapabilitiesA(device.c_str(), nullptr, DC_PAPERNAMES, names.data(), nullptr);
    ::DeviceCapabilitiesA(device.c_str(), nullptr, DC_PAPERS, reinterpret_cast<char*>(ids.data()),
                          nullptr);
    for (DWORD i = 0; i < count; ++i) {
      const std::string paperName(&names[i * 64], strnlen(&names[i * 64], 64));
      if (::lstrcmpiA(paperName.c_str(), name.c_str()) == 0) {
        paper = static_cast<short>(ids[i]);
        break;
      }
    }
  }
  mode->dmPaperSize = paper;
  return true;
}

bool PrinterSetup::SetOrientation(short orientation) {
  Locked<DEVMODEA> mode(devMode_.get());
  if (!mode) return false;
  mode->dmOrientation = orientation;
  return true;
}

void PrinterSetup::ApplyToDc() {
  if (!dc_) return;
  Locked<DEVMODEA> mode(devMode_.get());
  if (mode) ::ResetDCA(dc_.get(), mode.get());
}

}  // namespace quillon
