#include "render/trace_device.h"

#include <cstdio>

namespace quillon {

namespace {

std::string Hex(std::uint32_t v, int digits) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%0*X", digits, v);
  return buf;
}

std::string Colour(ColorRef c) { return Hex(c, 6); }

// Stock objects 6..8 are pens (white, black, null); 0..5 brushes.
bool StockIsPen(int which) { return which >= 6 && which <= 8; }

}  // namespace

TraceDevice::TraceDevice()
    : selectedPen_(kStockBase + gdi::kStockBlackPen), selectedBrush_(kStockBase + gdi::kStockWhiteBrush) {
  caps_[gdi::kCapHorzRes] = 2400;
  caps_[gdi::kCapVertRes] = 3300;
  caps_[gdi::kCapLogPixelsX] = 300;
  caps_[gdi::kCapLogPixelsY] = 300;
}

std::string TraceDevice::str() const {
  std::string all;
  for (const auto& line : lines_) all += line + '\n';
  return all;
}

std::vector<std::string> TraceDevice::LinesStartingWith(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const auto& line : lines_)
    if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
  return found;
}

std::string TraceDevice::Name(ObjectId id) const {
  if (id == kNoObject) return "none";
  if (id >= kStockBase) return "stock#" + std::to_string(id - kStockBase);
  auto it = everCreated_.find(id);
  if (it == everCreated_.end()) return "?#" + std::to_string(id);
  return (it->second == Kind::Pen ? "pen#" : "brush#") + std::to_string(id);
}

ObjectId TraceDevice::NewObject(Kind kind) {
  ObjectId id = nextId_++;
  live_[id] = kind;
  everCreated_[id] = kind;
  return id;
}

std::string TraceDevice::Points(std::span<const DevicePoint> points) {
  std::string text;
  for (const auto& p : points) text += " (" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
  return text;
}

int TraceDevice::StartDocument(const std::string& documentName) {
  Add("StartDoc \"" + documentName + "\"");
  return 1;
}
int TraceDevice::StartPage() {
  Add("StartPage");
  return 1;
}
int TraceDevice::EndPage() {
  Add("EndPage");
  return 1;
}
int TraceDevice::EndDocument() {
  Add("EndDoc");
  return 1;
}
int TraceDevice::GetDeviceCaps(int index) {
  auto it = caps_.find(index);
  int value = it == caps_.end() ? 0 : it->second;
  Add("GetDeviceCaps " + std::to_string(index) + " -> " + std::to_string(value));
  return value;
}
int TraceDevice::QueryEscapeSupport(int escape) {
  int answer = escape == gdi::kEscPostscriptPassthrough && postScript_ ? 1 : 0;
  Add("QueryEscapeSupport " + std::to_string(escape) + " -> " + std::to_string(answer));
  return answer;
}

int TraceDevice::SetGraphicsMode(int mode) {
  Add("SetGraphicsMode " + std::to_string(mode));
  int old = graphicsMode_;
  graphicsMode_ = mode;
  return old;
}
int TraceDevice::SetMapMode(int mode) {
  Add("SetMapMode " + std::to_string(mode));
  int old = mapMode_;
  mapMode_ = mode;
  return old;
}
bool TraceDevice::SetWindowExt(int x, int y) {
  Add("SetWindowExt " + std::to_string(x) + " " + std::to_string(y));
  return true;
}
bool TraceDevice::SetViewportExt(int x, int y) {
  Add("SetViewportExt " + std::to_string(x) + " " + std::to_string(y));
  return true;
}
bool TraceDevice::SetViewportOrg(int x, int y) {
  Add("SetViewportOrg " + std::to_string(x) + " " + std::to_string(y));
  return true;
}

