#pragma once
// The per-document record. It lives in the document's private heap together with every
// per-document block (tables, pattern table, raster cache, scratch), and goes with it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "document/document_platform.h"
#include "render/device.h"

namespace quillon {

struct PageTable {
  std::uint32_t count = 0;
  std::size_t entriesOffset = 0;  // absolute offset in the file of the first entry
};

struct RawTable {
  std::uint32_t count = 0;
  std::size_t entriesOffset = 0;
};

// One pattern definition (opcode 36): a packed device-independent bitmap (40-byte header,
// colour table, rows padded to 32 bits) in the document heap, and the values kept with it.
struct PatternEntry {
  std::uint8_t* dib = nullptr;
  std::size_t dibSize = 0;
  std::size_t colourBytes = 0;  // size of the colour table after the header
  std::int32_t width = 0, height = 0;
  std::uint16_t bitCount = 1;
  std::int32_t value1 = 0, value2 = 0;  // kept, not used in drawing
  std::uint16_t id = 0;
};

struct KpzDocument {
  // Loading (document heap, file, mapping).
  DocumentHeap* documentHeap = nullptr;     // owned through heapOwner
  std::unique_ptr<DocumentHeap> heapOwner;  // destroyed last, by CloseDocument
  std::unique_ptr<MappedFile> file;
  std::span<const std::uint8_t> view;  // the mapped file, never copied
  std::uint32_t fileSize = 0;
  double loadViewWidth = 0, loadViewHeight = 0;
  std::array<double, 5> rasterThresholds{};
  std::uint8_t reductionFactor = 1;
  std::uint32_t rasterCacheResetPending = 0;
  void* rasterCache = nullptr;
  std::int32_t rasterOrdinal = -1;
  bool rasterCacheAllocated = false;

  // Preparation (index record, tables, header).
  std::size_t cursor = 0;     // read position: offset into view
  std::size_t dataStart = 0;  // offset of the display list
  std::uint32_t rasterCount = 0;
  PageTable pageTable;
  RawTable lineStyleTable;
  RawTable table47, table49, table35;
  std::uint32_t patternDeclCount = 0;  // table 37
  // Patterns defined so far in the current draw; rebuilt at every draw (document heap).
  PatternEntry* patternTable = nullptr;
  std::uint32_t patternCapacity = 0;
  std::uint32_t patternCount = 0;
  std::uint16_t table45First = 0, table45Second = 0;
  std::int32_t headerWord = 0;
  double headerValue1 = 0, pageWidth = 0, pageHeight = 0, headerValue2 = 0;
  std::int16_t headerShort = 0;
  std::uint16_t resolution = 0;
  std::array<char, 33> versionText{};

  // Drawing inputs and outputs.
  Device* targetDc = nullptr;
  bool printing = false;
  double zoom = 0;
  bool recomputeExtents = false;
  double resultWidth = 0, resultHeight = 0;
  int rotation = 0;  // 0, 90, 180 or 270

  // Line and outline pen state.
  ColorRef lineColour = 0, outlineColour = 0;
  double lineWidth = 1.0, outlineWidth = 1.0;
  std::uint16_t lineStyle = 0, outlineStyle = 0;
  std::uint8_t lineJoin = 4, outlineJoin = 4, lineCap = 3;
  std::uint8_t lineMix = 0, outlineMix = 0;
  ObjectId linePen = kNoObject, outlinePen = kNoObject;
  bool linePenValid = false, outlinePenValid = false;

  // Fill state.
  std::uint16_t fillStyle = 0;
  ColorRef fillColour = 0xFFFFFF, patternForeColour = 0, patternBackColour = 0xFFFFFF;
  std::uint8_t fillColourMode = 0, patternForeMode = 1, patternBackMode = 1;
  float patternAngle = 0;
  float patternAngleFirst = 0;  // the first value of the angle record, kept, unused
  ObjectId fillBrush = kNoObject;
  bool brushValid = false;

  // Raster colours and the stored-but-unused values of opcodes 28, 31, 32, 33.
  ColorRef rasterForeColour = 0, rasterBackColour = 0xFFFFFF;
  std::uint32_t unusedColour28 = 0, unusedColour31 = 0;
  std::int32_t unusedValue32 = 0;
  std::int16_t unusedValue33 = 0;

  // Plot information (opcodes 2 and 57).
  std::uint8_t plotInfoByte = 0;
  double plotInfoX = 0, plotInfoY = 0;
  std::uint16_t plotInfoWord = 0;
  std::array<char, 513> plotName{};

  // Plot settings used by the print mapping.
  int scaleOption = -1;  // 0 none, -1/1 fit, 2 true size, 4 percentage
  double scalePercent = 100;
};

}  // namespace quillon
