#pragma once
// Opening and closing a KPZ document: download of http paths, the outer-form check,
// mapping of the whole file, the private heap, and the control's load messages.

#include <cstddef>
#include <cstdint>
#include <string>

#include "document/document_platform.h"
#include "document/kpz_document.h"

namespace quillon {

class DocumentLoader {
 public:
  // Initial size of a document's private heap; it grows on demand.
  static constexpr std::size_t kInitialHeapBytes = 10000;
  // Local file names live in a MAX_PATH buffer: at most 259 characters.
  static constexpr std::size_t kMaxNameLength = 259;
  // Messages are formatted into 512 bytes.
  static constexpr std::size_t kMaxMessageLength = 511;

  explicit DocumentLoader(DocumentPlatform& platform) : platform_(platform) {}
  ~DocumentLoader() { CloseDocument(); }
  DocumentLoader(const DocumentLoader&) = delete;
  DocumentLoader& operator=(const DocumentLoader&) = delete;

  // 0 on success, -1 on failure (messages shown as the loading rules say). A document still
  // open is closed first. On success the caller (the DrawContext) rebuilds its halving tables
  // for the either-bit rule before drawing.
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

  // "dir\my plan.kpz" -> "dir\my%20plan.kpz": spaces after the last backslash become "%20".
  // Empty when the name has no backslash.
  static std::string SpaceEscapedName(const std::string& name);
  // True when the first four characters are "http" in any case.
  static bool IsHttpPath(const std::string& path);

 private:
  void ShowOnce(const std::string& text);
  bool ObtainLocalName(const std::string& path, std::string& name);
  bool HasAcceptedForm(const std::string& name);
  int MapFile(const std::string& path, const std::string& name);

  DocumentPlatform& platform_;
  KpzDocument* document_ = nullptr;
  bool messageShown_ = false;
  std::uint32_t maxRasterZoomLevel_ = 0;
};

}  // namespace quillon
