#include "document/kpz_survey.h"

#include <cstdarg>
#include <cstdio>

#include "document/byte_reader.h"
#include "document/header_record.h"
#include "document/kpz_document.h"
#include "document/kpz_tables.h"
#include "document/opcodes.h"
#include "document/record_layout.h"

namespace quillon {

namespace {

// Line-style entries whose dashes are looked up: enough for any real plot, and a bound on
// the work a file with a huge table can cause.
constexpr std::uint32_t kMaxListedLineStyles = 256;

__attribute__((format(printf, 1, 2))) std::string Format(const char* format, ...) {
  char buffer[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

// File offsets for messages: a mapped file is below 4 GiB, and %u reads alike on every C
// runtime.
unsigned Offset(std::size_t offset) { return static_cast<unsigned>(offset); }

// Why ReadIndexRecord refused the file's last record, in the order it checks.
std::string ExplainIndexRefusal(std::span<const std::uint8_t> file) {
  if (file.size() < 4) return "the file is too short to end in an index record";
  ByteReader r(file);
  const std::uint32_t size = r.u32_at(file.size() - 4);
  if (size > file.size())
    return Format("the index record size %u (the last 4 bytes) is larger than the file", size);
  if (size < kIndexRecordMinSize)
    return Format("the index record size %u (the last 4 bytes) is below the %u bytes it needs",
                  size, kIndexRecordMinSize);
  const std::size_t start = file.size() - size;
  const std::uint32_t length = r.u32_at(start + 1);
  if (std::uint64_t{length} + 5 != size)
    return Format("the index record at offset %u has length %u, which does not match its size %u",
                  Offset(start), length, size);
  const std::uint8_t op = r.u8_at(start);
  if (op != opcode::IndexRecord)
    return Format("the byte at offset %u is %u, not the index record's opcode 1", Offset(start),
                  op);
  return "the index record cannot be read";
}

KpzTableSummary Table(std::span<const std::uint8_t> file, std::size_t dataStart,
                      std::uint32_t offset, std::uint8_t op, std::uint32_t count,
                      std::vector<std::string>& notes) {
  KpzTableSummary table;
  table.offset = offset;
  if (offset == 0) return table;
  ByteReader r(file);
  const std::uint64_t at = std::uint64_t{dataStart} + offset;
  table.present = r.u8_at(at) == op;
  if (table.present) {
    table.count = count;
  } else if (at >= file.size()) {
    notes.push_back(
        Format("the offset %u of table %u lies past the end of the file; ignored", offset, op));
  } else {
    notes.push_back(
        Format("the offset %u of table %u points at a byte %u, not at the table; "
               "ignored",
               offset, op, r.u8_at(at)));
  }
  return table;
}

// Why ConsumeRecord refused the record that begins at `start`.
std::string ExplainBrokenRecord(std::span<const std::uint8_t> file, std::uint8_t op,
                                std::size_t start) {
  if (IsLengthPrefixed(op)) {
    ByteReader r(file);
    const auto length = static_cast<std::int32_t>(r.u32_at(start + 1));
    if (r.ok() && length < 0) return Format("holds a negative length (%d)", length);
  }
  return "runs past the end of the file or holds a negative count";
}

// Walks a page like the interpreter: from its first record to the end-of-page record, a
// record that cannot be read whole, or the file's last byte.
KpzPageSummary WalkPage(std::span<const std::uint8_t> file, std::uint32_t number,
                        std::size_t dataStart, std::uint32_t offset,
                        std::vector<std::string>& problems, std::vector<std::string>& notes) {
  KpzPageSummary page;
  page.number = number;
  page.offset = offset;
  const std::uint64_t start = std::uint64_t{dataStart} + offset;
  const std::size_t dataEnd = file.empty() ? 0 : file.size() - 1;
  ByteReader in(file);
  in.seek(start);
  std::uint8_t op = in.u8();
  if (!in.ok()) {
    problems.push_back(Format("page %u: starts at offset %llu, past the end of the file", number,
                              static_cast<unsigned long long>(start)));
    page.broken = true;
    return page;
  }
  while (true) {
    const std::size_t recordStart = in.position() - 1;
    if (op == opcode::EndPageRecord) {
      ++page.records;
      ++page.recordsByOpcode[op];
      page.ended = true;
      break;
    }
    if (!ConsumeRecord(op, in)) {
      problems.push_back(Format("page %u: record %u (%s) at offset %u %s", number, op,
                                OpcodeName(op), Offset(recordStart),
                                ExplainBrokenRecord(file, op, recordStart).c_str()));
      page.broken = true;
      break;
    }
    ++page.records;
    ++page.recordsByOpcode[op];
    op = in.u8();
    if (!in.ok() || in.position() >= dataEnd) break;
  }
  if (!page.ended && !page.broken)
    notes.push_back(
        Format("page %u: no end-of-page record; the page runs to the end of the data", number));
  return page;
}

}  // namespace

KpzSurvey SurveyKpz(std::span<const std::uint8_t> file) {
  KpzSurvey out;
  out.fileSize = file.size();
  out.form = ClassifyOuterForm(file);
  if (out.form == OuterForm::Invalid) {
    out.problems.push_back(
        "the file starts with neither the plain header (0, 664) nor the wrapper mark 0xBABEFACE");
    return out;
  }
  if (out.form == OuterForm::Wrapped) {
    const char* whyNot = "";
    out.wrapper = ReadWrapper(file, &whyNot);
    if (!out.wrapper) {
      out.problems.push_back(Format("the wrapper is refused: %s", whyNot));
      return out;
    }
    out.dataStart = out.wrapper->dataStart;
  }

  out.index = ReadIndexRecord(file, out.dataStart);
  if (!out.index) {
    out.problems.push_back("invalid index record: " + ExplainIndexRefusal(file));
    return out;
  }
  const IndexRecord& index = *out.index;

  KpzDocument doc;
  doc.view = file;
  ApplyIndexRecord(doc, index);
  out.headerPresent = ReadHeaderRecord(doc, index);
  if (out.headerPresent) {
    out.pageWidth = doc.header.pageWidth;
    out.pageHeight = doc.header.pageHeight;
    out.resolution = doc.header.resolution;
    out.pageDotsX = PageDotsX(doc);
    out.pageDotsY = PageDotsY(doc);
    out.versionText = doc.header.versionText.data();
    if (out.pageDotsX <= 0 || out.pageDotsY <= 0)
      out.notes.push_back("the page size in dots is empty");
  } else {
    out.problems.push_back(
        Format("no header record at offset %u (the page size is unknown)", index.headerOffset));
  }

  std::vector<std::string>& notes = out.notes;
  out.pageTable = Table(file, out.dataStart, index.pageTableOffset, opcode::PageTable,
                        doc.pageTable.count, notes);
  out.lineStyleTable = Table(file, out.dataStart, index.lineStyleTableOffset,
                             opcode::LineStyleTable, doc.lineStyleTable.count, notes);
  out.patternDeclaration = Table(file, out.dataStart, index.patternTableOffset,
                                 opcode::PatternTableDeclaration, doc.patternDeclCount, notes);
  out.table47 =
      Table(file, out.dataStart, index.table47Offset, opcode::Table47, doc.table47.count, notes);
  out.table49 =
      Table(file, out.dataStart, index.table49Offset, opcode::Table49, doc.table49.count, notes);
  out.table35 =
      Table(file, out.dataStart, index.table35Offset, opcode::Table35, doc.table35.count, notes);
  out.table45 = Table(file, out.dataStart, index.table45Offset, opcode::Table45, 2, notes);
  out.table45First = doc.table45First;
  out.table45Second = doc.table45Second;

  // ApplyIndexRecord keeps only the whole entries the file holds; pages cut off are lost.
  if (out.pageTable.present) {
    ByteReader field(file);
    field.seek(std::uint64_t{out.dataStart} + index.pageTableOffset + 5);
    const std::uint16_t declared = field.u16();
    if (field.ok() && declared > doc.pageTable.count)
      out.problems.push_back(Format("the page table declares %u pages but the file holds %u",
                                    declared, doc.pageTable.count));
  }

  const std::uint32_t listed = doc.lineStyleTable.count < kMaxListedLineStyles
                                   ? doc.lineStyleTable.count
                                   : kMaxListedLineStyles;
  for (std::uint32_t entry = 0; entry < listed; ++entry) {
    const auto dashes = LineStyleDashes(doc, entry);
    out.lineStyleDashCounts.push_back(dashes ? std::optional<std::size_t>(dashes->size())
                                             : std::nullopt);
  }

  for (std::uint32_t page = 0; page < doc.pageTable.count; ++page) {
    const auto offset = PageOffset(doc, page);
    if (!offset) break;
    out.pages.push_back(WalkPage(file, page + 1, out.dataStart, *offset, out.problems, out.notes));
  }
  if (out.pages.empty()) out.notes.push_back("the file has no pages: nothing is drawn");
  return out;
}

}  // namespace quillon
