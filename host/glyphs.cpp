#include "host/glyphs.h"

#include "base/win32/memory_dc.h"
#include "base/win32/unique_handle.h"

namespace quillon::mirandel {
namespace {

constexpr COLORREF kTransparent = RGB(255, 0, 255);

// Draws in glyph units of a 16 x 16 grid, scaled to the target square.
class Pen16 {
 public:
  Pen16(HDC dc, int left, int top, int size) : dc_(dc), left_(left), top_(top), unit_(size / 16) {}

  void Box(int x0, int y0, int x1, int y1, COLORREF fill, COLORREF edge) const {
    UniqueBrush brush(::CreateSolidBrush(fill));
    UniquePen pen(::CreatePen(PS_SOLID, unit_, edge));
    HGDIOBJ oldBrush = ::SelectObject(dc_, brush.get());
    HGDIOBJ oldPen = ::SelectObject(dc_, pen.get());
    ::Rectangle(dc_, X(x0), Y(y0), X(x1), Y(y1));
    ::SelectObject(dc_, oldBrush);
    ::SelectObject(dc_, oldPen);
  }
  void Ring(int x0, int y0, int x1, int y1, COLORREF fill, COLORREF edge, int width) const {
    UniqueBrush brush(::CreateSolidBrush(fill));
    UniquePen pen(::CreatePen(PS_SOLID, width * unit_, edge));
    HGDIOBJ oldBrush = ::SelectObject(dc_, brush.get());
    HGDIOBJ oldPen = ::SelectObject(dc_, pen.get());
    ::Ellipse(dc_, X(x0), Y(y0), X(x1), Y(y1));
    ::SelectObject(dc_, oldBrush);
    ::SelectObject(dc_, oldPen);
  }
  void Line(int x0, int y0, int x1, int y1, COLORREF colour, int width) const {
    UniquePen pen(::CreatePen(PS_SOLID, width * unit_, colour));
    HGDIOBJ oldPen = ::SelectObject(dc_, pen.get());
    ::MoveToEx(dc_, X(x0), Y(y0), nullptr);
    ::LineTo(dc_, X(x1), Y(y1));
    ::SelectObject(dc_, oldPen);
  }

