#include "render/draw_context.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "document/raster_thresholds.h"
#include "render/raster_cache.h"

namespace quillon {

DrawContext::DrawContext(DocumentPlatform& platform, std::uint32_t useOpaqueRaster,
                         std::uint32_t maxRasterZoomLevel)
    : loader_(platform),
      rasterRop_(useOpaqueRaster != 0 ? gdi::kRopSrcCopy : gdi::kRopSrcAnd),
      maxRasterZoomLevel_(maxRasterZoomLevel > 4 ? 4 : maxRasterZoomLevel) {}

DrawContext::~DrawContext() { CloseDocument(); }

void DrawContext::SetRasterPreferences(std::uint32_t useOpaqueRaster,
                                       std::uint32_t maxRasterZoomLevel) {
  rasterRop_ = useOpaqueRaster != 0 ? gdi::kRopSrcCopy : gdi::kRopSrcAnd;
  maxRasterZoomLevel_ = maxRasterZoomLevel > 4 ? 4 : maxRasterZoomLevel;
  if (state_) state_->rasterThresholds = RasterThresholdsForLevel(maxRasterZoomLevel_);
}

int DrawContext::OpenDocument(const std::string& path, double viewWidth, double viewHeight) {
  CloseDocument();
  const int result = loader_.OpenDocument(path, viewWidth, viewHeight);
  if (result == 0) {
    state_ = std::make_unique<DrawState>(*loader_.document());
    state_->rasterThresholds = RasterThresholdsForLevel(maxRasterZoomLevel_);
    // Every document starts with the either-bit rule; a raster header may switch it.
    halving_.Build(PairRule::Or);
    halvingMode_ = kHalvingOr;
  }
  return result;
}

void DrawContext::CloseDocument(Device* objects) {
  if (state_ && objects) {
    for (ObjectId* id : {&state_->line.pen, &state_->outline.pen, &state_->fill.brush}) {
      if (*id != kNoObject) objects->DeleteObject(*id);
      *id = kNoObject;
    }
  }
  // The raster being decoded writes into the cache, which goes with the document's heap.
  rasterState_.DropTarget();
  rasterState_.entry = nullptr;
  FreeDrawBuffers();
  state_.reset();
  loader_.CloseDocument();
}

void DrawContext::SetHalvingRule(PairRule rule) {
  const unsigned mode = rule == PairRule::Or ? kHalvingOr : kHalvingAnd;
  if (halvingMode_ == mode) return;
  halving_.Build(rule);
  halvingMode_ = mode;
}

void DrawContext::ResetDrawState() {
  DrawState* st = state();
  if (!st) return;
  st->line.colour = st->outline.colour = 0;
  st->line.width = st->outline.width = 1.0;
  st->line.style = st->outline.style = 0;
  st->line.join = st->outline.join = 4;
  st->line.cap = 3;
  st->fill.colourMode = 0;
  st->fill.style = 0;
  st->fill.foreMode = st->fill.backMode = 1;
  st->fill.colour = st->fill.backColour = 0xFFFFFF;
  st->fill.foreColour = 0;
  st->rasterForeColour = 0;
  st->rasterBackColour = 0xFFFFFF;
  st->unusedColour28 = st->unusedColour31 = 0;
  st->unusedValue32 = 0;
  st->unusedValue33 = 0;
  st->line.valid = st->outline.valid = st->fill.valid = false;
  // lineMix and outlineMix are deliberately kept.
}

void DrawContext::SelectInitialObjects() {
  DrawState* st = state();
  if (!st || !st->target) return;
  Device& dc = *st->target;
  const BrushDesc brush{gdi::kBrushSolid, st->line.colour, 0};
  const ObjectId pen = dc.ExtCreatePen(
      gdi::kPenGeometric | gdi::kPenSolid | gdi::kPenEndCapRound | gdi::kPenJoinRound, 1, brush,
      {});
  const ObjectId fill = dc.CreateSolidBrush(st->fill.colour);
  if (pen != kNoObject) dc.SelectObject(pen);
  if (fill != kNoObject) dc.SelectObject(fill);
  st->line.pen = pen;
  st->fill.brush = fill;
  dc.SetMiterLimit(1.0f);
}

std::string DrawContext::PrintJobName(const std::string& documentName) {
  if (documentName.empty()) return "VEXL to GDI Test";
  std::size_t cut = documentName.rfind('/');
  if (cut == std::string::npos) cut = documentName.rfind('\\');
  return cut == std::string::npos ? documentName : documentName.substr(cut + 1);
}

int DrawContext::StartPrintJob(Device& dc, const std::string& documentName) {
  return dc.StartDocument(PrintJobName(documentName));
}

// The page's size in whole dots, kept beside the doubles: every figure's points are turned
// with it, and a 32-bit build converts a double to a 64-bit integer through a call.
void DrawContext::SetPageDots(double x, double y) {
  auto whole = [](double v) -> std::int64_t {
    if (!(v > 0)) return 0;  // also NaN
    return v < 1e15 ? static_cast<std::int64_t>(v) : static_cast<std::int64_t>(1e15);
  };
  pageDotsX_ = x;
  pageDotsY_ = y;
  pageDots_ = {whole(x), whole(y)};
}

bool DrawContext::EnsurePointCapacity(std::uint64_t n) {
  if (n <= pointCapacity_ && pointBuffer_) return true;
  if (!pointHeap_) return false;
  const std::uint64_t want = std::max<std::uint64_t>(n, pointCapacity_);
  if (want > std::numeric_limits<std::uint32_t>::max() ||
      want > std::numeric_limits<std::size_t>::max() / sizeof(DevicePoint))
    return false;
  // The old points need not survive; the old buffer is kept when the heap refuses.
  void* block = pointHeap_->Allocate(static_cast<std::size_t>(want) * sizeof(DevicePoint));
  if (!block) return false;
  pointHeap_->Free(pointBuffer_);
  pointBuffer_ = static_cast<DevicePoint*>(block);
  pointCapacity_ = static_cast<std::uint32_t>(want);
  return true;
}

// Kept from one draw to the next while the document is open: a fresh zeroed block for every
// paint costs a page fault per 4 KiB of points, a lot once a long polyline has grown it.
bool DrawContext::AllocatePointBuffer(DrawState& st) {
  if (pointBuffer_ && pointHeap_ == st.heap()) return true;
  pointHeap_ = st.heap();
  pointBuffer_ = nullptr;
  pointCapacity_ = kInitialPointCapacity;
  if (!pointHeap_) return false;
  pointBuffer_ = static_cast<DevicePoint*>(
      pointHeap_->Allocate(static_cast<std::size_t>(pointCapacity_) * sizeof(DevicePoint)));
  return pointBuffer_ != nullptr;
}

void DrawContext::FreeDrawBuffers() {
  if (pointHeap_ && pointBuffer_) pointHeap_->Free(pointBuffer_);
  pointBuffer_ = nullptr;
  pointHeap_ = nullptr;
  pointCapacity_ = kInitialPointCapacity;
}

void DrawContext::FreeRasterCache(DrawState& st) {
  // The images are stored turned: all of them go, with the raster that was being decoded.
  rasterState_.DropTarget();
  rasterState_.entry = nullptr;
  rasterState_.drawable = false;
  ReleaseRasterCache(st);
}

}  // namespace quillon
