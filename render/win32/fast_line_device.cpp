#include "render/win32/fast_line_device.h"

#include <windows.h>

namespace quillon {

namespace {

HGDIOBJ ToObject(ObjectId id) { return reinterpret_cast<HGDIOBJ>(id); }
ObjectId ToId(HGDIOBJ object) { return reinterpret_cast<ObjectId>(object); }

// 0x00BBGGRR as the 0x00RRGGBB of a 32-bit DIB pixel.
std::uint32_t PixelOf(ColorRef colour) {
  return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

}  // namespace

FastLineDevice::FastLineDevice(GdiDevice& gdi) : gdi_(gdi) { ReadDcState(); }

FastLineDevice::~FastLineDevice() {
  Flush();
  if (cosmeticPen_ != kNoObject) gdi_.DeleteObject(cosmeticPen_);
}

void FastLineDevice::ReadDcState() {
  pen_ = ToId(::GetCurrentObject(gdi_.dc(), OBJ_PEN));
  mix_ = ::GetROP2(gdi_.dc());
  mappingRead_ = targetRead_ = false;
}

void FastLineDevice::Flush() {
  if (batchCounts_.empty()) return;
  if (cosmeticPen_ == kNoObject || cosmeticColour_ != batchColour_) {
    if (cosmeticPen_ != kNoObject) gdi_.DeleteObject(cosmeticPen_);
    cosmeticPen_ = gdi_.CreatePen(PS_SOLID, 0, batchColour_);
    cosmeticColour_ = batchColour_;
  }
  HDC dc = gdi_.dc();
  if (cosmeticPen_ != kNoObject) {
    HGDIOBJ previous = ::SelectObject(dc, ToObject(cosmeticPen_));
    static_assert(sizeof(DevicePoint) == sizeof(POINT) && sizeof(DWORD) == sizeof(std::uint32_t));
    ::PolyPolyline(dc, reinterpret_cast<const POINT*>(batchPoints_.data()),
                   reinterpret_cast<const DWORD*>(batchCounts_.data()),
                   static_cast<DWORD>(batchCounts_.size()));
    ::SelectObject(dc, previous);
  }
  batchPoints_.clear();
  batchCounts_.clear();
  gdiDrew_ = true;
}

GdiDevice& FastLineDevice::Gdi() {
  Flush();
  gdiDrew_ = true;
  return gdi_;
}

const DcMapping* FastLineDevice::Mapping() {
  if (!mappingRead_) {
    mappingRead_ = true;
    ++mappingReads_;
    DcMapping mapping;
    mapping_.reset();
    if (mapping.Read(gdi_.dc())) mapping_ = mapping;
  }
  return mapping_ ? &*mapping_ : nullptr;
}

const DibTarget* FastLineDevice::Target() {
  if (!targetRead_) {
    targetRead_ = true;
    target_ = FindDibTarget(gdi_.dc());
  }
  return target_ ? &*target_ : nullptr;
}

const FastLineDevice::PenFacts* FastLineDevice::ThinPen() {
  if (mix_ != R2_COPYPEN || inPath_) return nullptr;
  const auto found = pens_.find(pen_);
  if (found == pens_.end() || !found->second.solid) return nullptr;
  PenFacts& pen = found->second;
  if (pen.cosmetic) return &pen;
  const DcMapping* mapping = Mapping();
  if (!mapping) return nullptr;
  // GDI rounds a geometric pen's width to whole pixels: up to 1.5 it draws one pixel wide.
  // Worked out once per pen and mapping, not for every polyline drawn with it.
  if (pen.thinAsOf != mappingReads_) {
    pen.thinAsOf = mappingReads_;
    pen.thin = mapping->PenPixels(pen.width) <= 1.0;
  }
  return pen.thin ? &pen : nullptr;
}

bool FastLineDevice::DrawIntoBits(std::span<const DevicePoint> points, const PenFacts& pen) {
  const DibTarget* target = Target();
  const DcMapping* mapping = Mapping();
  if (!target || !mapping) return false;
  mapped_.resize(points.size());
  for (std::size_t i = 0; i < points.size(); ++i)
    if (!mapping->Map(points[i], mapped_[i])) return false;
  Flush();
  if (gdiDrew_) {
    ::GdiFlush();
    gdiDrew_ = false;
  }
  DrawPolyline(target->surface, target->clip, mapped_, PixelOf(pen.colour));
  return true;
}

void FastLineDevice::Batch(std::span<const DevicePoint> points, ColorRef colour) {
  if (!batchCounts_.empty() && colour != batchColour_) Flush();
  batchColour_ = colour;
  batchPoints_.insert(batchPoints_.end(), points.begin(), points.end());
  batchCounts_.push_back(static_cast<std::uint32_t>(points.size()));
}

bool FastLineDevice::Polyline(std::span<const DevicePoint> points) {
  const PenFacts* pen = points.size() >= 2 && points.size() <= 0x7FFFFFFF ? ThinPen() : nullptr;
  if (!pen) return Gdi().Polyline(points);
  if (!DrawIntoBits(points, *pen)) Batch(points, pen->colour);
  return true;
}

ObjectId FastLineDevice::ExtCreatePen(std::uint32_t style, std::uint32_t width,
                                      const BrushDesc& brush,
                                      std::span<const std::uint32_t> dashes) {
  const ObjectId pen = Gdi().ExtCreatePen(style, width, brush, dashes);
  if (pen != kNoObject) {
    PenFacts facts;
    facts.solid =
        (style & PS_STYLE_MASK) == PS_SOLID && brush.style == BS_SOLID && (brush.colour >> 24) == 0;
    facts.cosmetic = (style & PS_TYPE_MASK) == PS_COSMETIC;
    facts.width = width;
    facts.colour = brush.colour;
    pens_[pen] = facts;
  }
  return pen;
}

ObjectId FastLineDevice::SelectObject(ObjectId object) {
  const ObjectId previous = Gdi().SelectObject(object);
  const DWORD type = ::GetObjectType(ToObject(object));
  if (previous != kNoObject && (type == OBJ_PEN || type == OBJ_EXTPEN)) pen_ = object;
  return previous;
}

bool FastLineDevice::DeleteObject(ObjectId object) {
  pens_.erase(object);
  return Gdi().DeleteObject(object);
}

int FastLineDevice::SetROP2(int mode) {
  const int previous = Gdi().SetROP2(mode);
  if (previous != 0) mix_ = mode;
  return previous;
}

int FastLineDevice::SetGraphicsMode(int mode) {
  mappingRead_ = false;
  return Gdi().SetGraphicsMode(mode);
}
int FastLineDevice::SetMapMode(int mode) {
  mappingRead_ = false;
  return Gdi().SetMapMode(mode);
}
bool FastLineDevice::SetWindowExt(int x, int y) {
  mappingRead_ = false;
  return Gdi().SetWindowExt(x, y);
}
bool FastLineDevice::SetViewportExt(int x, int y) {
  mappingRead_ = false;
  return Gdi().SetViewportExt(x, y);
}
bool FastLineDevice::SetViewportOrg(int x, int y) {
  mappingRead_ = false;
  return Gdi().SetViewportOrg(x, y);
}

bool FastLineDevice::BeginPath() {
  inPath_ = true;
  return Gdi().BeginPath();
}
bool FastLineDevice::EndPath() {
  inPath_ = false;
  return Gdi().EndPath();
}
bool FastLineDevice::SelectClipPath(int mode) {
  targetRead_ = false;
  inPath_ = false;
  return Gdi().SelectClipPath(mode);
}
bool FastLineDevice::SelectClipRgnNone() {
  targetRead_ = false;
  return Gdi().SelectClipRgnNone();
}
bool FastLineDevice::RestoreDC(int saved) {
  const bool restored = Gdi().RestoreDC(saved);
  ReadDcState();
  inPath_ = false;
  return restored;
}

// The rest passes straight through.
int FastLineDevice::StartDocument(const std::string& name) { return Gdi().StartDocument(name); }
int FastLineDevice::StartPage() { return Gdi().StartPage(); }
int FastLineDevice::EndPage() { return Gdi().EndPage(); }
int FastLineDevice::EndDocument() { return Gdi().EndDocument(); }
int FastLineDevice::GetDeviceCaps(int index) { return Gdi().GetDeviceCaps(index); }
int FastLineDevice::QueryEscapeSupport(int escape) { return Gdi().QueryEscapeSupport(escape); }
ObjectId FastLineDevice::CreatePen(std::uint32_t style, int width, ColorRef colour) {
  return Gdi().CreatePen(style, width, colour);
}
ObjectId FastLineDevice::CreateSolidBrush(ColorRef colour) {
  return Gdi().CreateSolidBrush(colour);
}
ObjectId FastLineDevice::CreateHatchBrush(int hatch, ColorRef colour) {
  return Gdi().CreateHatchBrush(hatch, colour);
}
ObjectId FastLineDevice::CreateDibPatternBrush(const DibView& packedDib) {
  return Gdi().CreateDibPatternBrush(packedDib);
}
ObjectId FastLineDevice::GetStockObject(int which) { return Gdi().GetStockObject(which); }
bool FastLineDevice::SetMiterLimit(float limit) { return Gdi().SetMiterLimit(limit); }
int FastLineDevice::SetStretchBltMode(int mode) { return Gdi().SetStretchBltMode(mode); }
ColorRef FastLineDevice::GetBkColor() { return Gdi().GetBkColor(); }
bool FastLineDevice::MoveTo(int x, int y) { return Gdi().MoveTo(x, y); }
bool FastLineDevice::LineTo(int x, int y) { return Gdi().LineTo(x, y); }
bool FastLineDevice::PolyBezier(std::span<const DevicePoint> points) {
  return Gdi().PolyBezier(points);
}
bool FastLineDevice::Polygon(std::span<const DevicePoint> points) { return Gdi().Polygon(points); }
bool FastLineDevice::PolyPolygon(std::span<const DevicePoint> points,
                                 std::span<const std::int32_t> counts) {
  return Gdi().PolyPolygon(points, counts);
}
bool FastLineDevice::Rectangle(int left, int top, int right, int bottom) {
  return Gdi().Rectangle(left, top, right, bottom);
}
int FastLineDevice::StretchDIBits(int xDest, int yDest, int destWidth, int destHeight, int xSrc,
                                  int ySrc, int srcWidth, int srcHeight, const DibView& dib,
                                  std::uint32_t rop) {
  return Gdi().StretchDIBits(xDest, yDest, destWidth, destHeight, xSrc, ySrc, srcWidth, srcHeight,
                             dib, rop);
}
int FastLineDevice::GetClipBox(DeviceRect& box) { return Gdi().GetClipBox(box); }
bool FastLineDevice::GetVisibleBox(DeviceRect& box) { return Gdi().GetVisibleBox(box); }
bool FastLineDevice::RectVisible(const DeviceRect& rect) { return Gdi().RectVisible(rect); }
int FastLineDevice::SaveDC() { return Gdi().SaveDC(); }

}  // namespace quillon
