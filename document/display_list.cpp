#include "document/display_list.h"

#include "document/header_record.h"
#include "document/index_record.h"
#include "document/kpz_tables.h"
#include "document/outer_form.h"

namespace quillon {

void ReadDisplayList(KpzDocument& doc) {
  doc.hasDisplayList = false;
  const auto start = FindDataStart(doc.view);
  if (!start) return;
  doc.dataStart = *start;
  const auto index = ReadIndexRecord(doc.view, *start);
  if (!index) return;
  ApplyIndexRecord(doc, *index);
  doc.hasHeader = ReadHeaderRecord(doc, *index);
  doc.hasDisplayList = true;
}

}  // namespace quillon
