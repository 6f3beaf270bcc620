// DrawDocument: preparation of the drawing state, the print job, the mapping and the page
// walk; the control's screen and print draws around it.

#include <cmath>

#include "base/numeric.h"
#include "document/kpz_tables.h"
#include "render/draw_context.h"
#include "render/figure_culling.h"
#include "render/pattern_table.h"
#include "render/record_dispatch.h"
#include "render/setup_mapping.h"

namespace quillon {

bool DrawContext::PrepareDocument(DrawState& st) {
  const KpzDocument& doc = st.doc();
  st.cursor = 0;
  dataEnd_ = doc.view.size() - 1;
  st.rasterOrdinal = -1;
  if (!doc.hasDisplayList) return false;
  st.cursor = doc.dataStart;
  // The raster cache slots are sized by the raster reader that owns them. Patterns are
  // defined afresh by every draw.
  ResetPatternTable(st);
  // A sheet background record may have replaced the resolution; the header's comes back.
  if (doc.hasHeader) st.resolution = doc.header.resolution;
  SetPageDots(std::trunc(doc.header.pageWidth * st.resolution),
              std::trunc(doc.header.pageHeight * st.resolution));
  return true;
}

int DrawContext::DrawDocument(Device* targetDc, int printMode, double viewWidth, double viewHeight,
                              double originX, double originY, const std::string& documentName,
                              int plotType) {
  if (!state_) return 0;
  DrawState& st = *state_;
  const bool print = printMode != 0;
  if (print) {
    st.printing = true;
  } else if (st.printing) {
    return 0;  // a repaint during a print must not touch the state the print uses
  }

  // The device is the caller's: it is forgotten at every exit. A print draw owns the
  // printer device the caller stored and hands it back.
  auto finish = [&](bool jobStarted) {
    Device* device = st.target;
    st.target = nullptr;
    st.visible = {};
    if (print && device) {
      if (jobStarted) device->EndDocument();
      if (releasePrintDevice_) releasePrintDevice_(*device);
    }
    st.printing = false;
    return 0;
  };

  if (st.doc().view.empty()) return finish(false);
  if (st.rasterCacheResetPending) {
    st.rasterCacheResetPending = false;
    FreeRasterCache(st);
  }
  if (!PrepareDocument(st)) return finish(false);
  const bool haveBuffer = AllocatePointBuffer(st);

  if (st.recomputeExtents) {
    if (st.zoom != 0) {
      viewWidth = st.zoom * pageDotsX_;
      viewHeight = st.zoom * pageDotsY_;
    }
    st.resultWidth = viewWidth;
    st.resultHeight = viewHeight;
  }
  viewWidth_ = viewWidth;
  viewHeight_ = viewHeight;

  bool jobStarted = false;
  const auto type = static_cast<PlotType>(plotType);
  if (print) {
    if (st.print.scaleOption == ScaleOption::None) return finish(false);
    if (!haveBuffer) return finish(false);
    if (st.target) {
      Device& dc = *st.target;
      StartPrintJob(dc, documentName);
      jobStarted = true;
      dc.StartPage();
      const double width = dc.GetDeviceCaps(gdi::kCapHorzRes) - 1;
      const double height = dc.GetDeviceCaps(gdi::kCapVertRes) - 1;
      SetupPrintMapping(dc, st, {width, height, originX, originY}, {viewWidth, viewHeight}, type);
      TakePrintedArea(st, dc);
    }
  } else {
    st.target = targetDc;
    if (targetDc && haveBuffer) {
      SetupScreenMapping(
          *targetDc, st,
          {static_cast<double>(TruncToInt(viewWidth)), static_cast<double>(TruncToInt(viewHeight)),
           static_cast<double>(TruncToInt(originX)), static_cast<double>(TruncToInt(originY))});
      TakeVisibleArea(st, *targetDc, 1.0 / st.zoom);
    }
  }

  if (st.target && haveBuffer) DrawPages(st);
  return finish(jobStarted);
}

void DrawContext::DrawPages(DrawState& st) {
  const KpzDocument& doc = st.doc();
  for (std::uint32_t page = 0; page < doc.pageTable.count; ++page) {
    const auto offset = PageOffset(doc, page);
    if (!offset) break;
    if (onlyPage_ && page != *onlyPage_) continue;
    DrawPage(st, static_cast<std::uint64_t>(doc.dataStart) + *offset);
  }
}

// Fetch, dispatch, fetch again: the page goes on while the fetched opcode lies before the
// file's last byte. A record that cannot be read whole ends the page; the next one starts
// afresh from its own table entry.
void DrawContext::DrawPage(DrawState& st, std::uint64_t start) {
  ByteReader in(st.doc().view);
  in.seek(start);
  std::uint8_t op = in.u8();
  while (in.ok()) {
    if (!DispatchRecord(*this, st, op, in)) break;
    op = in.u8();
    if (!in.ok() || in.position() >= dataEnd_) break;
  }
  st.cursor = in.position();
}

namespace {

PageMeasure MeasureOf(const DrawState& st) {
  const KpzHeader& header = st.doc().header;
  return {header.pageWidth * st.resolution, header.pageHeight * st.resolution, st.resolution};
}

}  // namespace

DrawResult DrawContext::ResultOf(const DrawState& st, double width, double height) {
  return {st.zoom, width, height, MeasureOf(st)};
}

std::optional<PageMeasure> DrawContext::pageMeasure() const {
  if (!state_) return std::nullopt;
  return MeasureOf(*state_);
}

std::optional<PrintSettings> DrawContext::printSettings() const {
  if (!state_) return std::nullopt;
  return state_->print;
}

void DrawContext::SetPrintSettings(const PrintSettings& settings) {
  if (state_) state_->print = settings;
}

DrawResult DrawContext::DrawScreen(Device& target, const ScreenView& view,
                                   const std::string& documentName) {
  if (!state_) return {};
  DrawState& st = *state_;
  st.zoom = view.zoom;
  st.rotation = view.rotation;
  st.recomputeExtents = view.extentsFromZoom;
  // The device's selections do not outlive a draw: pens and brush are made again before
  // the first figure.
  st.line.valid = st.outline.valid = st.fill.valid = false;
  DrawDocument(&target, 0, view.width, view.height, view.originX, view.originY, documentName,
               static_cast<int>(PlotType::WholePage));
  const bool recomputed = st.recomputeExtents;
  st.recomputeExtents = false;
  return ResultOf(st, recomputed ? st.resultWidth : view.width,
                  recomputed ? st.resultHeight : view.height);
}

DrawResult DrawContext::DrawPrint(Device& printer, const PrintJob& job,
                                  const std::string& documentName) {
  if (!state_) return {};
  DrawState& st = *state_;
  ResetDrawState();
  st.rotation = job.rotation;
  st.target = &printer;
  SelectInitialObjects();
  DrawDocument(nullptr, 1, job.width, job.height, job.originX, job.originY, documentName,
               static_cast<int>(job.plotType));
  return ResultOf(st, job.width, job.height);
}

}  // namespace quillon
