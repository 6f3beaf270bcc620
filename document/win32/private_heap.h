#pragma once
// A document's private Win32 heap: unserialised (the window thread alone uses it), growable,
// zero-filled blocks, destroyed in one step.

#include <windows.h>

#include <cstddef>
#include <memory>

#include "document/document_platform.h"

namespace quillon {

class PrivateHeap final : public DocumentHeap {
 public:
  // nullptr when HeapCreate fails.
  static std::unique_ptr<PrivateHeap> Create(std::size_t initialBytes);
  ~PrivateHeap() override { ::HeapDestroy(heap_); }
  PrivateHeap(const PrivateHeap&) = delete;
  PrivateHeap& operator=(const PrivateHeap&) = delete;

  void* Allocate(std::size_t bytes) override;
  void Free(void* block) override;
  HANDLE handle() const { return heap_; }

 private:
  explicit PrivateHeap(HANDLE heap) : heap_(heap) {}
  HANDLE heap_;
};

}  // namespace quillon
