#include "control/win32/rubber_figures.h"

#include <vector>

namespace quillon {

InvertingDc::InvertingDc(HDC dc) : dc_(dc), saved_(dc) {
  ::SetROP2(dc_, R2_NOTXORPEN);
  ::SelectObject(dc_, ::GetStockObject(NULL_BRUSH));
}

void InvertingDc::Rectangle(HPEN pen, ViewPoint a, ViewPoint b) {
  const HGDIOBJ previous = ::SelectObject(dc_, pen);
  ::Rectangle(dc_, a.x, a.y, b.x, b.y);
  ::SelectObject(dc_, previous);
}

void InvertingDc::Line(HPEN pen, ViewPoint from, ViewPoint to) {
  const HGDIOBJ previous = ::SelectObject(dc_, pen);
  ::MoveToEx(dc_, from.x, from.y, nullptr);
  ::LineTo(dc_, to.x, to.y);
  ::SelectObject(dc_, previous);
}

void InvertingDc::Polyline(HPEN pen, std::span<const ViewPoint> points) {
  if (points.empty()) return;
  std::vector<POINT> pts;
  pts.reserve(points.size());
  for (const ViewPoint& p : points) pts.push_back({p.x, p.y});
  const HGDIOBJ previous = ::SelectObject(dc_, pen);
  ::Polyline(dc_, pts.data(), static_cast<int>(pts.size()));
  ::SelectObject(dc_, previous);
}

void InvertingDc::Outline(HPEN pagePen, HPEN printablePen, const FormOutline& o, ViewPoint at) {
  const RECT& page = o.page;
  const RECT& printable = o.printable;
  if (printable.right <= printable.left || printable.bottom <= printable.top) return;
  const auto shifted = [&](const RECT& r, HPEN pen) {
    Rectangle(pen, {r.left + at.x, r.top + at.y}, {r.right + at.x, r.bottom + at.y});
  };
  // The paper's edge shows only when no side of it coincides with the printable part's.
  if (page.left != printable.left && page.top != printable.top &&
      page.right != printable.right && page.bottom != printable.bottom) {
    shifted(page, pagePen);
  }
  shifted(printable, printablePen);
}

void DrawRubberFigures(HWND window, std::span<const RubberFigure> figures, const RubberPens& pens,
                       const FormOutline& outline) {
  if (figures.empty() || window == nullptr) return;
  WindowDc windowDc(window);
  if (windowDc.get() == nullptr) return;
  InvertingDc dc(windowDc.get());
  for (const RubberFigure& f : figures) {
    switch (f.kind) {
      case RubberFigure::Kind::Rectangle:
        dc.Rectangle(pens.blue, f.from, f.to);
        break;
      case RubberFigure::Kind::Line:
        dc.Line(pens.blue, f.from, f.to);
        break;
      case RubberFigure::Kind::FormOutline:
        dc.Outline(pens.red, pens.blue, outline, f.from);
        break;
    }
  }
}

void DrawMeasureFigure(InvertingDc& dc, std::span<const ViewPoint> points, bool polygon,
                       HPEN bluePen) {
  if (points.empty()) return;
  dc.Polyline(bluePen, points);
  if (polygon && points.size() >= 3) {
    UniquePen closing(::CreatePen(PS_DASHDOTDOT, 0, 0x000000FF));
    if (closing) dc.Line(closing.get(), points.front(), points.back());
  }
}

}  // namespace quillon
