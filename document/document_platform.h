#pragma once
// The services through which document loading reaches the operating system.
// Windows: a private heap, CreateFile/CreateFileMapping/MapViewOfFile, urlmon bound at run
// time, MessageBoxA. Native: an arena, mmap, an injectable download service, a message sink.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace quillon {

// Per-document memory. Every block is zero-filled; destroying the heap releases all blocks
// at once, so per-document data never has to be freed piecemeal.
class DocumentHeap {
 public:
  virtual ~DocumentHeap() = default;
  virtual void* Allocate(std::size_t bytes) = 0;  // nullptr when it cannot be had
  virtual void Free(void* block) = 0;             // optional early release; nullptr is fine
};

// A file opened for reading and mapped whole, read-only.
class MappedFile {
 public:
  virtual ~MappedFile() = default;
  virtual std::span<const std::uint8_t> View() const = 0;
};

enum class DownloadStatus { Ok, NoLibrary, NoEntryPoint, Failed };
enum class MapStatus { Ok, OpenFailed, MappingFailed, ViewFailed };

class DocumentPlatform {
 public:
  virtual ~DocumentPlatform() = default;
  virtual std::unique_ptr<DocumentHeap> CreateHeap(std::size_t initialBytes) = 0;
  // Downloads an http URL to the local cache; on success localName is the cache file's name.
  virtual DownloadStatus DownloadToCache(const std::string& url, std::string& localName) = 0;
  // Opens an existing file for shared reading and maps it whole; `file` is set only on Ok.
  virtual MapStatus OpenAndMap(const std::string& name, std::unique_ptr<MappedFile>& file) = 0;
  // A modal message box with the control's caption (or its stand-in in tests and tools).
  virtual void ShowMessage(const std::string& text) = 0;
  // Opens the file with the C runtime for reading and writing ("r+b") and reads up to
  // out.size() leading bytes. nullopt when that open fails: a read-only file is not checked.
  virtual std::optional<std::size_t> ReadLeadingBytes(const std::string& name,
                                                      std::span<std::uint8_t> out);
};

}  // namespace quillon