ObjectId TraceDevice::CreatePen(std::uint32_t style, int width, ColorRef colour) {
  ObjectId id = failCreations_ ? kNoObject : NewObject(Kind::Pen);
  Add("CreatePen style=" + Hex(style, 1) + " width=" + std::to_string(width) +
      " colour=" + Colour(colour) + " -> " + Name(id));
  return id;
}
ObjectId TraceDevice::ExtCreatePen(std::uint32_t style, std::uint32_t width, const BrushDesc& brush,
                                   std::span<const std::uint32_t> dashes) {
  ObjectId id = failCreations_ ? kNoObject : NewObject(Kind::Pen);
  std::string list;
  for (std::size_t i = 0; i < dashes.size(); ++i)
    list += (i ? "," : "") + std::to_string(dashes[i]);
  Add("ExtCreatePen style=" + Hex(style, 1) + " width=" + std::to_string(width) +
      " colour=" + Colour(brush.colour) + " dashes=[" + list + "] -> " + Name(id));
  return id;
}
ObjectId TraceDevice::CreateSolidBrush(ColorRef colour) {
  ObjectId id = failCreations_ ? kNoObject : NewObject(Kind::Brush);
  Add("CreateSolidBrush colour=" + Colour(colour) + " -> " + Name(id));
  return id;
}
ObjectId TraceDevice::CreateHatchBrush(int hatch, ColorRef colour) {
  ObjectId id = failCreations_ ? kNoObject : NewObject(Kind::Brush);
  Add("CreateHatchBrush hatch=" + std::to_string(hatch) + " colour=" + Colour(colour) + " -> " +
      Name(id));
  return id;
}
ObjectId TraceDevice::CreateDibPatternBrush(const DibView& packedDib) {
  ObjectId id = failCreations_ ? kNoObject : NewObject(Kind::Brush);
  Add("CreateDibPatternBrush info=" + std::to_string(packedDib.info.size()) +
      " bits=" + std::to_string(packedDib.bits.size()) + " -> " + Name(id));
  return id;
}
ObjectId TraceDevice::GetStockObject(int which) {
  ObjectId id = kStockBase + static_cast<ObjectId>(which);
  Add("GetStockObject " + std::to_string(which) + " -> " + Name(id));
  return id;
}
ObjectId TraceDevice::SelectObject(ObjectId object) {
  ObjectId previous = kNoObject;
  bool known = object >= kStockBase || live_.count(object) != 0;
  if (known) {
    bool pen = object >= kStockBase ? StockIsPen(static_cast<int>(object - kStockBase))
                                    : live_[object] == Kind::Pen;
    ObjectId& slot = pen ? selectedPen_ : selectedBrush_;
    previous = slot;
    slot = object;
  }
  Add("SelectObject " + Name(object) + " -> " + Name(previous));
  return previous;
}
bool TraceDevice::DeleteObject(ObjectId object) {
  bool ok = object < kStockBase && live_.erase(object) != 0;
  Add("DeleteObject " + Name(object) + (ok ? "" : " (failed)"));
  return ok;
}

int TraceDevice::SetROP2(int mode) {
  Add("SetROP2 " + std::to_string(mode));
  int old = rop2_;
  rop2_ = mode;
  return old;
}
bool TraceDevice::SetMiterLimit(float limit) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", static_cast<double>(limit));
  Add(std::string("SetMiterLimit ") + buf);
  return true;
}
int TraceDevice::SetStretchBltMode(int mode) {
  Add("SetStretchBltMode " + std::to_string(mode));
  int old = stretchMode_;
  stretchMode_ = mode;
  return old;
}
ColorRef TraceDevice::GetBkColor() {
  Add("GetBkColor -> " + Colour(bkColour_));
  return bkColour_;
}

