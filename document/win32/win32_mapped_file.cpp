#include "document/win32/win32_mapped_file.h"

namespace quillon {

MapStatus Win32MappedFile::Open(const std::string& name, std::unique_ptr<MappedFile>& file) {
  UniqueFile handle(::CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle) return MapStatus::OpenFailed;
  // The low 32 bits: a larger file cannot be viewed whole in a 32-bit process anyway.
  const DWORD size = ::GetFileSize(handle.get(), nullptr);
  // An empty file cannot be mapped: CreateFileMapping refuses it.
  UniqueKernelObject mapping(
      ::CreateFileMappingA(handle.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (!mapping) return MapStatus::MappingFailed;
  UniqueMapView view(::MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
  if (!view) return MapStatus::ViewFailed;
  file.reset(new Win32MappedFile(std::move(handle), std::move(mapping), std::move(view), size));
  return MapStatus::Ok;
}

}  // namespace quillon
