#include "tests/support/fake_document_platform.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace quillon::test {
namespace {

class CountingHeap final : public DocumentHeap {
 public:
  CountingHeap(int& live, bool failAllocation, std::size_t maxBytes, bool dirty)
      : live_(live), failAllocation_(failAllocation), maxBytes_(maxBytes), dirty_(dirty) {
    ++live_;
  }
  ~CountingHeap() override {
    for (void* block : blocks_) std::free(block);
    --live_;
  }
  void* Allocate(std::size_t bytes) override {
    if (failAllocation_ || bytes > maxBytes_) return nullptr;
    // Zeroed, as the real heaps promise; dirty memory first when asked, so a loader that
    // relied on anything else would show up.
    void* block = dirty_ ? std::malloc(bytes) : std::calloc(bytes, 1);
    if (block == nullptr) return nullptr;
    if (dirty_) {
      std::memset(block, 0xCD, bytes);
      std::memset(block, 0, bytes);
    }
    blocks_.push_back(block);
    return block;
  }
  void Free(void* block) override {
    auto it = std::find(blocks_.begin(), blocks_.end(), block);
    if (it == blocks_.end()) return;
    std::free(*it);
    blocks_.erase(it);
  }

 private:
  int& live_;
  bool failAllocation_;
  std::size_t maxBytes_;
  bool dirty_;
  std::vector<void*> blocks_;
};

class CopiedFile final : public MappedFile {
 public:
  CopiedFile(std::vector<std::uint8_t> bytes, int& live) : bytes_(std::move(bytes)), live_(live) {
    ++live_;
  }
  ~CopiedFile() override { --live_; }
  std::span<const std::uint8_t> View() const override { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
  int& live_;
};

}  // namespace

std::unique_ptr<DocumentHeap> FakeDocumentPlatform::CreateHeap(std::size_t initialBytes) {
  lastHeapInitialBytes = initialBytes;
  if (failHeap) return nullptr;
  return std::make_unique<CountingHeap>(liveHeaps, failAllocation, maxAllocationBytes,
                                        dirtyAllocations);
}

DownloadStatus FakeDocumentPlatform::DownloadToCache(const std::string& url,
                                                     std::string& localName) {
  downloadedUrls.push_back(url);
  if (downloadResult == DownloadStatus::Ok) localName = downloadName;
  return downloadResult;
}

MapStatus FakeDocumentPlatform::OpenAndMap(const std::string& name,
                                           std::unique_ptr<MappedFile>& file) {
  openedNames.push_back(name);
  auto it = files.find(name);
  if (it == files.end()) return MapStatus::OpenFailed;
  if (it->second.mapResult != MapStatus::Ok) return it->second.mapResult;
  // Like CreateFileMapping, an empty file cannot be mapped.
  if (it->second.bytes.empty()) return MapStatus::MappingFailed;
  file = std::make_unique<CopiedFile>(it->second.bytes, liveMappings);
  return MapStatus::Ok;
}

std::optional<std::size_t> FakeDocumentPlatform::ReadLeadingBytes(const std::string& name,
                                                                  std::span<std::uint8_t> out) {
  auto it = files.find(name);
  if (it == files.end() || it->second.readOnly) return std::nullopt;
  const std::size_t n = std::min(out.size(), it->second.bytes.size());
  std::copy_n(it->second.bytes.begin(), n, out.begin());
  return n;
}

}  // namespace quillon::test
