#pragma once
// The interpreter's state for the life of the control: the document loader (and through it
// the open document), the halving tables, the page size in dots, the point scratch buffer
// and the raster preferences. DrawDocument walks the display list onto a Device.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "document/document_loader.h"
#include "document/document_platform.h"
#include "document/kpz_document.h"
#include "render/codecs/halving_tables.h"
#include "render/dash_stepper.h"
#include "render/device.h"
#include "render/platform_flavour.h"
#include "render/point_reader.h"
#include "render/raster_state.h"

namespace quillon {

class DrawContext {
 public:
  static constexpr std::uint32_t kInitialPointCapacity = 10000;
  static constexpr unsigned kHalvingOr = 1;   // halvingMode bit 0
  static constexpr unsigned kHalvingAnd = 2;  // halvingMode bit 1

  // useOpaqueRaster and maxRasterZoomLevel: the per-user preferences (0 when unknown).
  DrawContext(DocumentPlatform& platform, std::uint32_t useOpaqueRaster,
              std::uint32_t maxRasterZoomLevel);
  DrawContext(const DrawContext&) = delete;
  DrawContext& operator=(const DrawContext&) = delete;

  // Loading, through the loader; a successful open builds the halving tables for OR.
  int OpenDocument(const std::string& path, double viewWidth, double viewHeight);
  void CloseDocument(Device* objects = nullptr) { loader_.CloseDocument(objects); }
  void ShowControlMessage(const std::string& text) { loader_.ShowControlMessage(text); }
  bool messageShown() const { return loader_.messageShown(); }
  KpzDocument* document() const { return loader_.document(); }
  DocumentLoader& loader() { return loader_; }

  // Draws the whole display list; always 0. printMode 0: onto targetDc; printMode 1: onto
  // the printer device the caller stored in the document, as one print job.
  int DrawDocument(Device* targetDc, int printMode, double viewWidth, double viewHeight,
                   double originX, double originY, const std::string& documentName, int plotType);
  // The drawing-state defaults (print callers reset before drawing); mix modes are kept.
  void ResetDrawState();
  // A round-ended solid pen in the line colour and a solid brush in the fill colour,
  // selected into the document's targetDc and kept as its line pen and fill brush.
  void SelectInitialObjects();
  // StartDoc with the name part of documentName (after the last '/', else the last '\').
  int StartPrintJob(Device& dc, const std::string& documentName);
  static std::string PrintJobName(const std::string& documentName);
  // A print draw ends by handing its printer device here: the owner deletes its DC.
  void SetPrintDeviceRelease(std::function<void(Device&)> release) {
    releasePrintDevice_ = std::move(release);
  }

  // Halving tables and the rule they were built for.
  const HalvingTables& halvingTables() const { return halving_; }
  unsigned halvingMode() const { return halvingMode_; }
  void SetHalvingRule(PairRule rule);  // rebuilds only when the rule changes

  // Point scratch of the current draw, from the document heap. Grows to n points (never
  // shrinks); false when the size overflows or the heap refuses.
  bool EnsurePointCapacity(std::uint64_t n);
  std::span<DevicePoint> points(std::size_t n) { return {pointBuffer_, n}; }
  std::uint32_t pointCapacity() const { return pointCapacity_; }

  double pageDotsX() const { return pageDotsX_; }
  double pageDotsY() const { return pageDotsY_; }
  PageDots pageDots() const;
  std::size_t dataEnd() const { return dataEnd_; }  // offset of the file's last byte
  double viewWidth() const { return viewWidth_; }   // of the current draw, after recompute
  double viewHeight() const { return viewHeight_; }
  std::uint32_t rasterRop() const { return rasterRop_; }
  std::uint32_t maxRasterZoomLevel() const { return loader_.maxRasterZoomLevel(); }

  // Set once by the platform layer; pens and lines take the Windows 9x paths from it.
  void SetPlatformFlavour(PlatformFlavour flavour) { platformFlavour_ = flavour; }
  PlatformFlavour platformFlavour() const { return platformFlavour_; }
  bool windows9x() const { return platformFlavour_ == PlatformFlavour::Windows9x; }
  // The software dash generator that line pens load on Windows 9x.
  DashStepper& dashStepper() { return dashStepper_; }
  // The raster being drawn (opcodes 15, 54, 61).
  RasterDrawState& rasterState() { return rasterState_; }

 private:
  bool PrepareDocument(KpzDocument& doc);
  void DrawPages(KpzDocument& doc);
  void DrawPage(KpzDocument& doc, std::uint64_t start);
  bool AllocatePointBuffer(KpzDocument& doc);
  void FreeDrawBuffers(KpzDocument& doc);
  void FreeRasterCache(KpzDocument& doc);

  DocumentLoader loader_;
  HalvingTables halving_;
  unsigned halvingMode_ = 0;
  double pageDotsX_ = 0, pageDotsY_ = 0;
  std::size_t dataEnd_ = 0;
  DevicePoint* pointBuffer_ = nullptr;
  std::uint32_t pointCapacity_ = kInitialPointCapacity;
  DocumentHeap* pointHeap_ = nullptr;  // the heap pointBuffer_ came from
  std::uint32_t rasterRop_ = gdi::kRopSrcAnd;
  double viewWidth_ = 0, viewHeight_ = 0;
  std::function<void(Device&)> releasePrintDevice_;
  PlatformFlavour platformFlavour_ = PlatformFlavour::WindowsNt;
  DashStepper dashStepper_;
  RasterDrawState rasterState_;
};

}  // namespace quillon
