#pragma once
// A file opened read-only and mapped whole with mmap; unmapped and closed on destruction.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "document/document_platform.h"

namespace quillon {

class PosixMappedFile final : public MappedFile {
 public:
  static MapStatus Open(const std::string& name, std::unique_ptr<MappedFile>& file);
  ~PosixMappedFile() override;
  PosixMappedFile(const PosixMappedFile&) = delete;
  PosixMappedFile& operator=(const PosixMappedFile&) = delete;

  std::span<const std::uint8_t> View() const override { return {base_, size_}; }

 private:
  PosixMappedFile(int fd, const std::uint8_t* base, std::size_t size)
      : fd_(fd), base_(base), size_(size) {}
  int fd_;
  const std::uint8_t* base_;
  std::size_t size_;
};

}  // namespace quillon
