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

// A locked DEVMODE, or none when the block is too small to hold one: a block from the registry
// or a driver is never read past its end.
class LockedDevMode : public Locked<DEVMODEA> {
 public:
  explicit LockedDevMode(HGLOBAL block)
      : Locked<DEVMODEA>(block != nullptr && ::GlobalSize(block) >= sizeof(DEVMODEA) ? block
                                                                                    : nullptr) {}
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

// The printer's papers: names (64-character slots) and ids in the same order. Empty when the
// driver cannot list them.
struct Paper {
  std::string name;
  WORD id;
};
std::vector<Paper> PapersOf(const std::string& device) {
  std::vector<Paper> papers;
  const int count = ::DeviceCapabilitiesA(device.c_str(), nullptr, DC_PAPERNAMES, nullptr, nullptr);
  if (count <= 0 || count >= 4096) return papers;
  std::vector<char> names(static_cast<std::size_t>(count) * 64);
  std::vector<WORD> ids(count);
  if (::DeviceCapabilitiesA(device.c_str(), nullptr, DC_PAPERNAMES, names.data(), nullptr) !=
      count) {
    return papers;
  }
  if (::DeviceCapabilitiesA(device.c_str(), nullptr, DC_PAPERS,
                            reinterpret_cast<char*>(ids.data()), nullptr) != count) {
    ids.assign(count, 0);
  }
  for (std::size_t i = 0; i < ids.size(); ++i)
    papers.push_back({std::string(&names[i * 64], strnlen(&names[i * 64], 64)), ids[i]});
  return papers;
}

const Paper* FindPaper(const std::vector<Paper>& papers, const std::string& name) {
  for (const Paper& paper : papers)
    if (::lstrcmpiA(paper.name.c_str(), name.c_str()) == 0) return &paper;
  return nullptr;
}

// DEVNAMES: four 16-bit offsets and flags, then the driver, device and port names.
UniqueGlobal MakeDevNames(const PrinterNames& names) {
  const std::size_t size = 8 + names.driver.size() + names.printer.size() + names.port.size() + 3;
  if (size > 0xFFFF) return {};  // offsets are 16-bit
  UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size));
  if (!block) return {};
  Locked<BYTE> bytes(block.get());
  if (!bytes) return {};
  auto* header = reinterpret_cast<DEVNAMES*>(bytes.get());
  header->wDriverOffset = 8;
  header->wDeviceOffset = static_cast<WORD>(8 + names.driver.size() + 1);
  header->wOutputOffset = static_cast<WORD>(header->wDeviceOffset + names.printer.size() + 1);
  header->wDefault = 0;
  std::memcpy(bytes.get() + header->wDriverOffset, names.driver.c_str(), names.driver.size() + 1);
  std::memcpy(bytes.get() + header->wDeviceOffset, names.printer.c_str(), names.printer.size() + 1);
  std::memcpy(bytes.get() + header->wOutputOffset, names.port.c_str(), names.port.size() + 1);
  return block;
}

// The three names of a DEVNAMES block, each within the block.
std::optional<PrinterNames> NamesOf(HGLOBAL block) {
  if (block == nullptr) return std::nullopt;
  const SIZE_T size = ::GlobalSize(block);
  Locked<BYTE> bytes(block);
  if (!bytes || size < 8) return std::nullopt;
  const auto* header = reinterpret_cast<const DEVNAMES*>(bytes.get());
  const auto text = [&](WORD offset) -> std::optional<std::string> {
    if (offset >= size) return std::nullopt;
    const char* start = reinterpret_cast<const char*>(bytes.get() + offset);
    const std::size_t length = strnlen(start, size - offset);
    if (length == size - offset) return std::nullopt;  // not terminated inside the block
    return std::string(start, length);
  };
  const auto driver = text(header->wDriverOffset), device = text(header->wDeviceOffset),
             port = text(header->wOutputOffset);
  if (!driver || !device || !port) return std::nullopt;
  return PrinterNames{*driver, *device, *port};
}

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
    LockedDevMode mode(devMode_.get());
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
    LockedDevMode mode(block.get());
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
  PrinterNames names{info->pDriverName ? info->pDriverName : "",
                     info->pPrinterName ? info->pPrinterName : "",
                     info->pPortName ? info->pPortName : ""};
  UniqueGlobal block = MakeDevNames(names);
  if (!block) return;
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
  LockedDevMode mode(devMode_.get());
  if (!mode) return std::nullopt;
  return NameField(mode->dmDeviceName);
}

