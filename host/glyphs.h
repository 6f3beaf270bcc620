#pragma once
// The viewer's pictures, drawn with GDI at start-up: the tool-bar button images, the program
// icon and the About window's second picture.

#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>

namespace quillon::mirandel {

// Order of the images in the tool-bar image list.
enum Glyph : int {
  kGlyphOpen,
  kGlyphExit,
  kGlyphPrintView,
  kGlyphPrintMap,
  kGlyphZoomIn,
  kGlyphZoomOut,
  kGlyphExtent,
  kGlyphCount
};

// 16 x 16 images with a transparent background; nullptr when GDI refuses.
HIMAGELIST CreateToolBarImages();
// A sheet with a plotted drawing; size is the square side in pixels.
HICON CreateProgramIcon(int size);
// A magnifier over a sheet, for the About window.
HICON CreateViewerPicture(int size);

}  // namespace quillon::mirandel
