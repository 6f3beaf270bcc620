#pragma once
// Finds the display list of an opened file and reads what its index record points at: the
// tables and the header. Done once, when the file is opened.

#include "document/kpz_document.h"

namespace quillon {

// Sets doc.hasDisplayList (false when the data start or the index record cannot be found),
// the tables and, when the header record is there, the header.
void ReadDisplayList(KpzDocument& doc);

}  // namespace quillon
