#include "document/native/native_document_platform.h"

#include <cstdio>

#include "document/native/arena_heap.h"
#include "document/native/posix_mapped_file.h"

namespace quillon {

NativeDocumentPlatform::NativeDocumentPlatform()
    : downloader_([](const std::string&, std::string&) { return DownloadStatus::NoLibrary; }),
      sink_([](const std::string& text) {
        std::fprintf(stderr, "QUILLON ActiveX Control: %s\n", text.c_str());
      }) {}

std::unique_ptr<DocumentHeap> NativeDocumentPlatform::CreateHeap(std::size_t) {
  return std::make_unique<ArenaHeap>();
}

DownloadStatus NativeDocumentPlatform::DownloadToCache(const std::string& url,
                                                       std::string& localName) {
  if (!downloader_) return DownloadStatus::NoLibrary;
  return downloader_(url, localName);
}

MapStatus NativeDocumentPlatform::OpenAndMap(const std::string& name,
                                             std::unique_ptr<MappedFile>& file) {
  return PosixMappedFile::Open(name, file);
}

void NativeDocumentPlatform::ShowMessage(const std::string& text) {
  if (sink_) sink_(text);
}

}  // namespace quillon
