#include "control/stdio_journal_sink.h"

#include <cstdio>

namespace quillon {
namespace {

class StdioJournalSink final : public JournalSink {
 public:
  explicit StdioJournalSink(std::FILE* file) : file_(file) {}
  ~StdioJournalSink() override { Close(); }
  StdioJournalSink(const StdioJournalSink&) = delete;
  StdioJournalSink& operator=(const StdioJournalSink&) = delete;

  bool WriteLine(std::string_view text) override {
    if (file_ == nullptr) return false;
    // fwrite rather than fputs: the text is not NUL-terminated.
    return std::fwrite(text.data(), 1, text.size(), file_) == text.size() &&
           std::fputc('\n', file_) != EOF;
  }

  bool Flush() override { return file_ != nullptr && std::fflush(file_) == 0; }

  bool Close() override {
    if (file_ == nullptr) return false;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return closed;
  }

 private:
  std::FILE* file_;
};

}  // namespace

std::unique_ptr<JournalSink> OpenStdioJournal(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "w");
  if (file == nullptr) return nullptr;
  return std::make_unique<StdioJournalSink>(file);
}

}  // namespace quillon
