#include "render/cairo/cairo_device.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>

#include "render/cairo/dib_picture.h"
#include "render/cairo/paint_sources.h"

namespace quillon {

namespace {

constexpr int kNullRegion = 1, kSimpleRegion = 2;
constexpr std::uint32_t kStyleMask = 0x0000000F, kCapMask = 0x00000F00, kJoinMask = 0x0000F000,
                        kTypeMask = 0x000F0000;
constexpr int kStockCount = 9;
// cairo keeps coordinates as 24.8 fixed point, and PDF and SVG pay for the size of what
// they are given: points further than 64 page sizes away (only broken plots put them there;
// the interpreter cuts far polylines at that distance itself) are held there.
constexpr double kFarDevice = 4.0e6;
constexpr double kFarPages = 64;

// Dash patterns of the built-in styles, as multiples of a geometric pen's width and in
// pixels for a cosmetic pen (the lengths GDI uses).
struct BuiltInDashes {
  int count;
  std::array<double, 6> geometric, cosmetic;
};
constexpr std::array<BuiltInDashes, 4> kBuiltIn = {{
    {2, {3, 1}, {18, 6}},
    {2, {1, 1}, {3, 3}},
    {4, {3, 1, 1, 1}, {9, 6, 3, 6}},
    {6, {3, 1, 1, 1, 1, 1}, {9, 3, 3, 3, 3, 3}},
}};

cairo_line_cap_t CapOf(std::uint32_t style) {
  switch (style & kCapMask) {
    case gdi::kPenEndCapSquare:
      return CAIRO_LINE_CAP_SQUARE;
    case gdi::kPenEndCapFlat:
      return CAIRO_LINE_CAP_BUTT;
    default:
      return CAIRO_LINE_CAP_ROUND;
  }
}

cairo_line_join_t JoinOf(std::uint32_t style) {
  switch (style & kJoinMask) {
    case gdi::kPenJoinBevel:
      return CAIRO_LINE_JOIN_BEVEL;
    case gdi::kPenJoinMiter:
      return CAIRO_LINE_JOIN_MITER;
    default:
      return CAIRO_LINE_JOIN_ROUND;
  }
}

int ToInt(double v) {
  if (!(v > INT_MIN)) return INT_MIN;
  if (!(v < INT_MAX)) return INT_MAX;
  return static_cast<int>(v);
}

}  // namespace

CairoDevice::CairoDevice(cairo_surface_t* surface, const CairoTarget& target)
    : cr_(cairo_create(surface)),
      target_(target),
      far_(std::min(kFarDevice, kFarPages * std::max({target.width, target.height, 16}))) {
  cairo_scale(cr_.get(), target.unitsPerPixel, target.unitsPerPixel);
  cairo_set_antialias(cr_.get(), target.antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
}

CairoDevice::~CairoDevice() { Flush(); }

std::string CairoDevice::error() const {
  const cairo_status_t status = cairo_status(cr_.get());
  return status == CAIRO_STATUS_SUCCESS ? std::string() : cairo_status_to_string(status);
}

void CairoDevice::ClearToWhite() {
  Flush();
  cairo_save(cr_.get());
  cairo_set_source_rgb(cr_.get(), 1, 1, 1);
  cairo_set_operator(cr_.get(), CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr_.get());
  cairo_restore(cr_.get());
}

// Pages are the caller's to make: a conversion draws one screen view per surface.
int CairoDevice::StartDocument(const std::string&) { return 1; }
int CairoDevice::StartPage() { return 1; }
int CairoDevice::EndPage() { return 1; }
int CairoDevice::EndDocument() { return 1; }

int CairoDevice::GetDeviceCaps(int index) {
  switch (index) {
    case gdi::kCapHorzRes:
      return target_.width;
    case gdi::kCapVertRes:
      return target_.height;
    case gdi::kCapLogPixelsX:
    case gdi::kCapLogPixelsY:
      return target_.dpi;
    default:
      return 0;
  }
}

int CairoDevice::QueryEscapeSupport(int) { return 0; }

int CairoDevice::SetGraphicsMode(int mode) {
  const int previous = state_.graphicsMode;
  state_.graphicsMode = mode == gdi::kGraphicsAdvanced ? mode : 1;
  return previous;
}
int CairoDevice::SetMapMode(int mode) {
  Flush();
  return state_.mapping.SetMode(mode);
}
bool CairoDevice::SetWindowExt(int x, int y) {
  Flush();
  return state_.mapping.SetWindowExt(x, y);
}
bool CairoDevice::SetViewportExt(int x, int y) {
  Flush();
  return state_.mapping.SetViewportExt(x, y);
}
bool CairoDevice::SetViewportOrg(int x, int y) {
  Flush();
  state_.mapping.SetViewportOrg(x, y);
  return true;
}

ObjectId CairoDevice::Add(Object object) {
  const ObjectId id = nextId_++;
  objects_.emplace(id, std::move(object));
  return id;
}

ObjectId CairoDevice::CreatePen(std::uint32_t style, int width, ColorRef colour) {
  Object o;
  o.isPen = true;
  o.pen.pattern = style & kStyleMask;
  o.pen.null = o.pen.pattern == gdi::kPenNull;
  // A width of 0 is one pixel at any scale; others are logical units.
  o.pen.geometric = width > 0;
  o.pen.width = width > 0 ? width : 0;
  o.pen.colour = colour & 0xFFFFFF;
  return Add(std::move(o));
}

ObjectId CairoDevice::ExtCreatePen(std::uint32_t style, std::uint32_t width,
                                   const BrushDesc& brush, std::span<const std::uint32_t> dashes) {
  Object o;
  o.isPen = true;
  Pen& pen = o.pen;
  pen.pattern = style & kStyleMask;
  pen.geometric = (style & kTypeMask) == gdi::kPenGeometric;
  // GDI refuses these pens; the interpreter then draws without a new pen, as on screen.
  if (pen.pattern == gdi::kPenUserStyle && dashes.empty()) return kNoObject;
  if (pen.pattern == gdi::kPenAlternate && pen.geometric) return kNoObject;
  pen.null = pen.pattern == gdi::kPenNull || brush.style == gdi::kBrushNull;
  pen.width = pen.geometric ? width : 0;
  pen.colour = brush.colour & 0xFFFFFF;  // hatched and pattern pens draw in their colour
  pen.cap = CapOf(style);
  pen.join = JoinOf(style);
  if (pen.pattern == gdi::kPenUserStyle) pen.dashes.assign(dashes.begin(), dashes.end());
  return Add(std::move(o));
}

ObjectId CairoDevice::CreateSolidBrush(ColorRef colour) {
  Object o;
  o.brush.colour = colour & 0xFFFFFF;
  return Add(std::move(o));
}

ObjectId CairoDevice::CreateHatchBrush(int hatch, ColorRef colour) {
  Object o;
  o.brush.colour = colour & 0xFFFFFF;
  o.brush.pattern = MakeHatchPattern(hatch, o.brush.colour, kBackground);
  if (!o.brush.pattern) return kNoObject;
  return Add(std::move(o));
}

ObjectId CairoDevice::CreateDibPatternBrush(const DibView& packedDib) {
  const auto picture = DibPicture::Read(packedDib);
  if (!picture) return kNoObject;
  Object o;
  o.brush.pattern = MakeTilePattern(*picture);
  if (!o.brush.pattern) return kNoObject;
  return Add(std::move(o));
}

ObjectId CairoDevice::GetStockObject(int which) {
  if (which < 0 || which >= kStockCount) return kNoObject;
  return kStockBase + static_cast<ObjectId>(which);
}

const CairoDevice::Object* CairoDevice::Find(ObjectId id, Object& stock) const {
  if (id >= kStockBase && id < kStockBase + kStockCount) {
    static constexpr std::array<ColorRef, 5> kGreys = {0xFFFFFF, 0xC0C0C0, 0x808080, 0x404040, 0};
    const auto which = static_cast<int>(id - kStockBase);
    stock = Object{};
    if (which <= 4) {
      stock.brush.colour = kGreys[static_cast<std::size_t>(which)];
    } else if (which == gdi::kStockNullBrush) {
      stock.brush.null = true;
    } else {
      stock.isPen = true;
      stock.pen.colour = which == 6 ? 0xFFFFFF : 0;
      stock.pen.null = which == gdi::kStockNullPen;
    }
    return &stock;
  }
  const auto it = objects_.find(id);
  return it == objects_.end() ? nullptr : &it->second;
}

ObjectId CairoDevice::SelectObject(ObjectId object) {
  Flush();
  Object stock;
  const Object* o = Find(object, stock);
  if (!o) return kNoObject;
  ObjectId previous;
  if (o->isPen) {
    previous = state_.penId;
    state_.penId = object;
    state_.pen = o->pen;
  } else {
    previous = state_.brushId;
    state_.brushId = object;
    state_.brush = o->brush;
  }
  return previous;
}

// The DC keeps its own copy of what is selected, so deleting a selected object (which GDI
// defers) changes nothing that is drawn.
bool CairoDevice::DeleteObject(ObjectId object) {
  if (object >= kStockBase && object < kStockBase + kStockCount) return true;
  return objects_.erase(object) != 0;
}

int CairoDevice::SetROP2(int mode) {
  Flush();
  if (mode < 1 || mode > 16) return 0;
  const int previous = state_.rop2;
  state_.rop2 = mode;
  return previous;
}

bool CairoDevice::SetMiterLimit(float limit) {
  Flush();
  if (!(limit >= 1)) return false;
  state_.miterLimit = limit;
  return true;
}

int CairoDevice::SetStretchBltMode(int mode) {
  const int previous = state_.stretchMode;
  state_.stretchMode = mode;
  return previous;
}

// On a picture every point lands on a whole pixel, as GDI rounds them; PDF and SVG keep the
// exact place.
double CairoDevice::DeviceX(double x) const {
  const double d = state_.mapping.X(x);
  return target_.vector ? d : std::floor(d + 0.5);
}
double CairoDevice::DeviceY(double y) const {
  const double d = state_.mapping.Y(y);
  return target_.vector ? d : std::floor(d + 0.5);
}

void CairoDevice::AddFigure(std::span<const DevicePoint> points, bool close, bool curves,
                            double shift) {
  if (points.empty()) return;
  if (!inPath_) FlushStrip();
  cairo_t* cr = cr_.get();
  for (std::size_t i = 0; i < points.size(); ++i) {
    const double x = Near(DeviceX(points[i].x) + shift), y = Near(DeviceY(points[i].y) + shift);
    const auto kind = i == 0 ? PathPoint::Move : curves ? PathPoint::Curve : PathPoint::Line;
    if (inPath_) {
      path_.push_back({kind, x, y});
    } else if (kind == PathPoint::Move) {
      cairo_move_to(cr, x, y);
    } else if (kind == PathPoint::Line) {
      cairo_line_to(cr, x, y);
    } else if (i + 2 < points.size()) {
      const double x2 = Near(DeviceX(points[i + 1].x) + shift);
      const double y2 = Near(DeviceY(points[i + 1].y) + shift);
      const double x3 = Near(DeviceX(points[i + 2].x) + shift);
      const double y3 = Near(DeviceY(points[i + 2].y) + shift);
      cairo_curve_to(cr, x, y, x2, y2, x3, y3);
      i += 2;
    }
  }
  if (close) {
    if (inPath_)
      path_.push_back({PathPoint::Close, 0, 0});
    else
      cairo_close_path(cr);
  }
}

// Thin lines run through the pixel right and below their coordinates, as GDI draws them.
double CairoDevice::StrokeShift() const { return 0.5; }

void CairoDevice::Stroke() {
  constexpr int kBatchFigures = 4096;
  // Only PDF and SVG gain: cairo's image rasteriser is no faster on one large path.
  if (target_.vector && !inPath_ && !state_.pen.null && state_.rop2 == gdi::kMixCopyPen) {
    if (++pendingFigures_ >= kBatchFigures) FlushStrokes();
    return;
  }
  StrokeNow();
}

void CairoDevice::Flush() {
  FlushStrokes();
  FlushStrip();
}

void CairoDevice::FlushStrokes() {
  if (pendingFigures_ == 0) return;
  pendingFigures_ = 0;
  StrokeNow();
}

void CairoDevice::StrokeNow() {
  cairo_t* cr = cr_.get();
  const Pen& pen = state_.pen;
  bool ownSource = false;
  if (pen.null || !ApplyMix(cr, state_.rop2, pen.colour, ownSource)) {
    cairo_new_path(cr);
    return;
  }
  if (!ownSource) cairo_set_source_rgb(cr, RedOf(pen.colour), GreenOf(pen.colour), BlueOf(pen.colour));
  double width = pen.geometric ? state_.mapping.Length(pen.width) : 0;
  if (!target_.vector) width = std::round(width);
  if (!(width >= 1)) width = 1;
  if (width > far_) width = far_;
  cairo_set_line_width(cr, width);
  // A line of one pixel is a run of pixels in GDI, with no caps to lengthen its dashes.
  const bool thin = width <= 1;
  cairo_set_line_cap(cr, thin ? CAIRO_LINE_CAP_BUTT : pen.cap);
  cairo_set_line_join(cr, thin ? CAIRO_LINE_JOIN_MITER : pen.join);
  cairo_set_miter_limit(cr, state_.miterLimit);

  std::array<double, 16> built{};
  std::vector<double> user;
  const double* dashes = nullptr;
  int count = 0;
  if (pen.pattern >= gdi::kPenDash && pen.pattern <= gdi::kPenDashDotDot) {
    const BuiltInDashes& b = kBuiltIn[pen.pattern - gdi::kPenDash];
    for (int i = 0; i < b.count; ++i)
      built[static_cast<std::size_t>(i)] =
          pen.geometric ? b.geometric[static_cast<std::size_t>(i)] * width
                        : b.cosmetic[static_cast<std::size_t>(i)];
    dashes = built.data();
    count = b.count;
  } else if (pen.pattern == gdi::kPenAlternate) {
    built[0] = built[1] = 1;
    dashes = built.data();
    count = 2;
  } else if (pen.pattern == gdi::kPenUserStyle) {
    double total = 0;
    for (double d : pen.dashes) {
      user.push_back(std::min(state_.mapping.Length(d), far_));
      total += user.back();
    }
    // cairo refuses a pattern without length; GDI draws such a pen solid.
    if (total > 0) {
      dashes = user.data();
      count = static_cast<int>(user.size());
    }
  }
  cairo_set_dash(cr, dashes, count, 0);
  cairo_stroke(cr);
}

void CairoDevice::Fill(cairo_fill_rule_t rule) {
  cairo_t* cr = cr_.get();
  const Brush& brush = state_.brush;
  bool ownSource = false;
  if (brush.null || !ApplyMix(cr, state_.rop2, brush.colour, ownSource)) {
    cairo_new_path(cr);
    return;
  }
  if (!ownSource) {
    if (brush.pattern)
      cairo_set_source(cr, brush.pattern.get());
    else
      cairo_set_source_rgb(cr, RedOf(brush.colour), GreenOf(brush.colour), BlueOf(brush.colour));
  }
  cairo_set_fill_rule(cr, rule);
  cairo_fill(cr);
}

void CairoDevice::StrokeFigures(std::span<const DevicePoint> points,
                                std::span<const std::int32_t> counts, bool close) {
  std::size_t at = 0;
  for (std::int32_t n : counts) {
    AddFigure(points.subspan(at, static_cast<std::size_t>(n)), close, false, StrokeShift());
    at += static_cast<std::size_t>(n);
  }
  Stroke();
}

bool CairoDevice::Filled(std::span<const DevicePoint> points,
                         std::span<const std::int32_t> counts) {
  std::size_t at = 0;
  for (std::int32_t n : counts) {
    AddFigure(points.subspan(at, static_cast<std::size_t>(n)), true, false, 0);
    at += static_cast<std::size_t>(n);
  }
  if (inPath_) return true;
  Fill(CAIRO_FILL_RULE_EVEN_ODD);
  StrokeFigures(points, counts, true);
  return true;
}

bool CairoDevice::MoveTo(int x, int y) {
  state_.position = {x, y};
  if (inPath_) path_.push_back({PathPoint::Move, Near(DeviceX(x)), Near(DeviceY(y))});
  return true;
}

bool CairoDevice::LineTo(int x, int y) {
  const DevicePoint segment[2] = {state_.position, {x, y}};
  state_.position = {x, y};
  if (inPath_) {
    path_.push_back({PathPoint::Line, Near(DeviceX(x)), Near(DeviceY(y))});
    return true;
  }
  AddFigure(segment, false, false, StrokeShift());
  Stroke();
  return true;
}

bool CairoDevice::Polyline(std::span<const DevicePoint> points) {
  if (points.size() < 2) return false;
  AddFigure(points, false, false, inPath_ ? 0 : StrokeShift());
  if (!inPath_) Stroke();
  return true;
}

bool CairoDevice::PolyBezier(std::span<const DevicePoint> points) {
  if (points.size() < 4 || (points.size() - 1) % 3 != 0) return false;
  AddFigure(points, false, true, inPath_ ? 0 : StrokeShift());
  if (!inPath_) Stroke();
  return true;
}

bool CairoDevice::Polygon(std::span<const DevicePoint> points) {
  Flush();
  if (points.size() < 2) return false;
  const std::int32_t count[1] = {static_cast<std::int32_t>(points.size())};
  return Filled(points, count);
}

bool CairoDevice::PolyPolygon(std::span<const DevicePoint> points,
                              std::span<const std::int32_t> counts) {
  Flush();
  if (counts.empty()) return false;
  std::size_t total = 0;
  for (std::int32_t n : counts) {
    if (n < 2) return false;
    total += static_cast<std::size_t>(n);
    if (total > points.size()) return false;
  }
  return Filled(points.first(total), counts);
}

// Filled over the pixels inside the corners, outlined (with a thin pen) on its first and last
// rows and columns, as GDI draws a rectangle.
bool CairoDevice::Rectangle(int left, int top, int right, int bottom) {
  Flush();
  const double l = DeviceX(std::min(left, right)), r = DeviceX(std::max(left, right));
  const double t = DeviceY(std::min(top, bottom)), b = DeviceY(std::max(top, bottom));
  if (inPath_) {
    path_.push_back({PathPoint::Move, Near(l), Near(t)});
    path_.push_back({PathPoint::Line, Near(r), Near(t)});
    path_.push_back({PathPoint::Line, Near(r), Near(b)});
    path_.push_back({PathPoint::Line, Near(l), Near(b)});
    path_.push_back({PathPoint::Close, 0, 0});
    return true;
  }
  cairo_t* cr = cr_.get();
  cairo_rectangle(cr, Near(l), Near(t), Near(r) - Near(l), Near(b) - Near(t));
  Fill(CAIRO_FILL_RULE_WINDING);
  const double s = StrokeShift();
  cairo_rectangle(cr, Near(l) + s, Near(t) + s, std::max(0.0, Near(r) - Near(l) - 1),
                  std::max(0.0, Near(b) - Near(t) - 1));
  Stroke();
  return true;
}

bool CairoDevice::BeginPath() {
  Flush();
  inPath_ = true;
  path_.clear();
  return true;
}

bool CairoDevice::EndPath() {
  if (!inPath_) return false;
  inPath_ = false;
  return true;
}

bool CairoDevice::SelectClipPath(int mode) {
  Flush();
  if (inPath_ || path_.empty()) return false;
  cairo_t* cr = cr_.get();
  cairo_new_path(cr);
  for (std::size_t i = 0; i < path_.size(); ++i) {
    const PathPoint& p = path_[i];
    switch (p.kind) {
      case PathPoint::Move:
        cairo_move_to(cr, p.x, p.y);
        break;
      case PathPoint::Line:
        cairo_line_to(cr, p.x, p.y);
        break;
      case PathPoint::Curve:
        if (i + 2 < path_.size()) {
          cairo_curve_to(cr, p.x, p.y, path_[i + 1].x, path_[i + 1].y, path_[i + 2].x,
                         path_[i + 2].y);
          i += 2;
        }
        break;
      case PathPoint::Close:
        cairo_close_path(cr);
        break;
    }
  }
  path_.clear();
  // Any other combination is taken as a new clip; the interpreter asks for these two.
  if (mode != gdi::kRgnAnd) cairo_reset_clip(cr);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_clip(cr);
  return true;
}

bool CairoDevice::SelectClipRgnNone() {
  Flush();
  cairo_reset_clip(cr_.get());
  return true;
}

int CairoDevice::GetClipBox(DeviceRect& box) {
  double x1, y1, x2, y2;
  cairo_clip_extents(cr_.get(), &x1, &y1, &x2, &y2);
  x1 = std::max(x1, 0.0), y1 = std::max(y1, 0.0);
  x2 = std::min(x2, static_cast<double>(target_.width));
  y2 = std::min(y2, static_cast<double>(target_.height));
  if (x2 <= x1 || y2 <= y1) {
    box = {0, 0, 0, 0};
    return kNullRegion;
  }
  const LogicalMapping& m = state_.mapping;
  const double lx1 = m.BackX(x1), lx2 = m.BackX(x2), ly1 = m.BackY(y1), ly2 = m.BackY(y2);
  box = {ToInt(std::floor(std::min(lx1, lx2))), ToInt(std::floor(std::min(ly1, ly2))),
         ToInt(std::ceil(std::max(lx1, lx2))), ToInt(std::ceil(std::max(ly1, ly2)))};
  return kSimpleRegion;
}

bool CairoDevice::GetVisibleBox(DeviceRect& box) { return GetClipBox(box) == kSimpleRegion; }

bool CairoDevice::RectVisible(const DeviceRect& rect) {
  DeviceRect clip{};
  if (GetClipBox(clip) != kSimpleRegion) return false;
  const int l = std::min(rect.left, rect.right), r = std::max(rect.left, rect.right);
  const int t = std::min(rect.top, rect.bottom), b = std::max(rect.top, rect.bottom);
  return l < clip.right && r > clip.left && t < clip.bottom && b > clip.top;
}

int CairoDevice::SaveDC() {
  Flush();
  saved_.push_back(state_);
  cairo_save(cr_.get());
  return static_cast<int>(saved_.size());
}

bool CairoDevice::RestoreDC(int saved) {
  Flush();
  const long depth = static_cast<long>(saved_.size());
  const long keep = saved > 0 ? saved - 1L : depth + saved;
  if (saved == 0 || keep < 0 || keep >= depth) return false;
  while (static_cast<long>(saved_.size()) > keep) {
    state_ = std::move(saved_.back());
    saved_.pop_back();
    cairo_restore(cr_.get());
  }
  return true;
}

}  // namespace quillon
