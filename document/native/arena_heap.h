#pragma once
// Native stand-in for a private heap: zeroed blocks owned by the arena, all released when
// the arena goes, single-threaded like the Windows heap it replaces.

#include <cstddef>
#include <memory>
#include <unordered_map>

#include "document/document_platform.h"

namespace quillon {

class ArenaHeap final : public DocumentHeap {
 public:
  ArenaHeap() = default;
  ArenaHeap(const ArenaHeap&) = delete;
  ArenaHeap& operator=(const ArenaHeap&) = delete;

  void* Allocate(std::size_t bytes) override;
  void Free(void* block) override;
  std::size_t liveBlocks() const { return blocks_.size(); }

 private:
  struct FreeDeleter {
    void operator()(void* p) const;
  };
  std::unordered_map<void*, std::unique_ptr<void, FreeDeleter>> blocks_;
};

}  // namespace quillon
