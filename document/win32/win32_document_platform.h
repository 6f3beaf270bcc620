#pragma once
// Document services of the control on Windows: private heaps, Win32 file mapping, urlmon
// download and the control's modal message box.

#include <functional>
#include <string>

#include "document/document_platform.h"

namespace quillon {

class Win32DocumentPlatform : public DocumentPlatform {
 public:
  using MessageSink = std::function<void(const std::string& text)>;

  // Default sink: MessageBoxA with no owner, OK button, the control's caption.
  Win32DocumentPlatform() = default;
  // Tests and tools route messages elsewhere, so that nothing waits for a click.
  explicit Win32DocumentPlatform(MessageSink sink) : sink_(std::move(sink)) {}

  std::unique_ptr<DocumentHeap> CreateHeap(std::size_t initialBytes) override;
  DownloadStatus DownloadToCache(const std::string& url, std::string& localName) override;
  MapStatus OpenAndMap(const std::string& name, std::unique_ptr<MappedFile>& file) override;
  void ShowMessage(const std::string& text) override;

  static constexpr const char* kCaption = "QUILLON ActiveX Control";

 private:
  MessageSink sink_;
};

}  // namespace quillon
