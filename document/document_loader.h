#pragma once
// Opening and closing a KPZ document: download of http paths, the outer-form check,
// mapping of the whole file, the private heap, and the control's load messages.

#include <cstdint>
#include <string>

#include "document/document_platform.h"
#include "document/kpz_document.h"

namespace quillon {

class DocumentLoader {
 public:
  explicit DocumentLoader(DocumentPlatform& platform) : platform_(platform) {}
  ~DocumentLoader() { CloseDocument(); }
  DocumentLoader(const DocumentLoader&) = delete;
  DocumentLoader& operator=(const DocumentLoader&) = delete;

  // 0 on success, -1 on failure (messages shown as the loading rules say).
  int OpenDocument(const std::string& path, double viewWidth, double viewHeight);
  // Releases everything of the current document; harmless when there is none.
  // Pens and brushes it still holds are deleted through `objects` when given.
  void CloseDocument(Device* objects = nullptr);
  // Modal message with the control's caption; the text is cut to 511 characters.
  void ShowControlMessage(const std::string& text);

  KpzDocument* document() const { return document_; }
  bool messageShown() const { return messageShown_; }
  // A new DataFileName re-arms the once-only message.
  void ClearMessageShown() { messageShown_ = false; }
  void setMaxRasterZoomLevel(std::uint32_t level) { maxRasterZoomLevel_ = level > 4 ? 4 : level; }
  std::uint32_t maxRasterZoomLevel() const { return maxRasterZoomLevel_; }
  DocumentPlatform& platform() { return platform_; }

 private:
  void ShowOnce(const std::string& text);

  DocumentPlatform& platform_;
  KpzDocument* document_ = nullptr;
  bool messageShown_ = false;
  std::uint32_t maxRasterZoomLevel_ = 0;
};

}  // namespace quillon
