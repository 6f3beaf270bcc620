#pragma once
// What a KPZ file says, read once when it is opened: the mapping, the display list's start,
// the tables and the header. Nothing here changes while the file is drawn; the interpreter
// keeps its own state beside it. The record lives in the document's private heap, together
// with every per-document block, and goes with it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "document/document_platform.h"

namespace quillon {

struct PageTable {
  std::uint32_t count = 0;
  std::size_t entriesOffset = 0;  // absolute offset in the file of the first entry
};

struct RawTable {
  std::uint32_t count = 0;
  std::size_t entriesOffset = 0;
};

// The header record's values (opcode 0).
struct KpzHeader {
  std::int32_t word = 0;
  double value1 = 0, value2 = 0;         // kept, not interpreted
  double pageWidth = 0, pageHeight = 0;  // metres
  std::int16_t shortValue = 0;
  std::uint16_t resolution = 0;  // dots per metre
  std::array<char, 33> versionText{};
};

struct KpzDocument {
  // Loading (document heap, file, mapping).
  DocumentHeap* documentHeap = nullptr;     // owned through heapOwner
  std::unique_ptr<DocumentHeap> heapOwner;  // destroyed last, by CloseDocument
  std::unique_ptr<MappedFile> file;
  std::span<const std::uint8_t> view;  // the mapped file, never copied
  std::uint32_t fileSize = 0;
  double loadViewWidth = 0, loadViewHeight = 0;  // the drawing area when it was opened

  // The display list: where it starts and whether its index record holds. A file whose
  // index record fails is open but draws nothing.
  bool hasDisplayList = false;
  std::size_t dataStart = 0;  // offset of the display list
  std::uint32_t rasterCount = 0;
  PageTable pageTable;
  RawTable lineStyleTable;
  RawTable table47, table49, table35;
  std::uint32_t patternDeclCount = 0;  // table 37
  std::uint16_t table45First = 0, table45Second = 0;
  bool hasHeader = false;  // without one the page has no size
  KpzHeader header;
};

}  // namespace quillon