 private:
  int X(int x) const { return left_ + x * unit_; }
  int Y(int y) const { return top_ + y * unit_; }
  HDC dc_;
  int left_, top_, unit_;
};

void DrawPrinter(const Pen16& p, COLORREF paper) {
  p.Box(4, 1, 12, 7, paper, RGB(0, 0, 0));
  p.Box(1, 6, 15, 12, RGB(192, 192, 192), RGB(0, 0, 0));
  p.Box(4, 10, 12, 15, RGB(255, 255, 255), RGB(0, 0, 0));
  p.Line(12, 8, 14, 8, RGB(0, 160, 0), 1);
}

void DrawMagnifier(const Pen16& p) {
  p.Line(9, 9, 14, 14, RGB(96, 64, 0), 3);
  p.Ring(1, 1, 11, 11, RGB(224, 240, 255), RGB(0, 0, 0), 1);
}

void DrawGlyph(HDC dc, int index, int left, int top, int size) {
  const Pen16 p(dc, left, top, size);
  const COLORREF black = RGB(0, 0, 0);
  switch (index) {
    case kGlyphOpen:
      p.Box(1, 4, 14, 14, RGB(255, 208, 64), black);
      p.Box(1, 3, 7, 5, RGB(255, 208, 64), black);
      p.Line(3, 14, 15, 8, black, 1);
      break;
    case kGlyphExit:
      p.Box(3, 1, 12, 15, RGB(160, 96, 32), black);
      p.Box(10, 8, 11, 9, RGB(255, 255, 0), black);
      p.Line(6, 8, 15, 8, RGB(192, 0, 0), 2);
      break;
    case kGlyphPrintView:
      DrawPrinter(p, RGB(200, 224, 255));
      p.Box(6, 2, 10, 5, RGB(0, 64, 192), RGB(0, 64, 192));
      break;
    case kGlyphPrintMap:
      DrawPrinter(p, RGB(255, 255, 255));
      p.Line(5, 5, 8, 2, RGB(0, 128, 0), 1);
      p.Line(8, 2, 11, 5, RGB(0, 128, 0), 1);
      break;
    case kGlyphZoomIn:
    case kGlyphZoomOut:
      DrawMagnifier(p);
      p.Line(4, 6, 9, 6, black, 1);
      if (index == kGlyphZoomIn) p.Line(6, 3, 6, 9, black, 1);
      break;
    case kGlyphExtent:
      p.Box(4, 4, 12, 12, RGB(255, 255, 255), RGB(0, 64, 192));
      p.Line(1, 1, 4, 1, black, 1);
      p.Line(1, 1, 1, 4, black, 1);
      p.Line(12, 14, 15, 14, black, 1);
      p.Line(14, 11, 14, 15, black, 1);
      p.Line(11, 1, 14, 1, black, 1);
      p.Line(14, 1, 14, 4, black, 1);
      p.Line(1, 14, 4, 14, black, 1);
      p.Line(1, 11, 1, 14, black, 1);
      break;
    default:
      break;
  }
}

// A square icon of what draw paints on a transparent ground.
template <typename Draw>
HICON MakeIcon(int size, Draw draw) {
  UniqueBitmap colour(::CreateCompatibleBitmap(WindowDc(nullptr).get(), size, size));
  UniqueBitmap mask(::CreateBitmap(size, size, 1, 1, nullptr));
  if (colour.get() == nullptr || mask.get() == nullptr) return nullptr;
  {
    MemoryDc canvas(nullptr, colour.get());
    const RECT all{0, 0, size, size};
    UniqueBrush ground(::CreateSolidBrush(kTransparent));
    ::FillRect(canvas.dc(), &all, ground.get());
    draw(canvas.dc());
    // The mask is set where the ground colour remains; the colour image is black there.
    MemoryDc maskCanvas(nullptr, mask.get());
    ::SetBkColor(canvas.dc(), kTransparent);
    ::BitBlt(maskCanvas.dc(), 0, 0, size, size, canvas.dc(), 0, 0, SRCCOPY);
    ::SetBkColor(canvas.dc(), RGB(0, 0, 0));
    ::SetTextColor(canvas.dc(), RGB(255, 255, 255));
    ::BitBlt(canvas.dc(), 0, 0, size, size, maskCanvas.dc(), 0, 0, SRCAND);
  }
  ICONINFO info{TRUE, 0, 0, mask.get(), colour.get()};
  return ::CreateIconIndirect(&info);
}

}  // namespace

HIMAGELIST CreateToolBarImages() {
  constexpr int kSize = 16;
  UniqueBitmap strip(::CreateCompatibleBitmap(WindowDc(nullptr).get(), kSize * kGlyphCount, kSize));
  if (strip.get() == nullptr) return nullptr;
  {
    MemoryDc canvas(nullptr, strip.get());
    const RECT all{0, 0, kSize * kGlyphCount, kSize};
    UniqueBrush ground(::CreateSolidBrush(kTransparent));
    ::FillRect(canvas.dc(), &all, ground.get());
    for (int i = 0; i < kGlyphCount; ++i) DrawGlyph(canvas.dc(), i, i * kSize, 0, kSize);
  }
  HIMAGELIST images = ::ImageList_Create(kSize, kSize, ILC_COLOR24 | ILC_MASK, kGlyphCount, 0);
  if (images == nullptr) return nullptr;
  ::ImageList_AddMasked(images, strip.get(), kTransparent);
  return images;
}

HICON CreateProgramIcon(int size) {
  return MakeIcon(size, [size](HDC dc) {
    const Pen16 p(dc, 0, 0, size);
    p.Box(2, 1, 14, 15, RGB(255, 255, 255), RGB(0, 0, 0));
    p.Line(4, 12, 7, 6, RGB(0, 0, 192), 1);
    p.Line(7, 6, 9, 9, RGB(0, 0, 192), 1);
    p.Line(9, 9, 12, 3, RGB(0, 0, 192), 1);
    p.Box(4, 3, 7, 5, RGB(192, 0, 0), RGB(192, 0, 0));
  });
}

HICON CreateViewerPicture(int size) {
  return MakeIcon(size, [size](HDC dc) {
    const Pen16 p(dc, 0, 0, size);
    p.Box(0, 0, 12, 12, RGB(255, 255, 255), RGB(0, 0, 0));
    p.Line(2, 9, 9, 2, RGB(0, 128, 0), 1);
    const Pen16 lens(dc, size / 4, size / 4, size - size / 4);
    DrawMagnifier(lens);
  });
}

}  // namespace quillon::mirandel
