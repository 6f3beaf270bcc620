#include "document/native/posix_mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <utility>

namespace quillon {
namespace {

struct FdCloser {
  int fd;
  ~FdCloser() {
    if (fd >= 0) ::close(fd);
  }
  int release() { return std::exchange(fd, -1); }
};

}  // namespace

MapStatus PosixMappedFile::Open(const std::string& name, std::unique_ptr<MappedFile>& file) {
  FdCloser fd{::open(name.c_str(), O_RDONLY | O_CLOEXEC)};
  if (fd.fd < 0) return MapStatus::OpenFailed;
  struct stat info {};
  if (::fstat(fd.fd, &info) != 0 || !S_ISREG(info.st_mode)) return MapStatus::OpenFailed;
  // Windows refuses to map an empty file (or one past 4 GiB for a 32-bit view); so do we.
  if (info.st_size <= 0 || static_cast<std::uint64_t>(info.st_size) > UINT32_MAX)
    return MapStatus::MappingFailed;
  const auto size = static_cast<std::size_t>(info.st_size);
  void* base = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd.fd, 0);
  if (base == MAP_FAILED) return MapStatus::ViewFailed;
  file.reset(new PosixMappedFile(fd.release(), static_cast<const std::uint8_t*>(base), size));
  return MapStatus::Ok;
}

PosixMappedFile::~PosixMappedFile() {
  ::munmap(const_cast<std::uint8_t*>(base_), size_);
  ::close(fd_);
}

}  // namespace quillon
