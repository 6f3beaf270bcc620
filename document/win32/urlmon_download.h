#pragma once
// Download of an http URL into the browser cache through urlmon, bound by name when called,
// so that the control loads without urlmon until a web path is opened.

#include <string>

#include "document/document_platform.h"

namespace quillon {

DownloadStatus DownloadWithUrlmon(const std::string& url, std::string& localName,
                                  const char* library = "urlmon.dll",
                                  const char* entryPoint = "URLDownloadToCacheFileA");

}  // namespace quillon
