#pragma once
// Draws a KPZ plot through the control itself: a QuillonCtl object made by its class, its
// properties set as a page's script sets them, and its own paint (the load included) captured
// through IViewObject::Draw into an off-screen DIB.

#include <memory>
#include <optional>
#include <string>

#include "tools/kpzsnap/png_writer.h"

struct IQuillonCtl;

namespace quillon {

struct SnapView {
  int width = 800;
  int height = 600;
  int rotation = 270;
  std::optional<double> scale;  // pixels per dot; unset: the turned page fitted
  double originX = 0;
  double originY = 0;
  bool statusBar = false;  // the bottom of the picture holds the control's status bar
};

class ControlSnapshot {
 public:
  // Creates the control, registering quillon.dll from beside this program when its class is
  // not registered yet. The control's messages go to stderr instead of a modal box.
  explicit ControlSnapshot(const SnapView& view);
  ~ControlSnapshot();
  ControlSnapshot(const ControlSnapshot&) = delete;
  ControlSnapshot& operator=(const ControlSnapshot&) = delete;

  // Empty when the control and its bitmap were made; otherwise why not.
  const std::string& error() const;
  // Gives the control the plot and the view, then lets it paint once: its load happens in
  // that first paint. False when the control could not load the plot.
  bool Open(const std::string& file);
  // Another full paint of the open plot.
  void Draw();
  // The picture of the last paint, the strip below the drawing left out unless asked for.
  SnapImage Image() const;
  // The control itself, for what else a caller asks of it (printing); null when not made.
  IQuillonCtl* control() const;

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace quillon
