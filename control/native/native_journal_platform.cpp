#include "control/native/native_journal_platform.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>

#include "control/stdio_journal_sink.h"

namespace quillon {

std::optional<std::string> NativeJournalPlatform::TempFileName(std::string_view prefix) {
  const std::string stem = folder_ + "/" + std::string(prefix.substr(0, 3));
  // Four hexadecimal digits, starting from the clock and counting up past names in use.
  const unsigned start = static_cast<unsigned>(std::time(nullptr));
  for (unsigned n = 0; n < 0xFFFF; ++n) {
    const unsigned unique = (start + n) % 0xFFFF + 1;  // 0 is no number
    char digits[8];
    std::snprintf(digits, sizeof digits, "%X", unique);
    const std::string name = stem + digits + ".tmp";
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd >= 0) {
      ::close(fd);
      return name;
    }
    if (errno != EEXIST) return std::nullopt;
  }
  return std::nullopt;
}

std::unique_ptr<JournalSink> NativeJournalPlatform::Create(const std::string& path) {
  return OpenStdioJournal(path);
}

}  // namespace quillon
