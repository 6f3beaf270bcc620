#pragma once
// Draws a KPZ plot into an off-screen DIB of a given size, the way the control's screen paint
// does: the control's loader and interpreter, GdiDevice on a memory DC, a white background.

#include <memory>
#include <optional>
#include <string>

#include "tools/kpzsnap/png_writer.h"

namespace quillon {

struct SnapView {
  int width = 800;
  int height = 600;
  int rotation = 270;
  std::optional<double> scale;  // pixels per dot; unset: the turned page fitted
  double originX = 0;
  double originY = 0;
  bool statusBar = false;  // the bottom 17 pixels hold the control's status bar
};

class DibRenderer {
 public:
  explicit DibRenderer(const SnapView& view);
  ~DibRenderer();
  DibRenderer(const DibRenderer&) = delete;
  DibRenderer& operator=(const DibRenderer&) = delete;

  // False when GDI refused the bitmap.
  bool valid() const;
  // Opens a plot through the control's loader; its messages go to stderr. False when the
  // loader refuses the file.
  bool Open(const std::string& file);
  // Clears the bitmap to white and draws the open plot (and the status bar when asked).
  void Draw();
  // Pixels per dot of the last draw (the fitted scale when fitting).
  double zoom() const;
  SnapImage Image() const;

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace quillon
