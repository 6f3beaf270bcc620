#pragma once
// The text kpzinfo prints for a surveyed file.

#include <cstdio>
#include <string>

#include "document/kpz_survey.h"

namespace quillon {

void WriteInfoReport(std::FILE* out, const std::string& name, const KpzSurvey& info);

}  // namespace quillon
