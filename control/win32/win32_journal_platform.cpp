#include "control/win32/win32_journal_platform.h"

#include <windows.h>

#include "control/stdio_journal_sink.h"

namespace quillon {

std::optional<std::string> Win32JournalPlatform::TempFileName(std::string_view prefix) {
  char folder[260] = {};
  // A folder that does not fit answers its needed size: no journal rather than a cut name.
  const DWORD length = ::GetTempPathA(sizeof folder, folder);
  if (length == 0 || length >= sizeof folder) return std::nullopt;
  // Unique number 0: the system picks the number and creates the empty ".tmp" file.
  char name[MAX_PATH] = {};
  if (::GetTempFileNameA(folder, std::string(prefix).c_str(), 0, name) == 0) return std::nullopt;
  return std::string(name);
}

std::unique_ptr<JournalSink> Win32JournalPlatform::Create(const std::string& path) {
  return OpenStdioJournal(path);
}

}  // namespace quillon
