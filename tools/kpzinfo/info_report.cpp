#include "tools/kpzinfo/info_report.h"

#include "document/opcodes.h"

namespace quillon {

namespace {

void WriteTable(std::FILE* out, const char* label, const KpzTableSummary& table, const char* unit) {
  std::fprintf(out, "  %-20s ", label);
  if (table.offset == 0) {
    std::fprintf(out, "absent (offset 0)\n");
  } else if (!table.present) {
    std::fprintf(out, "offset %u: not a table there, ignored\n", table.offset);
  } else {
    std::fprintf(out, "offset %u: %u %s\n", table.offset, table.count, unit);
  }
}

void WriteOuterForm(std::FILE* out, const KpzSurvey& info) {
  switch (info.form) {
    case OuterForm::Invalid:
      std::fprintf(out, "outer form:   not accepted\n");
      return;
    case OuterForm::Plain:
      std::fprintf(out, "outer form:   plain, data start 0\n");
      return;
    case OuterForm::Wrapped:
      break;
  }
  if (!info.wrapper) {
    std::fprintf(out, "outer form:   wrapped, wrapper refused\n");
    return;
  }
  const WrapperInfo& w = *info.wrapper;
  std::fprintf(out, "outer form:   wrapped, data start %zu\n", w.dataStart);
  std::fprintf(out, "  wrapper size %u, %u blocks, %u extra entries, remainder %u\n", w.wrapperSize,
               w.blockCount, w.extraCount, w.remainder);
  if (w.blockCount > 0) {
    std::fprintf(out, "  block sizes ");
    for (std::uint32_t i = 0; i < w.blockCount; ++i) std::fprintf(out, " %u", w.blockSizes[i]);
    std::fprintf(out, " (from offset %zu)\n", w.blocksOffset);
  }
}

void WriteIndex(std::FILE* out, const KpzSurvey& info) {
  if (!info.index) {
    std::fprintf(out, "index record: invalid\n");
    return;
  }
  const IndexRecord& x = *info.index;
  std::fprintf(out, "index record: valid, at offset %zu, size %u, rasterCount %u\n", x.start,
               x.indexSize, x.rasterCount);
  std::fprintf(out,
               "  offsets from the data start: header %u, pages %u, line styles %u, "
               "patterns %u,\n    table 47 %u, table 49 %u, table 35 %u, table 45 %u\n",
               x.headerOffset, x.pageTableOffset, x.lineStyleTableOffset, x.patternTableOffset,
               x.table47Offset, x.table49Offset, x.table35Offset, x.table45Offset);
}

void WriteHeader(std::FILE* out, const KpzSurvey& info) {
  if (!info.index) return;
  if (!info.headerPresent) {
    std::fprintf(out, "header:       missing\n");
    return;
  }
  std::fprintf(out, "header:       version \"%s\"\n", info.versionText.c_str());
  std::fprintf(out, "  page size    %.6g m x %.6g m\n", info.pageWidth, info.pageHeight);
  std::fprintf(out, "  resolution   %u dots per metre (%.1f dpi)\n", info.resolution,
               info.resolution * 0.0254);
  std::fprintf(out, "  size in dots %.0f x %.0f (KpzXSize x KpzYSize)\n", info.pageDotsX,
               info.pageDotsY);
}

void WriteTables(std::FILE* out, const KpzSurvey& info) {
  if (!info.index) return;
  std::fprintf(out, "tables:\n");
  WriteTable(out, "pages (50)", info.pageTable, "pages");
  WriteTable(out, "line styles (39)", info.lineStyleTable, "styles");
  for (std::size_t i = 0; i < info.lineStyleDashCounts.size(); ++i) {
    const auto& dashes = info.lineStyleDashCounts[i];
    if (dashes)
      std::fprintf(out, "    style %zu: %zu dashes\n", i + 6, *dashes);
    else
      std::fprintf(out, "    style %zu: definition not in the file\n", i + 6);
  }
  if (info.lineStyleDashCounts.size() < info.lineStyleTable.count)
    std::fprintf(out, "    (%zu more styles not listed)\n",
                 info.lineStyleTable.count - info.lineStyleDashCounts.size());
  WriteTable(out, "pattern decl. (37)", info.patternDeclaration, "patterns");
  WriteTable(out, "table 47", info.table47, "entries");
  WriteTable(out, "table 49", info.table49, "entries");
  WriteTable(out, "table 35", info.table35, "entries");
  if (info.table45.present)
    std::fprintf(out, "  %-20s offset %u: values %u, %u\n", "table 45", info.table45.offset,
                 info.table45First, info.table45Second);
  else
    WriteTable(out, "table 45", info.table45, "values");
}

void WritePages(std::FILE* out, const KpzSurvey& info) {
  if (!info.index) return;
  std::fprintf(out, "pages:        %zu\n", info.pages.size());
  for (const KpzPageSummary& page : info.pages) {
    const char* end = page.ended    ? "ended by EndPageRecord"
                      : page.broken ? "cut short by a broken record"
                                    : "runs to the end of the data";
    std::fprintf(out, "  page %u at offset %u (absolute %zu): %llu records, %s\n", page.number,
                 page.offset, info.dataStart + page.offset,
                 static_cast<unsigned long long>(page.records), end);
    for (const auto& [op, count] : page.recordsByOpcode)
      std::fprintf(out, "    %3u %-26s %llu\n", op, OpcodeName(op),
                   static_cast<unsigned long long>(count));
  }
}

void WriteList(std::FILE* out, const char* title, const std::vector<std::string>& items) {
  if (items.empty()) {
    std::fprintf(out, "%-13s none\n", title);
    return;
  }
  std::fprintf(out, "%-13s %zu\n", title, items.size());
  for (const std::string& item : items) std::fprintf(out, "  - %s\n", item.c_str());
}

}  // namespace

void WriteInfoReport(std::FILE* out, const std::string& name, const KpzSurvey& info) {
  std::fprintf(out, "file:         %s (%zu bytes)\n", name.c_str(), info.fileSize);
  WriteOuterForm(out, info);
  WriteIndex(out, info);
  WriteHeader(out, info);
  WriteTables(out, info);
  WritePages(out, info);
  WriteList(out, "problems:", info.problems);
  WriteList(out, "notes:", info.notes);
  std::fprintf(out, "verdict:      %s\n",
               info.drawnWhole() ? "drawn whole" : "refused or not drawn whole");
}

}  // namespace quillon
