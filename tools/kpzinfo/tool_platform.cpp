#include "tools/kpzinfo/tool_platform.h"

#include <cstdio>
#include <string>

#ifdef _WIN32
#include "document/win32/win32_document_platform.h"
#else
#include "document/native/native_document_platform.h"
#endif

namespace quillon {

namespace {

void PrintControlMessage(const std::string& text) {
  std::fprintf(stderr, "control message: %s\n", text.c_str());
}

}  // namespace

std::unique_ptr<DocumentPlatform> MakeToolPlatform() {
#ifdef _WIN32
  return std::make_unique<Win32DocumentPlatform>(PrintControlMessage);
#else
  auto platform = std::make_unique<NativeDocumentPlatform>();
  platform->setMessageSink(PrintControlMessage);
  return platform;
#endif
}

}  // namespace quillon
