#include "document/win32/urlmon_download.h"

#include <windows.h>

#include <array>

#include "base/win32/unique_handle.h"

namespace quillon {
namespace {

// URLDownloadToCacheFileA(caller, url, name, size, reserved, callback).
using DownloadToCacheFileA = HRESULT(WINAPI*)(void*, const char*, char*, DWORD, DWORD, void*);

}  // namespace

DownloadStatus DownloadWithUrlmon(const std::string& url, std::string& localName,
                                  const char* library, const char* entryPoint) {
  UniqueModule module(::LoadLibraryA(library));
  if (!module) return DownloadStatus::NoLibrary;
  auto download = reinterpret_cast<DownloadToCacheFileA>(
      reinterpret_cast<void*>(::GetProcAddress(module.get(), entryPoint)));
  if (download == nullptr) return DownloadStatus::NoEntryPoint;
  std::array<char, MAX_PATH> name{};
  const HRESULT result =
      download(nullptr, url.c_str(), name.data(), static_cast<DWORD>(name.size()), 0, nullptr);
  if (FAILED(result)) return DownloadStatus::Failed;
  name.back() = '\0';
  localName = name.data();
  return DownloadStatus::Ok;
}

}  // namespace quillon
