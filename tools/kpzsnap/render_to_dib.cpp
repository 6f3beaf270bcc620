#include "tools/kpzsnap/render_to_dib.h"

#include <cstdio>
#include <cstring>

#include "document/win32/win32_document_platform.h"
#include "interact/view_state.h"
#include "render/draw_context.h"
#include "render/win32/gdi_device.h"
#include "render/win32/memory_dc.h"
#include "render/win32/platform_check.h"

// After the device headers: <windows.h> renames StartDoc, which Device declares.
#include <windows.h>

namespace quillon {

namespace {

constexpr int kStatusBarHeight = 17;

void PrintControlMessage(const std::string& text) {
  std::fprintf(stderr, "control message: %s\n", text.c_str());
}

// The control's status bar with its initial texts, as its paint draws it last.
void DrawStatusBar(HDC dc, int width, int areaHeight) {
  ::SetMapMode(dc, MM_TEXT);
  ::SetViewportOrgEx(dc, 0, 0, nullptr);
  ::SetWindowOrgEx(dc, 0, 0, nullptr);
  char text[128];
  std::snprintf(text, sizeof text, "%-15s %-25s %-60s", " Pan", "Click and Drag", " ");
  const COLORREF oldBk = ::SetBkColor(dc, 0xBDBDBD);
  HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(ANSI_VAR_FONT));
  HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(NULL_PEN));
  HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(LTGRAY_BRUSH));
  RECT strip = {0, areaHeight + 1, width + 1, areaHeight + kStatusBarHeight + 1};
  ::Rectangle(dc, strip.left, strip.top, strip.right, strip.bottom);
  ::DrawTextA(dc, text, -1, &strip, 0);
  // The document's pen and brush go back: the next draw relies on what it selected.
  ::SelectObject(dc, oldBrush);
  ::SelectObject(dc, oldPen);
  ::SelectObject(dc, oldFont);
  ::SetBkColor(dc, oldBk);
}

}  // namespace

struct DibRenderer::Parts {
  explicit Parts(const SnapView& v) : view(v), surface(v.width, v.height) {}
  SnapView view;
  Win32DocumentPlatform platform{PrintControlMessage};
  DrawContext context{platform, 0, 0};
  MemoryDc surface;
  GdiDevice device{surface.dc()};
  std::string file;
  double zoom = 0;
};

DibRenderer::DibRenderer(const SnapView& view) : parts_(std::make_unique<Parts>(view)) {
  parts_->context.SetPlatformFlavour(DetectPlatformFlavour());
}

DibRenderer::~DibRenderer() {
  // The document's pens and brushes are selected into the memory DC: delete them first.
  parts_->context.CloseDocument(&parts_->device);
}

bool DibRenderer::valid() const { return parts_->surface.valid(); }

double DibRenderer::zoom() const { return parts_->zoom; }

bool DibRenderer::Open(const std::string& file) {
  Parts& p = *parts_;
  p.context.CloseDocument(&p.device);
  p.file = file;
  const int areaHeight = p.view.height - (p.view.statusBar ? kStatusBarHeight : 0);
  return p.context.OpenDocument(file, p.view.width, areaHeight) == 0;
}

void DibRenderer::Draw() {
  Parts& p = *parts_;
  KpzDocument* doc = p.context.document();
  p.surface.Fill(RGB(255, 255, 255));
  if (!doc) return;
  const int areaHeight = p.view.height - (p.view.statusBar ? kStatusBarHeight : 0);
  // The control's view: extents exchanged when the page lies sideways, so that the fit is
  // taken of the turned page; a chosen scale gives the extents of the page at that scale.
  ViewState view;
  view.Rot = p.view.rotation;
  SetExtentsToView(view, p.view.width, areaHeight);
  doc->rotation = p.view.rotation;
  doc->zoom = p.view.scale.value_or(0);
  p.context.DrawDocument(&p.device, 0, view.DrawExtentX, view.DrawExtentY, p.view.originX,
                         p.view.originY, p.file, 0);
  p.zoom = doc->zoom;
  if (p.view.statusBar) DrawStatusBar(p.surface.dc(), p.view.width, areaHeight);
  ::GdiFlush();
}

SnapImage DibRenderer::Image() const {
  const MemoryDc& surface = parts_->surface;
  SnapImage image;
  if (!surface.valid()) return image;
  ::GdiFlush();
  image.width = surface.width();
  image.height = surface.height();
  image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
  // The DIB section's own bits: one copy instead of a call per pixel.
  DIBSECTION section{};
  HGDIOBJ bitmap = ::GetCurrentObject(surface.dc(), OBJ_BITMAP);
  if (::GetObjectA(bitmap, sizeof section, &section) == sizeof section &&
      section.dsBm.bmBits != nullptr && section.dsBm.bmBitsPixel == 32) {
    std::memcpy(image.pixels.data(), section.dsBm.bmBits, image.pixels.size() * 4);
    for (std::uint32_t& pixel : image.pixels) pixel &= 0x00FFFFFFu;
  } else {
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x)
        image.pixels[static_cast<std::size_t>(y) * image.width + x] = surface.Pixel(x, y);
  }
  return image;
}

}  // namespace quillon
