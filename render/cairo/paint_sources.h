#pragma once
// What a pen or brush paints with on cairo: GDI's 8 x 8 hatches and DIB pattern tiles as
// repeating surface patterns in device pixels, and the mix modes (ROP2) as cairo operators.

#include <cairo.h>

#include <cstdint>

#include "base/values.h"
#include "render/cairo/bitonal_strip.h"
#include "render/cairo/cairo_handles.h"
#include "render/cairo/dib_picture.h"
#include "render/cairo/image_tiles.h"

namespace quillon {

// 0x00BBGGRR to cairo's 0..1 components.
inline double RedOf(ColorRef c) { return (c & 0xFF) / 255.0; }
inline double GreenOf(ColorRef c) { return ((c >> 8) & 0xFF) / 255.0; }
inline double BlueOf(ColorRef c) { return ((c >> 16) & 0xFF) / 255.0; }

// A hatch tile: the hatch's lines in `colour` on the background colour (GDI's default
// background mode is opaque). Null for an unknown hatch style.
SharedPattern MakeHatchPattern(int hatch, ColorRef colour, ColorRef background);

// The bitmap repeated from the device origin, as GDI aligns pattern brushes.
SharedPattern MakeTilePattern(const DibPicture& picture);

// An opaque RGB image of part of a picture (picture rows counted from the top).
CairoSurface MakeRgbImage(const DibPicture& picture, int left, int top, int width, int height);

// An A1 image of a tile of a strip of 1-bit rows (its left a multiple of 8, as ForEachTile
// makes them): set where the pixel's index is `index`.
CairoSurface MakeBitMask(const BitonalStrip& strip, int index, const ImageTile& tile);

// How a mix mode paints: false when it leaves the destination alone (R2_NOP). Otherwise sets
// the operator and, when the mode does not paint the pen's own colour, a solid source of its
// own and answers true with `ownSource` set.
//
// cairo composes, it does not combine bits. R2_COPYPEN is exact; the others use the operator
// that gives the same result on black and white and on pure colours: R2_MASKPEN (dest AND pen)
// multiplies, R2_MERGEPEN (OR) lightens, R2_XORPEN takes the difference, R2_NOT the difference
// with white (exactly the inverse of the destination), R2_BLACK, R2_WHITE and R2_NOTCOPYPEN
// paint their colour. The remaining binary combinations (R2_NOTMASKPEN and the like, which
// no plot asks for) paint the pen as R2_COPYPEN does.
bool ApplyMix(cairo_t* cr, int rop2, ColorRef penColour, bool& ownSource);

}  // namespace quillon
