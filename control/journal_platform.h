#pragma once
// The services through which the command journal reaches the file system. Windows: a unique
// name from GetTempFileNameA in the temporary folder and a C runtime text stream. Native: the
// same rules over a chosen folder and stdio.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// One journal file open for writing. Each call answers false when the file refused the data;
// the journal then gives the file up.
class JournalSink {
 public:
  virtual ~JournalSink() = default;
  // Writes the text and a line end (CR LF on Windows, through the text-mode stream).
  virtual bool WriteLine(std::string_view text) = 0;
  virtual bool Flush() = 0;
  // Flushes and closes; later calls write nothing.
  virtual bool Close() = 0;
};

class JournalPlatform {
 public:
  virtual ~JournalPlatform() = default;
  // A unique name in the temporary folder, made from the first three characters of prefix;
  // the file of that name is created empty (extension "tmp") and left in place. nullopt when
  // no name could be had.
  virtual std::optional<std::string> TempFileName(std::string_view prefix) = 0;
  // Creates the file, or empties it when it exists; nullptr when it cannot be opened.
  virtual std::unique_ptr<JournalSink> Create(const std::string& path) = 0;
};

}  // namespace quillon
