#pragma once
// A journal file written through a C runtime text stream, so that line ends are the
// platform's own (CR LF on Windows).

#include <memory>
#include <string>

#include "control/journal_platform.h"

namespace quillon {

// Opens the file with mode "w", replacing any content; nullptr when it cannot be opened.
std::unique_ptr<JournalSink> OpenStdioJournal(const std::string& path);

}  // namespace quillon