bool TraceDevice::MoveTo(int x, int y) {
  Add("MoveTo " + std::to_string(x) + " " + std::to_string(y));
  return true;
}
bool TraceDevice::LineTo(int x, int y) {
  Add("LineTo " + std::to_string(x) + " " + std::to_string(y));
  return true;
}
bool TraceDevice::Polyline(std::span<const DevicePoint> points) {
  Add("Polyline " + std::to_string(points.size()) + Points(points));
  return true;
}
bool TraceDevice::PolyBezier(std::span<const DevicePoint> points) {
  Add("PolyBezier " + std::to_string(points.size()) + Points(points));
  return true;
}
bool TraceDevice::Polygon(std::span<const DevicePoint> points) {
  Add("Polygon " + std::to_string(points.size()) + Points(points));
  return true;
}
bool TraceDevice::PolyPolygon(std::span<const DevicePoint> points,
                              std::span<const std::int32_t> counts) {
  std::string list;
  for (std::size_t i = 0; i < counts.size(); ++i)
    list += (i ? "," : "") + std::to_string(counts[i]);
  Add("PolyPolygon counts=[" + list + "]" + Points(points));
  return true;
}
bool TraceDevice::Rectangle(int left, int top, int right, int bottom) {
  Add("Rectangle " + std::to_string(left) + " " + std::to_string(top) + " " +
      std::to_string(right) + " " + std::to_string(bottom));
  return true;
}
int TraceDevice::StretchDIBits(int xDest, int yDest, int destWidth, int destHeight, int xSrc,
                               int ySrc, int srcWidth, int srcHeight, const DibView& dib,
                               std::uint32_t rop) {
  Add("StretchDIBits dest=" + std::to_string(xDest) + "," + std::to_string(yDest) + "," +
      std::to_string(destWidth) + "," + std::to_string(destHeight) +
      " src=" + std::to_string(xSrc) + "," + std::to_string(ySrc) + "," + std::to_string(srcWidth) +
      "," + std::to_string(srcHeight) + " info=" + std::to_string(dib.info.size()) +
      " bits=" + std::to_string(dib.bits.size()) + " rop=" + Hex(rop, 8));
  if (keepDibs_)
    dibCalls_.push_back({xDest, yDest, destWidth, destHeight, srcWidth, srcHeight, rop,
                         {dib.info.begin(), dib.info.end()}, {dib.bits.begin(), dib.bits.end()}});
  if (failStretchFrom_ >= 0 && stretchCalls_++ >= failStretchFrom_) return 0;
  return srcHeight < 0 ? -srcHeight : srcHeight;
}

bool TraceDevice::OfferJpeg(const JpegSource& source) {
  jpegOffers_.push_back({source.stream.size(), source.width, source.rows, source.rotation});
  return takesJpeg_;
}

bool TraceDevice::BeginPath() {
  Add("BeginPath");
  return true;
}
bool TraceDevice::EndPath() {
  Add("EndPath");
  return true;
}
bool TraceDevice::SelectClipPath(int mode) {
  Add("SelectClipPath " + std::to_string(mode));
  return true;
}
bool TraceDevice::SelectClipRgnNone() {
  Add("SelectClipRgnNone");
  return true;
}
int TraceDevice::GetClipBox(DeviceRect& box) {
  box = clipBox_;
  Add("GetClipBox -> " + std::to_string(box.left) + " " + std::to_string(box.top) + " " +
      std::to_string(box.right) + " " + std::to_string(box.bottom));
  return 2;  // SIMPLEREGION
}
bool TraceDevice::GetVisibleBox(DeviceRect& box) {
  if (!visibleBox_) return false;
  box = *visibleBox_;
  Add("GetVisibleBox -> " + std::to_string(box.left) + " " + std::to_string(box.top) + " " +
      std::to_string(box.right) + " " + std::to_string(box.bottom));
  return true;
}
bool TraceDevice::RectVisible(const DeviceRect& rect) {
  Add("RectVisible " + std::to_string(rect.left) + " " + std::to_string(rect.top) + " " +
      std::to_string(rect.right) + " " + std::to_string(rect.bottom) + " -> " +
      (rectVisible_ ? "1" : "0"));
  return rectVisible_;
}
int TraceDevice::SaveDC() {
  ++saveDepth_;
  Add("SaveDC -> " + std::to_string(saveDepth_));
  return saveDepth_;
}
bool TraceDevice::RestoreDC(int saved) {
  Add("RestoreDC " + std::to_string(saved));
  // Negative: that many levels back, as GDI counts.
  bool ok = saved < 0 ? -saved <= saveDepth_ : saved >= 1 && saved <= saveDepth_;
  if (ok) saveDepth_ = saved < 0 ? saveDepth_ + saved : saved - 1;
  return ok;
}

void TraceDevice::Note(const std::string& text) { Add("Note " + text); }

}  // namespace quillon
