#include "tests/win32/postscript_test_printer.h"

#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <vector>

namespace quillon::test {
namespace {

std::wstring Wide(const std::string& text) {
  std::wstring out(text.size(), L'\0');
  for (std::size_t i = 0; i < text.size(); ++i) out[i] = static_cast<unsigned char>(text[i]);
  return out;
}

// The Unix name of a Windows path, through Wine's own kernel32 export.
std::string UnixName(const std::string& windowsName) {
  using Convert = char*(__cdecl*)(const wchar_t*);
  const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!convert) return "";
  char* unix = convert(Wide(windowsName).c_str());
  if (!unix) return "";
  std::string out = unix;
  ::HeapFree(::GetProcessHeap(), 0, unix);
  return out;
}

void RemovePrinter(const std::wstring& name) {
  HANDLE printer = nullptr;
  PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ALL_ACCESS};
  if (::OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &printer, &access)) {
    ::DeletePrinter(printer);
    ::ClosePrinter(printer);
  }
}

// The printer's default DEVMODE with the paper of that form name.
bool SetDefaultPaper(HANDLE printer, std::wstring& name, const std::wstring& paper) {
  const LONG size = ::DocumentPropertiesW(nullptr, printer, name.data(), nullptr, nullptr, 0);
  if (size < static_cast<LONG>(sizeof(DEVMODEW))) return false;
  std::vector<BYTE> buffer(static_cast<std::size_t>(size));
  auto* mode = reinterpret_cast<DEVMODEW*>(buffer.data());
  if (::DocumentPropertiesW(nullptr, printer, name.data(), mode, nullptr, DM_OUT_BUFFER) < 0)
    return false;
  if (paper == mode->dmFormName) return true;
  // The paper's id from the driver's own list.
  const int count = ::DeviceCapabilitiesW(name.c_str(), nullptr, DC_PAPERNAMES, nullptr, nullptr);
  if (count <= 0) return false;
  std::vector<wchar_t> names(static_cast<std::size_t>(count) * 64);
  std::vector<WORD> ids(static_cast<std::size_t>(count));
  ::DeviceCapabilitiesW(name.c_str(), nullptr, DC_PAPERNAMES, names.data(), nullptr);
  ::DeviceCapabilitiesW(name.c_str(), nullptr, DC_PAPERS, reinterpret_cast<wchar_t*>(ids.data()),
                        nullptr);
  int found = -1;
  for (int i = 0; i < count && found < 0; ++i)
    if (paper == std::wstring(&names[i * 64], wcsnlen(&names[i * 64], 64))) found = i;
  if (found < 0) return false;
  lstrcpynW(mode->dmFormName, paper.c_str(), CCHFORMNAME);
  mode->dmPaperSize = static_cast<short>(ids[found]);
  mode->dmFields |= DM_FORMNAME | DM_PAPERSIZE;
  if (::DocumentPropertiesW(nullptr, printer, name.data(), mode, mode,
                            DM_IN_BUFFER | DM_OUT_BUFFER) < 0) {
    return false;
  }
  DWORD needed = 0;
  ::GetPrinterW(printer, 2, nullptr, 0, &needed);
  std::vector<BYTE> info(needed);
  if (needed == 0 || !::GetPrinterW(printer, 2, info.data(), needed, &needed)) return false;
  auto* level2 = reinterpret_cast<PRINTER_INFO_2W*>(info.data());
  level2->pDevMode = mode;
  level2->pSecurityDescriptor = nullptr;
  return ::SetPrinterW(printer, 2, info.data(), 0) != FALSE;
}

}  // namespace

PostScriptTestPrinter::PostScriptTestPrinter(const std::string& folder, int dpi,
                                             const std::string& paper)
    : folder_(folder),
      name_("Quillon Test PS " + std::to_string(::GetCurrentProcessId()) +
            (paper == "A4" ? "" : " " + paper)),
      paper_(paper),
      postScript_(folder + "\\job.ps"),
      picture_(folder + "\\job.png"),
      dpi_(dpi) {}

