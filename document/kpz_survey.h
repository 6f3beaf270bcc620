#pragma once
// A read-only survey of a KPZ file for tools: outer form, index record, tables, header,
// and a walk of every page with the record layout, collecting what would stop the control
// from drawing the file whole. Nothing here draws.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "document/index_record.h"
#include "document/outer_form.h"

namespace quillon {

struct KpzTableSummary {
  std::uint32_t offset = 0;  // from the data start, as stored in the index record
  bool present = false;      // the offset points at a record of the table's opcode
  std::uint32_t count = 0;
};

struct KpzPageSummary {
  std::uint32_t number = 0;  // from 1
  std::uint32_t offset = 0;  // from the data start
  std::uint64_t records = 0;
  std::map<std::uint8_t, std::uint64_t> recordsByOpcode;
  bool ended = false;   // reached the end-of-page record
  bool broken = false;  // stopped at a record that cannot be read whole
};

struct KpzSurvey {
  std::size_t fileSize = 0;
  OuterForm form = OuterForm::Invalid;
  std::optional<WrapperInfo> wrapper;
  std::size_t dataStart = 0;
  std::optional<IndexRecord> index;

  bool headerPresent = false;
  double pageWidth = 0, pageHeight = 0;  // metres
  std::uint16_t resolution = 0;          // dots per metre
  double pageDotsX = 0, pageDotsY = 0;
  std::string versionText;

  KpzTableSummary pageTable, lineStyleTable, patternDeclaration, table47, table49, table35, table45;
  std::uint16_t table45First = 0, table45Second = 0;
  // Dash count of each line-style entry; nullopt when its definition is not in the file.
  std::vector<std::optional<std::size_t>> lineStyleDashCounts;
  std::vector<KpzPageSummary> pages;

  // Faults that make the control refuse the file or draw less than all of it.
  std::vector<std::string> problems;
  // Oddities the control passes over without losing anything drawn.
  std::vector<std::string> notes;

  bool drawnWhole() const { return problems.empty(); }
};

// Surveys the bytes of a whole file.
KpzSurvey SurveyKpz(std::span<const std::uint8_t> file);

}  // namespace quillon
