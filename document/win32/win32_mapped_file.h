#pragma once
// A KPZ file opened for shared reading and mapped whole, read-only, through the Win32 API.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "base/win32/unique_handle.h"
#include "document/document_platform.h"

namespace quillon {

class Win32MappedFile final : public MappedFile {
 public:
  static MapStatus Open(const std::string& name, std::unique_ptr<MappedFile>& file);

  std::span<const std::uint8_t> View() const override {
    return {static_cast<const std::uint8_t*>(view_.get()), size_};
  }
  HANDLE mappingHandle() const { return mapping_.get(); }

 private:
  Win32MappedFile(UniqueFile file, UniqueKernelObject mapping, UniqueMapView view, DWORD size)
      : file_(std::move(file)), mapping_(std::move(mapping)), view_(std::move(view)), size_(size) {}
  // Declared in release order reversed: the view goes first, then the mapping, then the file.
  UniqueFile file_;
  UniqueKernelObject mapping_;
  UniqueMapView view_;
  DWORD size_;
};

}  // namespace quillon
