// pixel_compare: how far two pictures of the same view agree. Prints the share of pixels whose
// colours differ by more than a tolerance, and the share of those that lie away from every
// edge (an edge pixel has a 4-neighbour of another colour in either picture; "near" is within
// one pixel of one). Pictures of different sizes are compared over their common part.
//
//   pixel_compare A.png B.png [TOLERANCE]      (TOLERANCE: per channel, default 48)
//
// Exit status: 0 compared, every differing pixel near an edge; 1 some differ away from every
// edge; 2 a picture cannot be read.

#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Picture {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t At(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * width + x] & 0xFFFFFF;
  }
};

bool Load(const char* path, Picture& p) {
  cairo_surface_t* s = cairo_image_surface_create_from_png(path);
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s);
    return false;
  }
  // Whatever the PNG's format, read it as 32-bit pixels on white.
  p.width = cairo_image_surface_get_width(s);
  p.height = cairo_image_surface_get_height(s);
  cairo_surface_t* rgb = cairo_image_surface_create(CAIRO_FORMAT_RGB24, p.width, p.height);
  cairo_t* cr = cairo_create(rgb);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_set_source_surface(cr, s, 0, 0);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_flush(rgb);
  const int stride = cairo_image_surface_get_stride(rgb);
  const unsigned char* data = cairo_image_surface_get_data(rgb);
  p.pixels.resize(static_cast<std::size_t>(p.width) * p.height);
  for (int y = 0; y < p.height; ++y)
    std::copy_n(reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride),
                p.width, p.pixels.begin() + static_cast<std::ptrdiff_t>(y) * p.width);
  cairo_surface_destroy(rgb);
  cairo_surface_destroy(s);
  return true;
}

bool Differ(std::uint32_t a, std::uint32_t b, int tolerance) {
  for (int shift : {0, 8, 16}) {
    const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (std::abs(d) > tolerance) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fputs("usage: pixel_compare A.png B.png [TOLERANCE]\n", stderr);
    return 2;
  }
  const int tolerance = argc == 4 ? std::atoi(argv[3]) : 48;
  Picture a, b;
  if (!Load(argv[1], a) || !Load(argv[2], b)) {
    std::fprintf(stderr, "pixel_compare: cannot read %s\n", Load(argv[1], a) ? argv[2] : argv[1]);
    return 2;
  }
  const int w = std::min(a.width, b.width), h = std::min(a.height, b.height);
  std::vector<std::uint8_t> edge(static_cast<std::size_t>(w) * h, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (const Picture* p : {&a, &b}) {
        const std::uint32_t c = p->At(x, y);
        if ((x + 1 < w && p->At(x + 1, y) != c) || (y + 1 < h && p->At(x, y + 1) != c) ||
            (x > 0 && p->At(x - 1, y) != c) || (y > 0 && p->At(x, y - 1) != c))
          edge[static_cast<std::size_t>(y) * w + x] = 1;
      }
  auto nearEdge = [&](int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const int nx = x + dx, ny = y + dy;
        if (nx >= 0 && ny >= 0 && nx < w && ny < h && edge[static_cast<std::size_t>(ny) * w + nx])
          return true;
      }
    return false;
  };
  long long differing = 0, away = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (Differ(a.At(x, y), b.At(x, y), tolerance)) {
        ++differing;
        if (!nearEdge(x, y)) ++away;
      }
  const double all = static_cast<double>(w) * h;
  std::printf("%dx%d compared, %lld differing (%.2f %%), %lld of them away from edges (%.3f %%)\n",
              w, h, differing, 100.0 * differing / all, away, 100.0 * away / all);
  return away == 0 ? 0 : 1;
}
