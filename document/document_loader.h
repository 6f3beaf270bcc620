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
  // open is closed first. A file whose display list cannot be found still opens (it draws
  // nothing).
  int OpenDocument(const std::string& path, double viewWidth, double viewHeight);
  // Releases everything of the current document; harmless when there is none.
  void CloseDocument();
  // Modal message with the control's caption; the text is cut to 511 characters.
  void ShowControlMessage(const std::string& text);

  KpzDocument* document() const { return document_; }
  bool messageShown() const { return messageShown_; }
  // A new DataFileName re-arms the once-only message.
  void ClearMessageShown() { messageShown_ = false; }
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
};

}  // namespace quillon
