#include "render/draw_context.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "render/raster_cache.h"

namespace quillon {

DrawContext::DrawContext(DocumentPlatform& platform, std::uint32_t useOpaqueRaster,
                         std::uint32_t maxRasterZoomLevel)
    : loader_(platform), rasterRop_(useOpaqueRaster != 0 ? gdi::kRopSrcCopy : gdi::kRopSrcAnd) {
  loader_.setMaxRasterZoomLevel(maxRasterZoomLevel);
}

int DrawContext::OpenDocument(const std::string& path, double viewWidth, double viewHeight) {
  const int result = loader_.OpenDocument(path, viewWidth, viewHeight);
  if (result == 0) {
    // Every document starts with the either-bit rule; a raster header may switch it.
    halving_.Build(PairRule::Or);
    halvingMode_ = kHalvingOr;
  }
  return result;
}

void DrawContext::SetHalvingRule(PairRule rule) {
  const unsigned mode = rule == PairRule::Or ? kHalvingOr : kHalvingAnd;
  if (halvingMode_ == mode) return;
  halving_.Build(rule);
  halvingMode_ = mode;
}

void DrawContext::ResetDrawState() {
  KpzDocument* doc = document();
  if (!doc) return;
  doc->lineColour = doc->outlineColour = 0;
  doc->lineWidth = doc->outlineWidth = 1.0;
  doc->lineStyle = doc->outlineStyle = 0;
  doc->lineJoin = doc->outlineJoin = 4;
  doc->lineCap = 3;
  doc->fillColourMode = 0;
  doc->fillStyle = 0;
  doc->patternForeMode = doc->patternBackMode = 1;
  doc->fillColour = doc->patternBackColour = 0xFFFFFF;
  doc->patternForeColour = 0;
  doc->rasterForeColour = 0;
  doc->rasterBackColour = 0xFFFFFF;
  doc->unusedColour28 = doc->unusedColour31 = 0;
  doc->unusedValue32 = 0;
  doc->unusedValue33 = 0;
  doc->linePenValid = doc->outlinePenValid = doc->brushValid = false;
  // lineMix and outlineMix are deliberately kept.
}

void DrawContext::SelectInitialObjects() {
  KpzDocument* doc = document();
  if (!doc || !doc->targetDc) return;
  Device& dc = *doc->targetDc;
  const BrushDesc brush{gdi::kBrushSolid, doc->lineColour, 0};
  const ObjectId pen = dc.ExtCreatePen(
      gdi::kPenGeometric | gdi::kPenSolid | gdi::kPenEndCapRound | gdi::kPenJoinRound, 1, brush, {});
  const ObjectId fill = dc.CreateSolidBrush(doc->fillColour);
  if (pen != kNoObject) dc.SelectObject(pen);
  if (fill != kNoObject) dc.SelectObject(fill);
  doc->linePen = pen;
  doc->fillBrush = fill;
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

PageDots DrawContext::pageDots() const {
  auto whole = [](double v) -> std::int64_t {
    if (!(v > 0)) return 0;  // also NaN
    return v < 1e15 ? static_cast<std::int64_t>(v) : static_cast<std::int64_t>(1e15);
  };
  return {whole(pageDotsX_), whole(pageDotsY_)};
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

bool DrawContext::AllocatePointBuffer(KpzDocument& doc) {
  pointHeap_ = doc.documentHeap;
  pointBuffer_ = nullptr;
  if (!pointHeap_) return false;
  pointBuffer_ = static_cast<DevicePoint*>(
      pointHeap_->Allocate(static_cast<std::size_t>(pointCapacity_) * sizeof(DevicePoint)));
  return pointBuffer_ != nullptr;
}

void DrawContext::FreeDrawBuffers(KpzDocument&) {
  if (pointHeap_ && pointBuffer_) pointHeap_->Free(pointBuffer_);
  pointBuffer_ = nullptr;
  pointHeap_ = nullptr;
}

void DrawContext::FreeRasterCache(KpzDocument& doc) {
  // The images are stored turned: all of them go, with the raster that was being decoded.
  rasterState_.DropTarget();
  rasterState_.entry = nullptr;
  rasterState_.drawable = false;
  ReleaseRasterCache(doc);
}

}  // namespace quillon
