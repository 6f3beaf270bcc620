#pragma once
// Registers the stand-in browser (quillon_browser_standin.exe beside the tests) as the
// program that opens ".htm" pages, for as long as the object lives, and reads back the command
// lines it was started with. The association held before is put back at the end.

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>

namespace quillon::test {

class StandInBrowser {
 public:
  static constexpr const char* kType = "QuillonTest.StandInPage";

  explicit StandInBrowser(const std::string& programFolder) {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    record_ =
        std::string(temp) + "quillon-browser-" + std::to_string(::GetCurrentProcessId()) + ".txt";
    ::DeleteFileA(record_.c_str());
    ::SetEnvironmentVariableA("QUILLON_BROWSER_RECORD", record_.c_str());
    previousType_ = DefaultValue(".htm");
    const std::string command = "\"" + programFolder + "\\quillon_browser_standin.exe\" \"%1\"";
    ok_ = SetDefault(".htm", kType) &&
          SetDefault(std::string(kType) + "\\shell\\open\\command", command);
  }
  ~StandInBrowser() {
    if (previousType_) {
      SetDefault(".htm", *previousType_);
    } else {
      ::RegDeleteTreeA(HKEY_CLASSES_ROOT, ".htm");
    }
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, kType);
    ::DeleteFileA(record_.c_str());
    ::SetEnvironmentVariableA("QUILLON_BROWSER_RECORD", nullptr);
  }
  StandInBrowser(const StandInBrowser&) = delete;
  StandInBrowser& operator=(const StandInBrowser&) = delete;

  bool ok() const { return ok_; }

  // What the stand-in has recorded so far, waiting up to timeoutMs for a first line.
  std::string Recorded(DWORD timeoutMs = 10000) const {
    const DWORD start = ::GetTickCount();
    for (;;) {
      const std::string text = ReadRecord();
      if (!text.empty() || ::GetTickCount() - start > timeoutMs) return text;
      ::Sleep(50);
    }
  }

 private:
  static std::optional<std::string> DefaultValue(const std::string& path) {
    char text[MAX_PATH] = {};
    LONG size = sizeof text;
    if (::RegQueryValueA(HKEY_CLASSES_ROOT, path.c_str(), text, &size) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    return std::string(text);
  }
  static bool SetDefault(const std::string& path, const std::string& value) {
    return ::RegSetValueA(HKEY_CLASSES_ROOT, path.c_str(), REG_SZ, value.c_str(),
                          static_cast<DWORD>(value.size())) == ERROR_SUCCESS;
  }
  std::string ReadRecord() const {
    HANDLE file = ::CreateFileA(record_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    char buffer[4096] = {};
    DWORD got = 0;
    ::ReadFile(file, buffer, sizeof buffer - 1, &got, nullptr);
    ::CloseHandle(file);
    std::string text(buffer, got);
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
  }

  std::string record_;
  std::optional<std::string> previousType_;
  bool ok_ = false;
};

}  // namespace quillon::test
