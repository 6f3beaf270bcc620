// Copy of a hosted control: the enhanced metafile at the shown area's true size and the bitmap
// of the drawing area, on the real clipboard, compared with what the window shows.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "tests/support/kpz_builder.h"
#include "tests/win32/control_host.h"
#include "tests/win32/temp_folder.h"

namespace quillon::control_test {
namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 318;
constexpr int kStatusBar = 17;
constexpr double kResolution = 1000;  // dots per metre of the test plot

struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  bool empty() const { return right < 0; }
};

// Where a picture has red pixels (the plot's thick line), within its first width x height.
Box RedIn(const MemoryDc& picture, int x0, int y0, int width, int height) {
  Box box;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c = picture.PixelColour(x0 + x, y0 + y);
      if (GetRValue(c) > 200 && GetGValue(c) < 80 && GetBValue(c) < 80) {
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x);
        box.bottom = std::max(box.bottom, y);
      }
    }
  }
  return box;
}

void ExpectNear(const Box& a, const Box& b, int tolerance) {
  ASSERT_FALSE(a.empty());
  ASSERT_FALSE(b.empty());
  EXPECT_NEAR(a.left, b.left, tolerance);
  EXPECT_NEAR(a.top, b.top, tolerance);
  EXPECT_NEAR(a.right, b.right, tolerance);
  EXPECT_NEAR(a.bottom, b.bottom, tolerance);
}

struct RecordCounts {
  int bitmaps = 0, figures = 0;
};

int CALLBACK CountRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) {
  auto* c = reinterpret_cast<RecordCounts*>(data);
  switch (record->iType) {
    case EMR_BITBLT:
    case EMR_STRETCHBLT:
    case EMR_STRETCHDIBITS:
    case EMR_SETDIBITSTODEVICE:
      ++c->bitmaps;
      break;
    case EMR_POLYLINE:
    case EMR_POLYLINE16:
    case EMR_POLYPOLYLINE:
    case EMR_POLYPOLYLINE16:
    case EMR_LINETO:
    case EMR_POLYBEZIER:
    case EMR_POLYBEZIER16:
      ++c->figures;
      break;
    default:
      break;
  }
  return 1;
}

class ControlCopyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegisterControl(), S_OK);
    KpzBuilder b;
    b.PageSize(0.4, 0.3, kResolution);
    b.BeginPage().LineWidth(12).LineColour(KpzBuilder::Rgb(255, 0, 0));
    b.Polyline({{20, 40}, {180, 40}, {180, 200}}).EndPage();
    plot = folder.Write("plan.kpz", b.Build());
    ASSERT_FALSE(plot.empty());
    host = std::make_unique<HostedControl>(kWidth, kHeight);
    ASSERT_TRUE(host->ok());
    UniqueBstr name(std::wstring(plot.begin(), plot.end()));
    ASSERT_EQ(host->ctl->put_DataFileName(name.get()), S_OK);
    host->Pump();
    // The first paint fits the page to the area; later ones, and the copy, draw at the scale
    // it derived, which may place a line a pixel apart. Compare with one of those.
    ASSERT_EQ(host->ctl->ReDraw(), S_OK);
    host->Pump();
  }
  void TearDown() override {
    host.reset();
    EXPECT_EQ(RegisterControl(), S_OK);
  }

  double ViewScale() {
    double s = 0;
    host->ctl->get_ViewScale(&s);
    return s;
  }

  test::TempFolder folder;
  std::string plot;
  std::unique_ptr<HostedControl> host;
};

TEST_F(ControlCopyTest, MetafileFrameIsTheShownAreaAtTrueSize) {
  for (const int zoomSteps : {0, 1}) {
    SCOPED_TRACE(zoomSteps);
    if (zoomSteps > 0) {
      ASSERT_EQ(host->ctl->Scale(2), S_OK);
      host->Pump();
    }
    ASSERT_EQ(host->ctl->Copy(), S_OK);
    ASSERT_TRUE(::IsClipboardFormatAvailable(CF_ENHMETAFILE));
    ASSERT_TRUE(::OpenClipboard(nullptr));
    const HENHMETAFILE picture = static_cast<HENHMETAFILE>(::GetClipboardData(CF_ENHMETAFILE));
    ENHMETAHEADER header{};
    const bool haveHeader =
        picture != nullptr && ::GetEnhMetaFileHeader(picture, sizeof header, &header) != 0;
    ::CloseClipboard();
    ASSERT_TRUE(haveHeader);

    // The shown area's physical size: its pixels in the screen's own millimetres, divided by
    // the zoom relative to true size. Within 0.5 %: the stored resolution is rounded up by a
    // tenth of a dot per inch (0.4 % at this plot's 25.4 dots per inch).
    WindowDc screen(nullptr);
    const double mmPerPixel = static_cast<double>(::GetDeviceCaps(screen.get(), HORZSIZE)) /
                              ::GetDeviceCaps(screen.get(), HORZRES);
    const double dpi = ::GetDeviceCaps(screen.get(), LOGPIXELSX);
    // The plot's dots per screen pixel at true size.
    const double u = kResolution * 0.0254 / dpi;
    const double trueWidth = kWidth * mmPerPixel * 100 / (ViewScale() * u);
    const double trueHeight = (kHeight - kStatusBar) * mmPerPixel * 100 / (ViewScale() * u);
    EXPECT_EQ(header.rclFrame.left, 0);
    EXPECT_EQ(header.rclFrame.top, 0);
    EXPECT_NEAR(header.rclFrame.right, trueWidth, trueWidth * 0.005 + 1);
    EXPECT_NEAR(header.rclFrame.bottom, trueHeight, trueHeight * 0.005 + 1);
    // A vector picture, not one picture of pixels: more than a handful of records.
    EXPECT_GT(header.nRecords, 8u);
  }
}

