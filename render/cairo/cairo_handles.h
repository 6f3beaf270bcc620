#pragma once
// Owning handles for cairo's reference-counted objects.

#include <cairo.h>

#include <memory>

namespace quillon {

struct CairoSurfaceRelease {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct CairoPatternRelease {
  void operator()(cairo_pattern_t* p) const { cairo_pattern_destroy(p); }
};
struct CairoContextRelease {
  void operator()(cairo_t* c) const { cairo_destroy(c); }
};

using CairoSurface = std::unique_ptr<cairo_surface_t, CairoSurfaceRelease>;
using CairoContext = std::unique_ptr<cairo_t, CairoContextRelease>;
// Brushes are copied into the DC state when selected, so their patterns are shared.
using SharedPattern = std::shared_ptr<cairo_pattern_t>;

inline SharedPattern SharePattern(cairo_pattern_t* p) {
  return SharedPattern(p, CairoPatternRelease{});
}

// True when cairo made the object (it hands back an inert object in an error state instead
// of null when it runs out of memory or is given a bad size).
inline bool Usable(cairo_surface_t* s) {
  return s && cairo_surface_status(s) == CAIRO_STATUS_SUCCESS;
}

}  // namespace quillon
