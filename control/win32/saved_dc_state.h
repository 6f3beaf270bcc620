#pragma once
// SaveDC / RestoreDC around a scope: whatever the scope selects or sets on the DC is undone.

#include <windows.h>

namespace quillon {

class SavedDcState {
 public:
  explicit SavedDcState(HDC dc) : dc_(dc), saved_(::SaveDC(dc)) {}
  // An old-format metafile plays its records into someone else's DC, whose save levels are
  // not ours: it restores by relative depth.
  ~SavedDcState() {
    if (saved_ != 0) ::RestoreDC(dc_, ::GetObjectType(dc_) == OBJ_METADC ? -1 : saved_);
  }
  SavedDcState(const SavedDcState&) = delete;
  SavedDcState& operator=(const SavedDcState&) = delete;

 private:
  HDC dc_;
  int saved_;
};

}  // namespace quillon
