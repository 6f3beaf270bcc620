#pragma once
// A JPEG raster kept as its stream in PDF and SVG. The interpreter's bitmap is the stream's
// decode turned by the view; the stream is the upright image. So the bitmap is turned back
// into an upright picture (what a picture surface, the PNG fallback and cairo's own fallbacks
// draw) that carries the stream as its JPEG data, and the turn goes into the pattern matrix.

#include <cairo.h>

#include "render/cairo/cairo_handles.h"
#include "render/cairo/dib_picture.h"
#include "render/device.h"

namespace quillon {

// The upright picture of a whole 24-bit bitmap with the stream attached; null when the bitmap
// is not the stream's image: another size, or a pixel whose first and third bytes differ
// (the bitmap reads libjpeg's R, G, B as B, G, R, so only pixels whose red equals their blue,
// greys among them, look the same both ways).
CairoSurface MakeJpegPicture(const DibPicture& picture, const JpegSource& source);

// Maps the upright picture's pixels onto the bitmap's (rows as the bitmap is seen, 0 at the
// top).
cairo_matrix_t UprightToBitmap(const DibPicture& picture, const JpegSource& source);

}  // namespace quillon
