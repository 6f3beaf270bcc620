#pragma once
// A fresh folder under the Windows temporary path, removed with its files at the end.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quillon::test {

class TempFolder {
 public:
  TempFolder() {
    char base[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, base);
    for (unsigned attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      std::string candidate = std::string(base) + "quillon-test-" +
                              std::to_string(::GetCurrentProcessId()) + "-" +
                              std::to_string(::GetTickCount() + attempt);
      if (::CreateDirectoryA(candidate.c_str(), nullptr)) path_ = candidate;
    }
  }
  ~TempFolder() {
    for (const std::string& file : files_) {
      ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileA(file.c_str());
    }
    if (!path_.empty()) ::RemoveDirectoryA(path_.c_str());
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  // Writes a file in the folder and returns its full name ("" when it could not be written).
  std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const std::string full = path_ + "\\" + name;
    HANDLE h = ::CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "";
    DWORD written = 0;
    const BOOL ok = bytes.empty() || ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()),
                                                 &written, nullptr);
    ::CloseHandle(h);
    files_.push_back(full);
    return ok && written == bytes.size() ? full : "";
  }

 private:
  std::string path_;
  std::vector<std::string> files_;
};

}  // namespace quillon::test
