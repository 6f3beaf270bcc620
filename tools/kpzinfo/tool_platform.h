#pragma once
// The control's real document services for kpzinfo, with its messages written to stderr
// instead of shown in a box that would wait for a click.

#include <memory>

#include "document/document_platform.h"

namespace quillon {

std::unique_ptr<DocumentPlatform> MakeToolPlatform();

}  // namespace quillon
