#pragma once
// What the interpreter changes while it draws one document: the pens and the fill brush
// with the state records that shape them, the raster bookkeeping and cache, the pattern
// table of the current draw, the device being drawn on and the view and print inputs.
// One lives beside each open document; its blocks come from the document's heap and it is
// dropped before that heap.

#include <array>
#include <cstddef>
#include <cstdint>

#include "base/values.h"
#include "document/kpz_document.h"
#include "render/device.h"

namespace quillon {

// A pen as the state records leave it. The line pen draws polylines and Bezier chains, the
// outline pen the edges of filled shapes; only the line pen's end cap is ever set.
struct PenState {
  ColorRef colour = 0;
  double width = 1.0;
  std::uint16_t style = 0;
  std::uint8_t join = 4;  // bevel
  std::uint8_t cap = 3;   // round
  std::uint8_t mix = 0;   // kept by ResetDrawState
  ObjectId pen = kNoObject;
  bool valid = false;  // cleared by every record that changes the pen
};

struct FillState {
  std::uint16_t style = 0;
  ColorRef colour = 0xFFFFFF, foreColour = 0, backColour = 0xFFFFFF;
  std::uint8_t colourMode = 0, foreMode = 1, backMode = 1;
  float angle = 0;
  float angleFirst = 0;  // the first value of the angle record, kept, unused
  ObjectId brush = kNoObject;
  bool valid = false;
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

// Patterns defined so far in the current draw; rebuilt at every draw.
struct PatternTable {
  PatternEntry* entries = nullptr;
  std::uint32_t capacity = 0;
  std::uint32_t count = 0;
};

struct RasterCacheEntry;
// Decoded rasters of the document, one entry per declared raster plus a shared last one.
struct RasterCache {
  RasterCacheEntry* entries = nullptr;
  std::uint32_t count = 0;
};

struct PlotInfo {
  std::uint8_t byte = 0;
  double x = 0, y = 0;
  std::uint16_t word = 0;
  std::array<char, 513> name{};
};

// How a print maps the page: values as the control's PrintScaleOptions property takes them.
enum class ScaleOption : int { None = 0, Fit = -1, FitToForm = 1, TrueSize = 2, Percentage = 4 };
// What a draw maps: the whole page (every screen draw), the current view, or true size at
// a form origin.
enum class PlotType : int { WholePage = 0, CurrentView = 1, Form = 2 };

struct PrintSettings {
  ScaleOption scaleOption = ScaleOption::Fit;
  double scalePercent = 100;
  bool fits() const {
    return scaleOption == ScaleOption::Fit || scaleOption == ScaleOption::FitToForm;
  }
};

// The part of the logical plane a screen draw can show, widened by a few device pixels for
// the rounding of the mapping; figures wholly outside it are not sent to the device.
struct VisibleArea {
  bool known = false;  // false: every figure is drawn
  std::int64_t left = 0, top = 0, right = 0, bottom = 0;
  double dotsPerPixel = 0;
};

class DrawState {
 public:
  explicit DrawState(const KpzDocument& document)
      : resolution(document.header.resolution), document_(&document) {}
  DrawState(const DrawState&) = delete;
  DrawState& operator=(const DrawState&) = delete;

  const KpzDocument& doc() const { return *document_; }
  DocumentHeap* heap() const { return document_->documentHeap; }

  std::size_t cursor = 0;    // read position of the page walk
  Device* target = nullptr;  // set only while a draw runs
  bool printing = false;

  // View inputs and what the draw computed.
  double zoom = 0;  // device pixels per dot; 0 until a screen draw fits the page
  bool recomputeExtents = false;
  double resultWidth = 0, resultHeight = 0;
  int rotation = 0;  // 0, 90, 180 or 270
  VisibleArea visible;  // set for the length of a screen draw
  // Dots per metre: the header's, until a sheet background record gives its own.
  double resolution = 0;
  PrintSettings print;

  PenState line, outline;
  FillState fill;
  ColorRef rasterForeColour = 0, rasterBackColour = 0xFFFFFF;
  // The stored-but-unused values of opcodes 28, 31, 32, 33.
  std::uint32_t unusedColour28 = 0, unusedColour31 = 0;
  std::int32_t unusedValue32 = 0;
  std::int16_t unusedValue33 = 0;
  PlotInfo plotInfo;

  // Rasters.
  std::array<double, 5> rasterThresholds{};
  std::uint8_t reductionFactor = 1;
  bool rasterCacheResetPending = false;
  RasterCache rasterCache;
  std::int32_t rasterOrdinal = -1;

  PatternTable patterns;

 private:
  const KpzDocument* document_;
};

}  // namespace quillon
