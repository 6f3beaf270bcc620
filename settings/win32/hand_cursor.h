#pragma once
// The pointing hand shown over a link: the help viewer's own hand where that program still
// ships it, else the system's hand; none when neither can be had.

#include <windows.h>

#include "base/win32/unique_handle.h"

namespace quillon {

class HandCursor {
 public:
  HandCursor();
  HCURSOR get() const { return own_ ? reinterpret_cast<HCURSOR>(own_.get()) : shared_; }

 private:
  UniqueIcon own_;            // a copy, ours to destroy
  HCURSOR shared_ = nullptr;  // the system's, never destroyed
};

}  // namespace quillon
