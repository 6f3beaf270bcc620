#pragma once
// What a view change needs from the window that shows it; the control implements it.

#include <string_view>

#include "interact/view_state.h"

namespace quillon {

// Window pixels, right and bottom exclusive.
struct ViewRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const ViewRect&, const ViewRect&) = default;
};

class ViewListener {
 public:
  virtual ~ViewListener() = default;

  // Invalidate the whole window without erasing; the next paint draws the view.
  virtual void InvalidateView() = 0;
  // Invalidate part of the window, erasing it to the background when asked.
  virtual void InvalidateArea(const ViewRect& area, bool erase) = 0;
  // Repaint what is invalid now rather than at the next paint message.
  virtual void UpdateView() = 0;

  virtual bool JournalOpen() const = 0;
  // A command's keyword line.
  virtual void JournalKeyword(std::string_view keyword) = 0;
  // The view-state block written after a command.
  virtual void JournalViewState(const ViewState& view) = 0;

  // The document's zoom must be derived again by the next draw.
  virtual void ResetZoom() = 0;
  // The rotation changed: the cached rasters are stored turned and must be dropped.
  virtual void ResetRasterCache() = 0;
};

}  // namespace quillon
