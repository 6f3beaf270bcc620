#pragma once
// One plot into one file: the control's loader opens it, the interpreter draws its screen
// view onto a cairo surface through CairoDevice, and cairo writes the PNG, PDF or SVG.

#include <cstdint>
#include <string>

#include "document/document_platform.h"
#include "tools/kpzconvert/convert_options.h"
#include "tools/kpzconvert/page_geometry.h"

namespace quillon {

struct ConversionResult {
  bool ok = false;
  std::string reason;  // why not, when not ok
  PageGeometry geometry;
};

// The platform's messages (a refused file) become the reason. No file is written when the
// plot cannot be opened.
ConversionResult ConvertPlot(DocumentPlatform& platform, const ConvertJob& job,
                             const ConvertOptions& options);


}  // namespace quillon
