#include "render/legacy_metafile_device.h"

#include <algorithm>
#include <cmath>

#include "render/bezier_flatten.h"
#include "render/dib_average_colour.h"

namespace quillon {

namespace {

// The format's coordinates are signed 16-bit.
constexpr double kShortMax = 32767;

// A curve's chords stray from it by at most half a unit of the target.
constexpr double kCurveTolerance = 0.5;

constexpr int kSimpleRegion = 2;

std::int32_t Round(double v) { return static_cast<std::int32_t>(std::lround(v)); }
DevicePoint Round(const PointD& p) { return {Round(p.x), Round(p.y)}; }

std::vector<DevicePoint> Round(const std::vector<PointD>& points) {
  std::vector<DevicePoint> out;
  out.reserve(points.size());
  for (const PointD& p : points) out.push_back(Round(p));
  return out;
}

// The plain pen style nearest an extended pen's: user dashes become dashes, alternate dots
// become dots.
std::uint32_t PlainStyle(std::uint32_t style) {
  switch (style & 0xF) {
    case gdi::kPenUserStyle:
      return gdi::kPenDash;
    case gdi::kPenAlternate:
      return gdi::kPenDot;
    default:
      return style & 0xF;
  }
}

// One axis of a bitmap's placement, cut to [low, high] on the target: `dest` and `length` on
// the target (length negative when mirrored), `source` and `count` in source pixels counted
// from the image's first row or column. False when nothing of it is inside.
struct Span1 {
  double dest, length, source, count;
};
bool CutSpan(Span1& s, double low, double high) {
  const double a = std::min(s.dest, s.dest + s.length), b = std::max(s.dest, s.dest + s.length);
  if (b < low || a > high) return false;
  if (a >= low && b <= high) return true;
  const double perPixel = s.length / s.count;  // target units per source pixel, signed
  const auto sourceAt = [&](double d) { return s.source + (d - s.dest) / perPixel; };
  const double s0 = sourceAt(std::max(a, low)), s1 = sourceAt(std::min(b, high));
  const double first = std::max(s.source, std::floor(std::min(s0, s1)));
  const double last = std::min(s.source + s.count, std::ceil(std::max(s0, s1)));
  s.dest += (first - s.source) * perPixel;
  s.length = (last - first) * perPixel;
  s.source = first;
  s.count = last - first;
  return s.count > 0;
}

}  // namespace

LegacyMetafileDevice::LegacyMetafileDevice(Device& target, const DeviceRect& area)
    : target_(target),
      area_{static_cast<double>(area.left), static_cast<double>(area.top),
            static_cast<double>(area.right), static_cast<double>(area.bottom)} {
  // Lines are cut this far around the picture, so that their wide ends and joins still reach
  // into it as drawn, and never beyond what 16 bits hold.
  const double margin = std::max(area_.right - area_.left, area_.bottom - area_.top) / 2;
  reach_ = {std::max(-kShortMax, area_.left - margin), std::max(-kShortMax, area_.top - margin),
            std::min(kShortMax, area_.right + margin), std::min(kShortMax, area_.bottom + margin)};
}

double LegacyMetafileDevice::ScaleX() const {
  if (map_.mode == gdi::kMapText) return 1;
  const double sx = map_.viewportX / map_.windowX;
  if (map_.mode != gdi::kMapIsotropic) return sx;
  return std::copysign(std::min(std::fabs(sx), std::fabs(map_.viewportY / map_.windowY)), sx);
}

double LegacyMetafileDevice::ScaleY() const {
  if (map_.mode == gdi::kMapText) return 1;
  const double sy = map_.viewportY / map_.windowY;
  if (map_.mode != gdi::kMapIsotropic) return sy;
  return std::copysign(std::min(std::fabs(sy), std::fabs(map_.viewportX / map_.windowX)), sy);
}

PointD LegacyMetafileDevice::Map(double x, double y) const {
  return {map_.originX + x * ScaleX(), map_.originY + y * ScaleY()};
}

std::vector<PointD> LegacyMetafileDevice::Map(std::span<const DevicePoint> points) const {
  std::vector<PointD> out;
  out.reserve(points.size());
  for (const DevicePoint& p : points) out.push_back(Map(p.x, p.y));
  return out;
}

// Print jobs and queries pass through; the format records no escapes worth asking about.
int LegacyMetafileDevice::StartDocument(const std::string& name) {
  return target_.StartDocument(name);
}
int LegacyMetafileDevice::StartPage() { return target_.StartPage(); }
int LegacyMetafileDevice::EndPage() { return target_.EndPage(); }
int LegacyMetafileDevice::EndDocument() { return target_.EndDocument(); }
int LegacyMetafileDevice::GetDeviceCaps(int index) { return target_.GetDeviceCaps(index); }
int LegacyMetafileDevice::QueryEscapeSupport(int) { return 0; }

// The mapping stays here: a recorded viewport would override the player's placement.
int LegacyMetafileDevice::SetGraphicsMode(int) { return 1; }
int LegacyMetafileDevice::SetMapMode(int mode) {
  const int previous = map_.mode;
  map_.mode = mode;
  return previous;
}
bool LegacyMetafileDevice::SetWindowExt(int x, int y) {
  if (x == 0 || y == 0) return false;
  map_.windowX = x;
  map_.windowY = y;
  return true;
}
bool LegacyMetafileDevice::SetViewportExt(int x, int y) {
  if (x == 0 || y == 0) return false;
  map_.viewportX = x;
  map_.viewportY = y;
  return true;
}
bool LegacyMetafileDevice::SetViewportOrg(int x, int y) {
  map_.originX = x;
  map_.originY = y;
  return true;
}

ObjectId LegacyMetafileDevice::CreatePen(std::uint32_t style, int width, ColorRef colour) {
  const double scaled = std::min(kShortMax, std::fabs(width * ScaleX()));
  return target_.CreatePen(style, width == 0 ? 0 : std::max(1, Round(scaled)), colour);
}

ObjectId LegacyMetafileDevice::ExtCreatePen(std::uint32_t style, std::uint32_t width,
                                            const BrushDesc& brush,
                                            std::span<const std::uint32_t>) {
  // Caps, joins and dash lengths are lost: the format's pens have none.
  if ((style & gdi::kPenGeometric) == 0) return target_.CreatePen(PlainStyle(style), 0, brush.colour);
  return CreatePen(PlainStyle(style), static_cast<int>(std::min<std::uint32_t>(width, 1u << 30)),
                   brush.colour);
}

ObjectId LegacyMetafileDevice::CreateSolidBrush(ColorRef colour) {
  return target_.CreateSolidBrush(colour);
}
ObjectId LegacyMetafileDevice::CreateHatchBrush(int hatch, ColorRef colour) {
  return target_.CreateHatchBrush(hatch, colour);
}
ObjectId LegacyMetafileDevice::CreateDibPatternBrush(const DibView& packedDib) {
  const std::optional<ColorRef> colour = AverageDibColour(packedDib);
  return colour ? target_.CreateSolidBrush(*colour) : kNoObject;
}
ObjectId LegacyMetafileDevice::GetStockObject(int which) { return target_.GetStockObject(which); }
ObjectId LegacyMetafileDevice::SelectObject(ObjectId object) {
  return target_.SelectObject(object);
}
bool LegacyMetafileDevice::DeleteObject(ObjectId object) { return target_.DeleteObject(object); }

int LegacyMetafileDevice::SetROP2(int mode) { return target_.SetROP2(mode); }
bool LegacyMetafileDevice::SetMiterLimit(float) { return true; }
int LegacyMetafileDevice::SetStretchBltMode(int mode) { return target_.SetStretchBltMode(mode); }
// A metafile cannot be asked for its state; the picture's background is white.
ColorRef LegacyMetafileDevice::GetBkColor() { return 0xFFFFFF; }

bool LegacyMetafileDevice::MoveTo(int x, int y) {
  current_ = Map(x, y);
  return true;
}

bool LegacyMetafileDevice::LineTo(int x, int y) {
  PointD a = current_, b = Map(x, y);
  current_ = b;
  if (inPath_) return true;  // paths are not recorded; see SelectClipPath
  if (!ClipSegment(a, b, reach_)) return true;
  const DevicePoint from = Round(a), to = Round(b);
  return target_.MoveTo(from.x, from.y) && target_.LineTo(to.x, to.y);
}

bool LegacyMetafileDevice::DrawPolyline(const std::vector<PointD>& line) {
  bool ok = true;
  for (const auto& run : ClipPolyline(line, reach_)) ok = target_.Polyline(Round(run)) && ok;
  return ok;
}

bool LegacyMetafileDevice::Polyline(std::span<const DevicePoint> points) {
  return DrawPolyline(Map(points));
}

bool LegacyMetafileDevice::PolyBezier(std::span<const DevicePoint> points) {
  if (points.size() < 4 || points.size() % 3 != 1) return false;
  return DrawPolyline(FlattenBezierChain(Map(points), kCurveTolerance));
}

bool LegacyMetafileDevice::Polygon(std::span<const DevicePoint> points) {
  const std::vector<PointD> ring = ClipPolygon(Map(points), reach_);
  if (ring.size() < 3) return true;
  return target_.Polygon(Round(ring));
}

bool LegacyMetafileDevice::PolyPolygon(std::span<const DevicePoint> points,
                                       std::span<const std::int32_t> counts) {
  std::vector<DevicePoint> kept;
  std::vector<std::int32_t> keptCounts;
  std::size_t at = 0;
  for (const std::int32_t count : counts) {
    if (count < 0 || static_cast<std::size_t>(count) > points.size() - at) return false;
    const std::vector<PointD> ring =
        ClipPolygon(Map(points.subspan(at, static_cast<std::size_t>(count))), reach_);
    at += static_cast<std::size_t>(count);
    if (ring.size() < 3) continue;
    for (const PointD& p : ring) kept.push_back(Round(p));
    keptCounts.push_back(static_cast<std::int32_t>(ring.size()));
  }
  if (keptCounts.empty()) return true;
  return target_.PolyPolygon(kept, keptCounts);
}

bool LegacyMetafileDevice::Rectangle(int left, int top, int right, int bottom) {
  const PointD a = Map(left, top), b = Map(right, bottom);
  const auto clampX = [&](double v) { return Round(std::clamp(v, reach_.left, reach_.right)); };
  const auto clampY = [&](double v) { return Round(std::clamp(v, reach_.top, reach_.bottom)); };
  return target_.Rectangle(clampX(std::min(a.x, b.x)), clampY(std::min(a.y, b.y)),
                           clampX(std::max(a.x, b.x)), clampY(std::max(a.y, b.y)));
}

int LegacyMetafileDevice::StretchDIBits(int xDest, int yDest, int destWidth, int destHeight,
                                        int xSrc, int ySrc, int srcWidth, int srcHeight,
                                        const DibView& dib, std::uint32_t rop) {
  if (srcWidth <= 0 || srcHeight <= 0 || dib.info.size() < 12) return 0;
  const PointD a = Map(xDest, yDest), b = Map(double(xDest) + destWidth, double(yDest) + destHeight);
  // Source rows are counted from the bottom in a bottom-up image: cut in top-down rows.
  const std::int32_t imageHeight = static_cast<std::int32_t>(
      dib.info[8] | dib.info[9] << 8 | dib.info[10] << 16 |
      static_cast<std::uint32_t>(dib.info[11]) << 24);
  const bool bottomUp = imageHeight > 0;
  const double topRow = bottomUp ? double(imageHeight) - ySrc - srcHeight : ySrc;
  Span1 across{a.x, b.x - a.x, double(xSrc), double(srcWidth)};
  Span1 down{a.y, b.y - a.y, topRow, double(srcHeight)};
  if (!CutSpan(across, reach_.left, reach_.right) || !CutSpan(down, reach_.top, reach_.bottom))
    return srcHeight;  // nothing of it can show
  const double sourceY = bottomUp ? double(imageHeight) - down.source - down.count : down.source;
  const int x0 = Round(across.dest), y0 = Round(down.dest);
  return target_.StretchDIBits(x0, y0, Round(across.dest + across.length) - x0,
                               Round(down.dest + down.length) - y0, Round(across.source),
                               Round(sourceY), Round(across.count), Round(down.count), dib, rop);
}

// The format records no paths and no clip paths. A path is swallowed and a clip path leaves the
// clip as it was (the picture's own bounds); clearing the clip would clear the player's too.
bool LegacyMetafileDevice::BeginPath() {
  inPath_ = true;
  return true;
}
bool LegacyMetafileDevice::EndPath() {
  inPath_ = false;
  return true;
}
bool LegacyMetafileDevice::SelectClipPath(int) { return true; }
bool LegacyMetafileDevice::SelectClipRgnNone() { return true; }

int LegacyMetafileDevice::GetClipBox(DeviceRect& box) {
  // The picture's area in logical units: what can show.
  const double sx = ScaleX(), sy = ScaleY();
  const double x0 = (area_.left - map_.originX) / sx, x1 = (area_.right - map_.originX) / sx;
  const double y0 = (area_.top - map_.originY) / sy, y1 = (area_.bottom - map_.originY) / sy;
  const auto fit = [](double v) {
    return static_cast<std::int32_t>(std::clamp(v, -2147483648.0, 2147483647.0));
  };
  box = {fit(std::floor(std::min(x0, x1))), fit(std::floor(std::min(y0, y1))),
         fit(std::ceil(std::max(x0, x1))), fit(std::ceil(std::max(y0, y1)))};
  return kSimpleRegion;
}

bool LegacyMetafileDevice::GetVisibleBox(DeviceRect& box) {
  GetClipBox(box);
  return true;
}

bool LegacyMetafileDevice::RectVisible(const DeviceRect& rect) {
  const PointD a = Map(rect.left, rect.top), b = Map(rect.right, rect.bottom);
  return std::max(a.x, b.x) > area_.left && std::min(a.x, b.x) < area_.right &&
         std::max(a.y, b.y) > area_.top && std::min(a.y, b.y) < area_.bottom;
}

int LegacyMetafileDevice::SaveDC() {
  if (target_.SaveDC() == 0) return 0;
  saved_.push_back(map_);
  return static_cast<int>(saved_.size());
}

bool LegacyMetafileDevice::RestoreDC(int saved) {
  // The format restores by relative depth only.
  const long depth = static_cast<long>(saved_.size());
  const long levels = saved < 0 ? -static_cast<long>(saved) : depth - saved + 1;
  if (levels < 1 || levels > depth) return false;
  map_ = saved_[static_cast<std::size_t>(depth - levels)];
  saved_.resize(static_cast<std::size_t>(depth - levels));
  return target_.RestoreDC(-static_cast<int>(levels));
}

}  // namespace quillon