TEST_F(ControlCopyTest, MetafilePlaysBackAsTheWindowShowsThePlot) {
  ASSERT_EQ(host->ctl->Copy(), S_OK);
  const auto shot = host->Capture();
  const Box shown =
      RedIn(*shot, HostedControl::kLeft, HostedControl::kTop, kWidth, kHeight - kStatusBar);

  ASSERT_TRUE(::OpenClipboard(nullptr));
  const HENHMETAFILE picture = static_cast<HENHMETAFILE>(::GetClipboardData(CF_ENHMETAFILE));
  MemoryDc played(kWidth, kHeight - kStatusBar);
  const RECT area{0, 0, kWidth, kHeight - kStatusBar};
  const bool ok = picture != nullptr && ::PlayEnhMetaFile(played.dc(), picture, &area);
  ::CloseClipboard();
  ASSERT_TRUE(ok);
  // The frame maps onto the drawing area: the same picture, up to line rasterisation.
  ExpectNear(RedIn(played, 0, 0, kWidth, kHeight - kStatusBar), shown, 3);
}

TEST_F(ControlCopyTest, BitmapIsTheDrawingAreaAsShown) {
  ASSERT_EQ(host->ctl->Copy(), S_OK);
  const auto shot = host->Capture();
  ASSERT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP));
  ASSERT_TRUE(::OpenClipboard(nullptr));
  const HBITMAP bitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
  BITMAP info{};
  const bool haveInfo = bitmap != nullptr && ::GetObject(bitmap, sizeof info, &info) != 0;
  MemoryDc copy(kWidth, kHeight);
  if (haveInfo) {
    MemoryDc source(copy.dc(), bitmap);
    ::BitBlt(copy.dc(), 0, 0, info.bmWidth, info.bmHeight, source.dc(), 0, 0, SRCCOPY);
  }
  ::CloseClipboard();
  ASSERT_TRUE(haveInfo);
  // The even drawing area without the status bar.
  EXPECT_EQ(info.bmWidth, kWidth);
  EXPECT_EQ(info.bmHeight, (kHeight & ~1) - kStatusBar);
  int differing = 0;
  for (int y = 0; y < info.bmHeight; ++y) {
    for (int x = 0; x < info.bmWidth; ++x) {
      if (copy.Pixel(x, y) != shot->Pixel(HostedControl::kLeft + x, HostedControl::kTop + y)) {
        ++differing;
      }
    }
  }
  EXPECT_EQ(differing, 0);
  EXPECT_FALSE(RedIn(copy, 0, 0, info.bmWidth, info.bmHeight).empty());
}

// What a word processor does to keep or print an embedded control: IViewObject::Draw onto an
// enhanced metafile DC. The metafile holds the plot's own drawing, not a picture of pixels.
TEST_F(ControlCopyTest, ViewObjectDrawsThePlotItselfIntoAMetafile) {
  ComPtr<IViewObject> view;
  ASSERT_EQ(host->ctl.As(&view), S_OK);
  WindowDc screen(nullptr);
  const int mmX = ::GetDeviceCaps(screen.get(), HORZSIZE),
            pixelsX = ::GetDeviceCaps(screen.get(), HORZRES);
  const int mmY = ::GetDeviceCaps(screen.get(), VERTSIZE),
            pixelsY = ::GetDeviceCaps(screen.get(), VERTRES);
  const RECT frame{0, 0, kWidth * mmX * 100 / pixelsX, kHeight * mmY * 100 / pixelsY};
  HDC dc = ::CreateEnhMetaFileA(screen.get(), nullptr, &frame, nullptr);
  ASSERT_NE(dc, nullptr);
  const RECTL bounds{0, 0, kWidth, kHeight};
  const HRESULT drawn =
      view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0);
  UniqueEnhMetaFile picture(::CloseEnhMetaFile(dc));
  ASSERT_EQ(drawn, S_OK);
  ASSERT_TRUE(picture);

  RecordCounts counts;
  ::EnumEnhMetaFile(nullptr, picture.get(), CountRecord, &counts, nullptr);
  EXPECT_EQ(counts.bitmaps, 0);
  EXPECT_GE(counts.figures, 1);

  // Played back at the window's size it shows what the window shows.
  const auto shot = host->Capture();
  MemoryDc played(kWidth, kHeight);
  const RECT area{0, 0, kWidth, kHeight};
  ASSERT_TRUE(::PlayEnhMetaFile(played.dc(), picture.get(), &area));
  ::GdiFlush();
  ExpectNear(RedIn(played, 0, 0, kWidth, kHeight - kStatusBar),
             RedIn(*shot, HostedControl::kLeft, HostedControl::kTop, kWidth, kHeight - kStatusBar),
             3);
}