std::optional<std::string> PrinterSetup::FormName() const {
  LockedDevMode mode(devMode_.get());
  if (!mode) return std::nullopt;
  return NameField(mode->dmFormName);
}

std::optional<short> PrinterSetup::Orientation() const {
  LockedDevMode mode(devMode_.get());
  if (!mode) return std::nullopt;
  return mode->dmOrientation;
}

bool PrinterSetup::SetDeviceName(const std::string& name) {
  {
    LockedDevMode mode(devMode_.get());
    if (!mode) return false;
    SetNameField(mode->dmDeviceName, name);
  }
  RebuildDevNames(name);
  return true;
}

bool PrinterSetup::SetFormName(const std::string& name) {
  LockedDevMode mode(devMode_.get());
  if (!mode) return false;
  SetNameField(mode->dmFormName, name);
  // The paper id of that name on the printer, or 0.
  const Paper* found = FindPaper(PapersOf(NameField(mode->dmDeviceName)), name);
  const short paper = found != nullptr ? static_cast<short>(found->id) : 0;
  mode->dmPaperSize = paper;
  return true;
}

bool PrinterSetup::SetOrientation(short orientation) {
  LockedDevMode mode(devMode_.get());
  if (!mode) return false;
  mode->dmOrientation = orientation;
  return true;
}

void PrinterSetup::ApplyToDc() {
  if (!dc_) return;
  LockedDevMode mode(devMode_.get());
  if (mode) ::ResetDCA(dc_.get(), mode.get());
}

std::optional<SavedPrinterSetup> PrinterSetup::Saved() const {
  LockedDevMode mode(devMode_.get());
  if (!mode) return std::nullopt;
  SavedPrinterSetup s;
  s.deviceName = NameField(mode->dmDeviceName);
  s.fields = mode->dmFields;
  s.orientation = mode->dmOrientation;
  s.scale = mode->dmScale;
  s.copies = mode->dmCopies;
  s.defaultSource = mode->dmDefaultSource;
  s.printQuality = mode->dmPrintQuality;
  s.colour = mode->dmColor;
  s.duplex = mode->dmDuplex;
  s.yResolution = mode->dmYResolution;
  s.trueTypeOption = mode->dmTTOption;
  s.formName = NameField(mode->dmFormName);
  s.paperSize = mode->dmPaperSize;
  s.names = NamesOf(devNames_.get());
  return s;
}

bool PrinterSetup::Restore(const SavedPrinterSetup& saved) {
  dc_.reset();
  {
    PrinterHandle handle(saved.deviceName);
    if (handle.get() == nullptr) return false;
  }
  if (!saved.formName.empty() && FindPaper(PapersOf(saved.deviceName), saved.formName) == nullptr)
    return false;
  // The saved fields go onto the printer's own default DEVMODE, which keeps the driver's
  // private part and version valid.
  UniqueGlobal previous = std::move(devMode_);
  if (!LoadDefaultDevMode(saved.deviceName)) {
    devMode_ = std::move(previous);
    return false;
  }
  {
    LockedDevMode mode(devMode_.get());
    if (!mode) return false;
    mode->dmFields = saved.fields;
    mode->dmOrientation = saved.orientation;
    mode->dmScale = saved.scale;
    mode->dmCopies = saved.copies;
    mode->dmDefaultSource = saved.defaultSource;
    mode->dmPrintQuality = saved.printQuality;
    mode->dmColor = saved.colour;
    mode->dmDuplex = saved.duplex;
    mode->dmYResolution = saved.yResolution;
    mode->dmTTOption = saved.trueTypeOption;
    SetNameField(mode->dmFormName, saved.formName);
    mode->dmPaperSize = saved.paperSize;
  }
  if (saved.names) {
    if (UniqueGlobal names = MakeDevNames(*saved.names)) devNames_ = std::move(names);
  } else {
    RebuildDevNames(saved.deviceName);
  }
  return true;
}

void PrinterSetup::CheckFormOnPrinter() {
  std::string device, form;
  {
    LockedDevMode mode(devMode_.get());
    if (!mode) return;
    device = NameField(mode->dmDeviceName);
    form = NameField(mode->dmFormName);
  }
  if (form.empty() || FindPaper(PapersOf(device), form) != nullptr) return;
  UniqueGlobal previous = std::move(devMode_);
  if (!LoadDefaultDevMode(device)) {
    devMode_ = std::move(previous);
    return;
  }
  dc_.reset();
  Acquire();
}

}  // namespace quillon
