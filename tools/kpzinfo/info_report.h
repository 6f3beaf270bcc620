#pragma once
// The text kpzinfo prints for an inspected file.

#include <cstdio>
#include <string>

#include "document/kpz_inspector.h"

namespace quillon {

void WriteInfoReport(std::FILE* out, const std::string& name, const KpzInspection& info);

}  // namespace quillon
