#include "document/native/arena_heap.h"

#include <cstdlib>

namespace quillon {

void ArenaHeap::FreeDeleter::operator()(void* p) const { std::free(p); }

void* ArenaHeap::Allocate(std::size_t bytes) {
  // calloc gives zeroed memory aligned for any type; a zero-byte request still gets a block.
  void* block = std::calloc(bytes == 0 ? 1 : bytes, 1);
  if (block == nullptr) return nullptr;
  try {
    blocks_.emplace(block, std::unique_ptr<void, FreeDeleter>(block));
  } catch (...) {
    std::free(block);
    return nullptr;
  }
  return block;
}

void ArenaHeap::Free(void* block) {
  if (block != nullptr) blocks_.erase(block);
}

}  // namespace quillon
