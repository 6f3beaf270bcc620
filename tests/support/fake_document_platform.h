#pragma once
// In-memory document services for unit tests of the loader: files are byte vectors keyed by
// name, messages are recorded instead of shown, and every service can be made to fail.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "document/document_platform.h"

namespace quillon::test {

class FakeDocumentPlatform : public DocumentPlatform {
 public:
  struct File {
    std::vector<std::uint8_t> bytes;
    bool readOnly = false;
    MapStatus mapResult = MapStatus::Ok;  // force MappingFailed / ViewFailed
  };

  void AddFile(const std::string& name, std::vector<std::uint8_t> bytes, bool readOnly = false) {
    files[name] = File{std::move(bytes), readOnly};
  }

  std::unique_ptr<DocumentHeap> CreateHeap(std::size_t initialBytes) override;
  DownloadStatus DownloadToCache(const std::string& url, std::string& localName) override;
  MapStatus OpenAndMap(const std::string& name, std::unique_ptr<MappedFile>& file) override;
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  std::optional<std::size_t> ReadLeadingBytes(const std::string& name,
                                              std::span<std::uint8_t> out) override;

  std::map<std::string, File> files;
  std::vector<std::string> messages;
  std::vector<std::string> openedNames;  // every OpenAndMap attempt, in order
  std::vector<std::string> downloadedUrls;
  DownloadStatus downloadResult = DownloadStatus::Ok;
  std::string downloadName;  // the cache name handed back on Ok
  bool failHeap = false;
  bool failAllocation = false;
  // Blocks larger than this are refused, as a heap short of address space would.
  std::size_t maxAllocationBytes = SIZE_MAX;
  // Blocks are filled with garbage before being zeroed, so that a reader relying on
  // anything but the promised zeros shows up. Fuzz targets turn it off: touching every page
  // of every block is most of their time.
  bool dirtyAllocations = true;
  std::size_t lastHeapInitialBytes = 0;
  int liveHeaps = 0;
  int liveMappings = 0;
};

}  // namespace quillon::test
