#pragma once
// Journal services for the native build: unique temporary names made as GetTempFileNameA
// makes them (three characters of the prefix, hexadecimal digits, ".tmp", the file created
// empty), in a folder of the caller's choosing, and stdio files.

#include <string>

#include "control/journal_platform.h"

namespace quillon {

class NativeJournalPlatform : public JournalPlatform {
 public:
  explicit NativeJournalPlatform(std::string folder) : folder_(std::move(folder)) {}

  std::optional<std::string> TempFileName(std::string_view prefix) override;
  std::unique_ptr<JournalSink> Create(const std::string& path) override;

 private:
  std::string folder_;
};

}  // namespace quillon
