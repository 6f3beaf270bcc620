#include "render/win32/gdi_device.h"

#include <windows.h>

#include <climits>
#include <cstddef>

namespace quillon {
namespace {

// DevicePoint has POINT's layout (two 32-bit integers), so point arrays pass through as they are.
static_assert(sizeof(DevicePoint) == sizeof(POINT) &&
              offsetof(DevicePoint, y) == offsetof(POINT, y));

ObjectId ToId(HGDIOBJ object) { return reinterpret_cast<ObjectId>(object); }
HGDIOBJ ToObject(ObjectId id) { return reinterpret_cast<HGDIOBJ>(id); }

const POINT* AsPoints(std::span<const DevicePoint> points) {
  return reinterpret_cast<const POINT*>(points.data());
}

// GDI counts in int/DWORD; larger spans cannot be drawn in one call.
bool CountFits(std::size_t n) { return n <= static_cast<std::size_t>(INT_MAX); }

}  // namespace

int GdiDevice::StartDocument(const std::string& documentName) {
  DOCINFOA info{};
  info.cbSize = sizeof info;
  info.lpszDocName = documentName.c_str();
  return ::StartDocA(dc_, &info);
}
int GdiDevice::StartPage() { return ::StartPage(dc_); }
int GdiDevice::EndPage() { return ::EndPage(dc_); }
int GdiDevice::EndDocument() { return ::EndDoc(dc_); }
int GdiDevice::GetDeviceCaps(int index) { return ::GetDeviceCaps(dc_, index); }

int GdiDevice::QueryEscapeSupport(int escape) {
  return ::Escape(dc_, QUERYESCSUPPORT, sizeof escape, reinterpret_cast<LPCSTR>(&escape), nullptr);
}

int GdiDevice::SetGraphicsMode(int mode) { return ::SetGraphicsMode(dc_, mode); }
int GdiDevice::SetMapMode(int mode) { return ::SetMapMode(dc_, mode); }
bool GdiDevice::SetWindowExt(int x, int y) { return ::SetWindowExtEx(dc_, x, y, nullptr); }
bool GdiDevice::SetViewportExt(int x, int y) { return ::SetViewportExtEx(dc_, x, y, nullptr); }
bool GdiDevice::SetViewportOrg(int x, int y) { return ::SetViewportOrgEx(dc_, x, y, nullptr); }

ObjectId GdiDevice::CreatePen(std::uint32_t style, int width, ColorRef colour) {
  return ToId(::CreatePen(static_cast<int>(style), width, colour));
}

ObjectId GdiDevice::ExtCreatePen(std::uint32_t style, std::uint32_t width, const BrushDesc& brush,
                                 std::span<const std::uint32_t> dashes) {
  LOGBRUSH logBrush{};
  logBrush.lbStyle = brush.style;
  logBrush.lbColor = brush.colour;
  logBrush.lbHatch = brush.hatch;
  static_assert(sizeof(DWORD) == sizeof(std::uint32_t));
  const auto* dashData = dashes.empty() ? nullptr : reinterpret_cast<const DWORD*>(dashes.data());
  return ToId(::ExtCreatePen(style, width, &logBrush, static_cast<DWORD>(dashes.size()), dashData));
}

ObjectId GdiDevice::CreateSolidBrush(ColorRef colour) { return ToId(::CreateSolidBrush(colour)); }
ObjectId GdiDevice::CreateHatchBrush(int hatch, ColorRef colour) {
  return ToId(::CreateHatchBrush(hatch, colour));
}
ObjectId GdiDevice::CreateDibPatternBrush(const DibView& packedDib) {
  if (packedDib.info.size() < sizeof(BITMAPINFOHEADER)) return kNoObject;
  return ToId(::CreateDIBPatternBrushPt(packedDib.info.data(), DIB_RGB_COLORS));
}
ObjectId GdiDevice::GetStockObject(int which) { return ToId(::GetStockObject(which)); }
ObjectId GdiDevice::SelectObject(ObjectId object) {
  return ToId(::SelectObject(dc_, ToObject(object)));
}
bool GdiDevice::DeleteObject(ObjectId object) { return ::DeleteObject(ToObject(object)); }

int GdiDevice::SetROP2(int mode) { return ::SetROP2(dc_, mode); }
bool GdiDevice::SetMiterLimit(float limit) { return ::SetMiterLimit(dc_, limit, nullptr); }
int GdiDevice::SetStretchBltMode(int mode) { return ::SetStretchBltMode(dc_, mode); }
ColorRef GdiDevice::GetBkColor() { return ::GetBkColor(dc_); }

bool GdiDevice::MoveTo(int x, int y) { return ::MoveToEx(dc_, x, y, nullptr); }
bool GdiDevice::LineTo(int x, int y) { return ::LineTo(dc_, x, y); }

bool GdiDevice::Polyline(std::span<const DevicePoint> points) {
  if (!CountFits(points.size())) return false;
  return ::Polyline(dc_, AsPoints(points), static_cast<int>(points.size()));
}
bool GdiDevice::PolyBezier(std::span<const DevicePoint> points) {
  if (!CountFits(points.size())) return false;
  return ::PolyBezier(dc_, AsPoints(points), static_cast<DWORD>(points.size()));
}
bool GdiDevice::Polygon(std::span<const DevicePoint> points) {
  if (!CountFits(points.size())) return false;
  return ::Polygon(dc_, AsPoints(points), static_cast<int>(points.size()));
}
bool GdiDevice::PolyPolygon(std::span<const DevicePoint> points,
                            std::span<const std::int32_t> counts) {
  if (!CountFits(counts.size())) return false;
  static_assert(sizeof(INT) == sizeof(std::int32_t));
  return ::PolyPolygon(dc_, AsPoints(points), reinterpret_cast<const INT*>(counts.data()),
                       static_cast<int>(counts.size()));
}
bool GdiDevice::Rectangle(int left, int top, int right, int bottom) {
  return ::Rectangle(dc_, left, top, right, bottom);
}

int GdiDevice::StretchDIBits(int xDest, int yDest, int destWidth, int destHeight, int xSrc,
                             int ySrc, int srcWidth, int srcHeight, const DibView& dib,
                             std::uint32_t rop) {
  if (dib.info.size() < sizeof(BITMAPINFOHEADER)) return 0;
  return ::StretchDIBits(dc_, xDest, yDest, destWidth, destHeight, xSrc, ySrc, srcWidth, srcHeight,
                         dib.bits.empty() ? nullptr : dib.bits.data(),
                         reinterpret_cast<const BITMAPINFO*>(dib.info.data()), DIB_RGB_COLORS, rop);
}

bool GdiDevice::BeginPath() { return ::BeginPath(dc_); }
bool GdiDevice::EndPath() { return ::EndPath(dc_); }
bool GdiDevice::SelectClipPath(int mode) { return ::SelectClipPath(dc_, mode); }
bool GdiDevice::SelectClipRgnNone() { return ::SelectClipRgn(dc_, nullptr) != ERROR; }

int GdiDevice::GetClipBox(DeviceRect& box) {
  RECT rect{};
  const int kind = ::GetClipBox(dc_, &rect);
  box = {rect.left, rect.top, rect.right, rect.bottom};
  return kind;
}
bool GdiDevice::GetVisibleBox(DeviceRect& box) {
  const int kind = GetClipBox(box);
  return kind == SIMPLEREGION || kind == COMPLEXREGION;
}
bool GdiDevice::RectVisible(const DeviceRect& rect) {
  const RECT r{rect.left, rect.top, rect.right, rect.bottom};
  return ::RectVisible(dc_, &r);
}
int GdiDevice::SaveDC() { return ::SaveDC(dc_); }
bool GdiDevice::RestoreDC(int saved) { return ::RestoreDC(dc_, saved); }

}  // namespace quillon
