#pragma once
// A document's private Win32 heap: unserialised (the window thread alone uses it), growable,
// zero-filled blocks, destroyed in one step.

#include <windows.h>

#include <cstddef>
#include <memory>
#include <utility>

#include "base/win32/unique_handle.h"
#include "document/document_platform.h"

namespace quillon {

class PrivateHeap final : public DocumentHeap {
 public:
  // nullptr when HeapCreate fails.
  static std::unique_ptr<PrivateHeap> Create(std::size_t initialBytes);

  void* Allocate(std::size_t bytes) override;
  void Free(void* block) override;
  HANDLE handle() const { return heap_.get(); }

 private:
  explicit PrivateHeap(UniqueHeap heap) : heap_(std::move(heap)) {}
  UniqueHeap heap_;
};

}  // namespace quillon
