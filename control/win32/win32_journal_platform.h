#pragma once
// Journal services of the control on Windows: GetTempFileNameA in the user's temporary folder
// and a C runtime text stream.

#include "control/journal_platform.h"

namespace quillon {

class Win32JournalPlatform : public JournalPlatform {
 public:
  std::optional<std::string> TempFileName(std::string_view prefix) override;
  std::unique_ptr<JournalSink> Create(const std::string& path) override;
};

}  // namespace quillon
