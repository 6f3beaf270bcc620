#include "document/win32/private_heap.h"

namespace quillon {

std::unique_ptr<PrivateHeap> PrivateHeap::Create(std::size_t initialBytes) {
  UniqueHeap heap(::HeapCreate(HEAP_NO_SERIALIZE, initialBytes, 0));  // maximum 0: growable
  if (!heap) return nullptr;
  return std::unique_ptr<PrivateHeap>(new PrivateHeap(std::move(heap)));
}

void* PrivateHeap::Allocate(std::size_t bytes) {
  return ::HeapAlloc(heap_.get(), HEAP_ZERO_MEMORY, bytes);
}

void PrivateHeap::Free(void* block) {
  if (block != nullptr) ::HeapFree(heap_.get(), 0, block);
}

}  // namespace quillon