struct OldRecordCounts {
  int bitmaps = 0, figures = 0, viewportChanges = 0;
};

int CALLBACK CountOldRecord(HDC, HANDLETABLE*, METARECORD* record, int, LPARAM data) {
  auto* c = reinterpret_cast<OldRecordCounts*>(data);
  switch (record->rdFunction) {
    case META_BITBLT:
    case META_STRETCHBLT:
    case META_DIBBITBLT:
    case META_DIBSTRETCHBLT:
    case META_STRETCHDIB:
    case META_SETDIBTODEV:
      ++c->bitmaps;
      break;
    case META_POLYLINE:
    case META_LINETO:
      ++c->figures;
      break;
    case META_SETVIEWPORTEXT:
    case META_SETVIEWPORTORG:
    case META_SETMAPMODE:
      ++c->viewportChanges;
      break;
    default:
      break;
  }
  return 1;
}

// The same for the old Windows metafile, which holds 16-bit coordinates and no mapping of the
// recorder's: it plays back wherever the player's mapping puts it.
TEST_F(ControlCopyTest, ViewObjectDrawsThePlotItselfIntoAnOldFormatMetafile) {
  ComPtr<IViewObject> view;
  ASSERT_EQ(host->ctl.As(&view), S_OK);
  HDC dc = ::CreateMetaFileA(nullptr);
  ASSERT_NE(dc, nullptr);
  const RECTL bounds{0, 0, kWidth, kHeight};
  const HRESULT drawn =
      view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0);
  UniqueMetaFile picture(::CloseMetaFile(dc));
  ASSERT_EQ(drawn, S_OK);
  ASSERT_TRUE(picture);

  OldRecordCounts counts;
  ::EnumMetaFile(nullptr, picture.get(), CountOldRecord, reinterpret_cast<LPARAM>(&counts));
  EXPECT_EQ(counts.bitmaps, 0);
  EXPECT_GE(counts.figures, 1);
  EXPECT_EQ(counts.viewportChanges, 0);

  // Played at twice the size through the player's own mapping, it shows the window's picture
  // twice as large.
  const auto shot = host->Capture();
  const Box shown =
      RedIn(*shot, HostedControl::kLeft, HostedControl::kTop, kWidth, kHeight - kStatusBar);
  MemoryDc played(2 * kWidth, 2 * kHeight);
  ::SetMapMode(played.dc(), MM_ANISOTROPIC);
  ::SetWindowExtEx(played.dc(), kWidth, kHeight, nullptr);
  ::SetViewportExtEx(played.dc(), 2 * kWidth, 2 * kHeight, nullptr);
  ASSERT_TRUE(::PlayMetaFile(played.dc(), picture.get()));
  ::GdiFlush();
  const Box big = RedIn(played, 0, 0, 2 * kWidth, 2 * (kHeight - kStatusBar));
  ExpectNear(Box{big.left / 2, big.top / 2, big.right / 2, big.bottom / 2}, shown, 3);
}

TEST_F(ControlCopyTest, WithoutAPlotTheClipboardIsLeftAlone) {
  HostedControl empty(200, 150);
  ASSERT_TRUE(empty.ok());
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  HGLOBAL text = ::GlobalAlloc(GMEM_MOVEABLE, 6);
  std::memcpy(::GlobalLock(text), "kept", 5);
  ::GlobalUnlock(text);
  ::SetClipboardData(CF_TEXT, text);
  ::CloseClipboard();

  EXPECT_EQ(empty.ctl->Copy(), E_FAIL);
  EXPECT_TRUE(::IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_FALSE(::IsClipboardFormatAvailable(CF_ENHMETAFILE));
}

}  // namespace
}  // namespace quillon::control_test
