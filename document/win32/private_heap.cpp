#include "document/win32/private_heap.h"

namespace quillon {

std::unique_ptr<PrivateHeap> PrivateHeap::Create(std::size_t initialBytes) {
  HANDLE heap = ::HeapCreate(HEAP_NO_SERIALIZE, initialBytes, 0);  // maximum 0: growable
  if (heap == nullptr) return nullptr;
  return std::unique_ptr<PrivateHeap>(new PrivateHeap(heap));
}

void* PrivateHeap::Allocate(std::size_t bytes) {
  return ::HeapAlloc(heap_, HEAP_ZERO_MEMORY, bytes);
}

void PrivateHeap::Free(void* block) {
  if (block != nullptr) ::HeapFree(heap_, 0, block);
}

}  // namespace quillon
