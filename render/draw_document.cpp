// DrawDocument: preparation of the document, the print job, the mapping and the page walk.

#include "base/numeric.h"
#include "document/header_record.h"
#include "document/index_record.h"
#include "document/kpz_tables.h"
#include "document/outer_form.h"
#include "render/draw_context.h"
#include "render/pattern_table.h"
#include "render/record_dispatch.h"
#include "render/setup_mapping.h"

namespace quillon {

bool DrawContext::PrepareDocument(KpzDocument& doc) {
  doc.cursor = 0;
  dataEnd_ = doc.view.size() - 1;
  doc.rasterOrdinal = -1;
  const auto start = FindDataStart(doc.view);
  if (!start) return false;
  doc.dataStart = *start;
  doc.cursor = *start;
  const auto index = ReadIndexRecord(doc.view, *start);
  if (!index) return false;
  ApplyIndexRecord(doc, *index);
  // The raster cache slots are sized here by the raster reader that owns them. Patterns are
  // defined afresh by every draw.
  ResetPatternTable(doc);
  ReadHeaderRecord(doc, *index);  // a missing header keeps the previous values
  pageDotsX_ = PageDotsX(doc);
  pageDotsY_ = PageDotsY(doc);
  return true;
}

int DrawContext::DrawDocument(Device* targetDc, int printMode, double viewWidth, double viewHeight,
                              double originX, double originY, const std::string& documentName,
                              int plotType) {
  KpzDocument* docPtr = document();
  if (!docPtr) return 0;
  KpzDocument& doc = *docPtr;
  const bool print = printMode != 0;
  if (print) {
    doc.printing = true;
  } else if (doc.printing) {
    return 0;  // a repaint during a print must not touch the state the print uses
  }

  // A print draw owns the printer device the caller stored; it goes back at every exit.
  auto finishPrint = [&](bool jobStarted) {
    if (!print) return;
    Device* printer = doc.targetDc;
    doc.targetDc = nullptr;
    if (printer && jobStarted) printer->EndDocument();
    if (printer && releasePrintDevice_) releasePrintDevice_(*printer);
  };
  auto finish = [&](bool jobStarted) {
    FreeDrawBuffers(doc);
    finishPrint(jobStarted);
    doc.printing = false;
    return 0;
  };

  if (doc.view.empty()) return finish(false);
  if (doc.rasterCacheResetPending == 1) {
    doc.rasterCacheResetPending = 0;
    FreeRasterCache(doc);
  }
  if (!PrepareDocument(doc)) return finish(false);
  const bool haveBuffer = AllocatePointBuffer(doc);

  if (doc.recomputeExtents) {
    if (doc.zoom != 0) {
      viewWidth = doc.zoom * pageDotsX_;
      viewHeight = doc.zoom * pageDotsY_;
    }
    doc.resultWidth = viewWidth;
    doc.resultHeight = viewHeight;
  }
  viewWidth_ = viewWidth;
  viewHeight_ = viewHeight;

  bool jobStarted = false;
  if (print) {
    if (doc.scaleOption == 0) return finish(false);
    if (!haveBuffer) return finish(false);
    if (doc.targetDc) {
      Device& dc = *doc.targetDc;
      StartPrintJob(dc, documentName);
      jobStarted = true;
      dc.StartPage();
      const double width = dc.GetDeviceCaps(gdi::kCapHorzRes) - 1;
      const double height = dc.GetDeviceCaps(gdi::kCapVertRes) - 1;
      SetupMapping(dc, doc, width, height, originX, originY, viewWidth, viewHeight, 1, plotType);
    }
  } else {
    doc.targetDc = targetDc;
    if (targetDc && haveBuffer)
      SetupMapping(*targetDc, doc, TruncToInt(viewWidth), TruncToInt(viewHeight),
                   TruncToInt(originX), TruncToInt(originY), viewWidth, viewHeight, 0, plotType);
  }

  if (doc.targetDc && haveBuffer) DrawPages(doc);
  return finish(jobStarted);
}

void DrawContext::DrawPages(KpzDocument& doc) {
  for (std::uint32_t page = 0; page < doc.pageTable.count; ++page) {
    const auto offset = PageOffset(doc, page);
    if (!offset) break;
    DrawPage(doc, static_cast<std::uint64_t>(doc.dataStart) + *offset);
  }
}

// Fetch, dispatch, fetch again: the page goes on while the fetched opcode lies before the
// file's last byte. A record that cannot be read whole ends the page; the next one starts
// afresh from its own table entry.
void DrawContext::DrawPage(KpzDocument& doc, std::uint64_t start) {
  ByteReader in(doc.view);
  in.seek(start);
  std::uint8_t op = in.u8();
  while (in.ok()) {
    if (!DispatchRecord(*this, doc, op, in)) break;
    op = in.u8();
    if (!in.ok() || in.position() >= dataEnd_) break;
  }
  doc.cursor = in.position();
}

}  // namespace quillon