PostScriptTestPrinter::~PostScriptTestPrinter() {
  if (installed_) RemovePrinter(Wide(name_));
  ::DeleteFileA(postScript_.c_str());
  ::DeleteFileA(picture_.c_str());
}

bool PostScriptTestPrinter::Fail(const std::string& step) {
  error_ = step + " failed (error " + std::to_string(::GetLastError()) + ")";
  return false;
}

bool PostScriptTestPrinter::Install() {
  // Wine's generic PPD is a resource of winspool.drv.
  HMODULE spool = ::LoadLibraryExA("winspool.drv", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!spool) return Fail("loading winspool.drv");
  HRSRC found = ::FindResourceW(spool, MAKEINTRESOURCEW(1), L"PPDFILE");
  HGLOBAL loaded = found ? ::LoadResource(spool, found) : nullptr;
  const void* ppd = loaded ? ::LockResource(loaded) : nullptr;
  const DWORD ppdSize = found ? ::SizeofResource(spool, found) : 0;
  if (!ppd || ppdSize == 0) return Fail("finding the generic PPD");
  // The driver looks for its data file in the printer driver folder.
  char driverFolder[MAX_PATH] = {};
  DWORD needed = 0;
  if (!::GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(driverFolder),
                                    sizeof driverFolder, &needed))
    return Fail("GetPrinterDriverDirectoryA");
  const std::string ppdName = std::string(driverFolder) + "\\quillon-test.ppd";
  FILE* out = std::fopen(ppdName.c_str(), "wb");
  if (!out) return Fail("writing the PPD");
  const bool written = std::fwrite(ppd, 1, ppdSize, out) == ppdSize;
  std::fclose(out);
  ::FreeLibrary(spool);
  if (!written) return Fail("writing the PPD");

  std::wstring driver = L"Quillon Test PS Driver";
  std::wstring wineps = L"wineps.drv";
  std::wstring ppdWide = Wide(ppdName);
  DRIVER_INFO_3W info{};
  info.cVersion = 3;
  info.pName = driver.data();
  info.pDriverPath = wineps.data();
  info.pConfigFile = wineps.data();
  info.pDataFile = ppdWide.data();
  if (!::AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&info), APD_COPY_NEW_FILES))
    return Fail("AddPrinterDriverExW");

  const std::string ps = UnixName(postScript_), png = UnixName(picture_);
  if (ps.empty() || png.empty()) return Fail("finding the Unix names");
  std::string command = "|cat > \"" + ps + "\"";
  if (dpi_ > 0) {
    command += " && gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=png16m -r" + std::to_string(dpi_) +
               " -dFirstPage=1 -dLastPage=1 \"-sOutputFile=" + png + "\" \"" + ps + "\"";
  }
  std::wstring port = Wide(command);
  std::wstring name = Wide(name_);
  std::wstring processor = L"winprint", datatype = L"RAW";
  RemovePrinter(name);
  PRINTER_INFO_2W printer{};
  printer.pPrinterName = name.data();
  printer.pPortName = port.data();
  printer.pDriverName = driver.data();
  printer.pPrintProcessor = processor.data();
  printer.pDatatype = datatype.data();
  HANDLE added = ::AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
  if (!added) return Fail("AddPrinterW");
  installed_ = true;
  std::wstring paper = Wide(paper_);
  ::SetPrinterDataExW(added, L"PPD Overrides", L"DefaultPageSize", REG_SZ,
                      reinterpret_cast<BYTE*>(paper.data()),
                      static_cast<DWORD>((paper.size() + 1) * sizeof(wchar_t)));
  // The printer's own default set-up names the paper too: dialogs start from it.
  const bool paperSet = SetDefaultPaper(added, name, paper);
  ::ClosePrinter(added);
  return paperSet || Fail("setting the default paper");
}

}  // namespace quillon::test
