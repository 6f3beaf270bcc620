#pragma once
// Document services for the native build (tools, tests): an arena for the private heap,
// mmap for the file, and injectable download and message services.

#include <functional>
#include <string>

#include "document/document_platform.h"

namespace quillon {

class NativeDocumentPlatform : public DocumentPlatform {
 public:
  using Downloader = std::function<DownloadStatus(const std::string& url, std::string& local)>;
  using MessageSink = std::function<void(const std::string& text)>;

  // Without urlmon there is no cache download here: the default reports the library missing.
  NativeDocumentPlatform();

  void setDownloader(Downloader downloader) { downloader_ = std::move(downloader); }
  void setMessageSink(MessageSink sink) { sink_ = std::move(sink); }

  std::unique_ptr<DocumentHeap> CreateHeap(std::size_t initialBytes) override;
  DownloadStatus DownloadToCache(const std::string& url, std::string& localName) override;
  MapStatus OpenAndMap(const std::string& name, std::unique_ptr<MappedFile>& file) override;
  void ShowMessage(const std::string& text) override;

 private:
  Downloader downloader_;
  MessageSink sink_;
};

}  // namespace quillon
