#include "document/win32/win32_document_platform.h"

#include <windows.h>

#include "document/win32/private_heap.h"
#include "document/win32/urlmon_download.h"
#include "document/win32/win32_mapped_file.h"

namespace quillon {

std::unique_ptr<DocumentHeap> Win32DocumentPlatform::CreateHeap(std::size_t initialBytes) {
  return PrivateHeap::Create(initialBytes);
}

DownloadStatus Win32DocumentPlatform::DownloadToCache(const std::string& url,
                                                      std::string& localName) {
  return DownloadWithUrlmon(url, localName);
}

MapStatus Win32DocumentPlatform::OpenAndMap(const std::string& name,
                                            std::unique_ptr<MappedFile>& file) {
  return Win32MappedFile::Open(name, file);
}

void Win32DocumentPlatform::ShowMessage(const std::string& text) {
  if (sink_) {
    sink_(text);
    return;
  }
  ::MessageBoxA(nullptr, text.c_str(), kCaption, MB_OK);
}

}  // namespace quillon
