#pragma once
// The interpreter for the life of the control: the document loader (and through it the open
// document) with the document's drawing state, the halving tables, the page size in dots,
// the point scratch buffer and the raster preferences. DrawDocument walks the display list
// onto a Device.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "document/document_loader.h"
#include "document/document_platform.h"
#include "document/kpz_document.h"
#include "render/codecs/halving_tables.h"
#include "render/dash_stepper.h"
#include "render/device.h"
#include "render/draw_request.h"
#include "render/draw_state.h"
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
  ~DrawContext();
  DrawContext(const DrawContext&) = delete;
  DrawContext& operator=(const DrawContext&) = delete;

  // Loading, through the loader; a successful open builds the halving tables for OR and
  // gives the document a fresh drawing state.
  int OpenDocument(const std::string& path, double viewWidth, double viewHeight);
  // Pens and brushes the drawing state still holds are deleted through `objects` when given.
  void CloseDocument(Device* objects = nullptr);
  void ShowControlMessage(const std::string& text) { loader_.ShowControlMessage(text); }
  bool messageShown() const { return loader_.messageShown(); }
  void ClearMessageShown() { loader_.ClearMessageShown(); }
  const KpzDocument* document() const { return loader_.document(); }
  // The open document's drawing state; nullptr when none is open.
  DrawState* state() { return state_.get(); }
  const DrawState* state() const { return state_.get(); }

  // The control's draws. A screen draw rebuilds pens and brush (the device's selections do
  // not outlive a draw); a print draw starts from the default drawing state and the initial
  // objects. Neither leaves the device behind.
  DrawResult DrawScreen(Device& target, const ScreenView& view, const std::string& documentName);
  DrawResult DrawPrint(Device& printer, const PrintJob& job, const std::string& documentName);

  // Draws the whole display list; always 0. printMode 0: onto targetDc; printMode 1: onto
  // the printer device stored in the drawing state, as one print job.
  int DrawDocument(Device* targetDc, int printMode, double viewWidth, double viewHeight,
                   double originX, double originY, const std::string& documentName, int plotType);
  // The drawing-state defaults (print callers reset before drawing); mix modes are kept.
  void ResetDrawState();
  // A round-ended solid pen in the line colour and a solid brush in the fill colour,
  // selected into the state's target and kept as its line pen and fill brush.
  void SelectInitialObjects();
  // StartDocument with the name part of documentName (after the last '/', else the last '\').
  int StartPrintJob(Device& dc, const std::string& documentName);
  static std::string PrintJobName(const std::string& documentName);
  // A print draw ends by handing its printer device here: the owner deletes its DC.
  void SetPrintDeviceRelease(std::function<void(Device&)> release) {
    releasePrintDevice_ = std::move(release);
  }
  // The cached rasters are stored turned: a new rotation drops them at the next draw.
  void RequestRasterCacheReset() {
    if (state_) state_->rasterCacheResetPending = true;
  }
  // Only this page (0 the first of the page table) is drawn; unset, every page is.
  void SetPageFilter(std::optional<std::uint32_t> page) { onlyPage_ = page; }
  // The next screen draw without a given scale fits the page again.
  void ForgetZoom() {
    if (state_) state_->zoom = 0;
  }
  // The drawing area that the open document takes as the one it was opened in (a plot of the
  // view maps it onto the paper); nothing without a document.
  void SetLoadViewSize(double viewWidth, double viewHeight) {
    if (KpzDocument* doc = loader_.document()) {
      doc->loadViewWidth = viewWidth;
      doc->loadViewHeight = viewHeight;
    }
  }
  // The open document's print mapping settings; nothing without a document.
  std::optional<PrintSettings> printSettings() const;
  void SetPrintSettings(const PrintSettings& settings);
  std::optional<PageMeasure> pageMeasure() const;

  // Halving tables and the rule they were built for.
  const HalvingTables& halvingTables() const { return halving_; }
  unsigned halvingMode() const { return halvingMode_; }
  void SetHalvingRule(PairRule rule);  // rebuilds only when the rule changes

  // Point scratch of the draws, from the document heap, kept until the document closes.
  // Grows to n points (never shrinks); false when the size overflows or the heap refuses.
  bool EnsurePointCapacity(std::uint64_t n);
  std::span<DevicePoint> points(std::size_t n) { return {pointBuffer_, n}; }
  std::uint32_t pointCapacity() const { return pointCapacity_; }

  double pageDotsX() const { return pageDotsX_; }
  double pageDotsY() const { return pageDotsY_; }
  PageDots pageDots() const { return pageDots_; }
  std::size_t dataEnd() const { return dataEnd_; }  // offset of the file's last byte
  double viewWidth() const { return viewWidth_; }   // of the current draw, after recompute
  double viewHeight() const { return viewHeight_; }
  std::uint32_t rasterRop() const { return rasterRop_; }
  std::uint32_t maxRasterZoomLevel() const { return maxRasterZoomLevel_; }
  // New raster preferences, for the next draw: the raster operation, the zoom limit and the
  // open document's thresholds taken from it.
  void SetRasterPreferences(std::uint32_t useOpaqueRaster, std::uint32_t maxRasterZoomLevel);

  // Set once by the platform layer; pens and lines take the Windows 9x paths from it.
  void SetPlatformFlavour(PlatformFlavour flavour) { platformFlavour_ = flavour; }
  PlatformFlavour platformFlavour() const { return platformFlavour_; }
  bool windows9x() const { return platformFlavour_ == PlatformFlavour::Windows9x; }
  // The software dash generator that line pens load on Windows 9x.
  DashStepper& dashStepper() { return dashStepper_; }
  // The raster being drawn (opcodes 15, 54, 61).
  RasterDrawState& rasterState() { return rasterState_; }

 private:
  bool PrepareDocument(DrawState& st);
  void SetPageDots(double x, double y);
  void DrawPages(DrawState& st);
  void DrawPage(DrawState& st, std::uint64_t start);
  bool AllocatePointBuffer(DrawState& st);
  void FreeDrawBuffers();
  void FreeRasterCache(DrawState& st);
  static DrawResult ResultOf(const DrawState& st, double width, double height);

  DocumentLoader loader_;
  std::unique_ptr<DrawState> state_;  // dropped before the document's heap
  HalvingTables halving_;
  unsigned halvingMode_ = 0;
  double pageDotsX_ = 0, pageDotsY_ = 0;
  PageDots pageDots_;
  std::size_t dataEnd_ = 0;
  DevicePoint* pointBuffer_ = nullptr;
  std::uint32_t pointCapacity_ = kInitialPointCapacity;
  DocumentHeap* pointHeap_ = nullptr;  // the heap pointBuffer_ came from
  std::uint32_t rasterRop_ = gdi::kRopSrcAnd;
  std::uint32_t maxRasterZoomLevel_ = 0;  // 0 to 4
  double viewWidth_ = 0, viewHeight_ = 0;
  std::function<void(Device&)> releasePrintDevice_;
  PlatformFlavour platformFlavour_ = PlatformFlavour::WindowsNt;
  DashStepper dashStepper_;
  RasterDrawState rasterState_;
  std::optional<std::uint32_t> onlyPage_;
};

}  // namespace quillon
