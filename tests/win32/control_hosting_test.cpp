// The control hosted by a real ActiveX container (Wine's atl.dll, AtlAxWin): in-place
// activation, the load at the first paint, and navigation through the dispatch interface as
// a person sees it on the screen.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "interact/view_state.h"
#include "tests/support/kpz_builder.h"
#include "tests/win32/control_host.h"
#include "tests/win32/temp_folder.h"

namespace quillon::control_test {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 160, 0);
// The strip: the stock light grey brush, and the text's background colour under the text.
constexpr COLORREF kStripGrey = RGB(192, 192, 192);
constexpr COLORREF kTextGrey = RGB(0xBD, 0xBD, 0xBD);

bool IsStrip(COLORREF c) { return c == kStripGrey || c == kTextGrey; }

// The page: 400 x 300 dots. A red bar near the document's origin corner, a blue one near the
// far corner and a green one across the middle, each 12 dots wide.
constexpr int kPageW = 400;
constexpr int kPageH = 300;
const KpzPoint kRedMark{100, 40};
const KpzPoint kBlueMark{300, 260};
const KpzPoint kGreenMark{200, 150};
const KpzPoint kPaper{100, 150};  // nothing drawn near it

// The control's own area: 400 x 317. The drawing area is 400 x 299: the height rounded down
// to even, less the 17 rows of the status bar.
constexpr int kWidth = 400;
constexpr int kHeight = 317;
constexpr int kStatusBar = 17;
// The fit at 270 degrees: the page's 400 dots of X along the 299 rows.
constexpr double kFitScale = 299.0 / 400;

std::vector<std::uint8_t> MarkedPlot() {
  KpzBuilder b;
  b.PageSize(0.4, 0.3, 1000);
  b.BeginPage().LineWidth(12).LineCap(0);
  b.LineColour(KpzBuilder::Rgb(255, 0, 0)).Polyline({{20, 40}, {180, 40}});
  b.LineColour(KpzBuilder::Rgb(0, 0, 255)).Polyline({{220, 260}, {380, 260}});
  b.LineColour(KpzBuilder::Rgb(0, 160, 0)).Polyline({{200, 100}, {200, 200}});
  b.EndPage();
  return b.Build();
}

struct ViewRead {
  ViewState view;
  ViewFrame frame;
};

class ControlHostingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegisterControl(), S_OK);
    plot = folder.Write("marked plot.kpz", MarkedPlot());
    ASSERT_FALSE(plot.empty());
    host = std::make_unique<HostedControl>(kWidth, kHeight);
    ASSERT_TRUE(host->ok()) << "AtlAxWin did not create the control";
  }

  void Open() {
    UniqueBstr name(std::wstring(plot.begin(), plot.end()));
    ASSERT_EQ(host->ctl->put_DataFileName(name.get()), S_OK);
    host->Pump();
  }

  ViewRead Read() {
    ViewRead r;
    host->ctl->get_ViewScale(&r.view.ViewScale);
    host->ctl->get_xOrg(&r.view.xOrg);
    host->ctl->get_yOrg(&r.view.yOrg);
    LONG rot = 0;
    host->ctl->get_Rot(&rot);
    r.view.Rot = static_cast<int>(rot);
    r.frame.KpzXSize = kPageW;
    r.frame.KpzYSize = kPageH;
    return r;
  }

  // Pixels of `colour` in the 3 x 3 box around where the document point shows.
  int Near(const MemoryDc& shot, const ViewRead& r, KpzPoint point, COLORREF colour) {
    const ViewPoint p = KpzToView(r.view, r.frame, point);
    int n = 0;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        n += shot.PixelColour(HostedControl::kLeft + p.x + dx, HostedControl::kTop + p.y + dy) ==
             colour;
    return n;
  }

  // Every mark that the view puts inside the drawing area shows there, in its colour, and
  // paper shows between them; at least one mark must be on screen to look at.
  void ExpectMarksWhereTheViewPutsThem(const std::string& when) {
    SCOPED_TRACE(when);
    const auto shot = host->Capture();
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    name += "-" + when;
    std::replace(name.begin(), name.end(), ' ', '_');
    HostedControl::Keep(*shot, name);
    const ViewRead r = Read();
    auto inside = [&](KpzPoint point) {
      const ViewPoint p = KpzToView(r.view, r.frame, point);
      return p.x >= 2 && p.y >= 2 && p.x <= areaWidth - 3 && p.y <= areaHeight - 3;
    };
    int seen = 0;
    for (const auto& [mark, colour] :
         {std::pair{kRedMark, kRed}, std::pair{kBlueMark, kBlue}, std::pair{kGreenMark, kGreen}}) {
      if (!inside(mark)) continue;
      ++seen;
      EXPECT_GE(Near(*shot, r, mark, colour), 7) << "mark " << mark.x << "," << mark.y;
    }
    EXPECT_GT(seen, 0) << "no mark on screen";
    if (inside(kPaper)) {
      EXPECT_EQ(Near(*shot, r, kPaper, kWhite), 9);
    }
  }

  // The drawing area of the control now: its size less the status bar, height taken even.
  int areaWidth = kWidth;
  int areaHeight = (kHeight & ~1) - kStatusBar;

  test::TempFolder folder;
  std::string plot;
  std::unique_ptr<HostedControl> host;
};

TEST_F(ControlHostingTest, ActivatesInPlaceAndOpensThePlotAtTheFirstPaint) {
  HWND window = host->ControlWindow();
  ASSERT_NE(window, nullptr) << "not in-place active";
  EXPECT_EQ(::GetParent(window), host->host());
  const LONG style = ::GetWindowLongA(window, GWL_STYLE);
  EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
  RECT client{};
  ::GetClientRect(window, &client);
  EXPECT_EQ(client.right, kWidth);
  EXPECT_EQ(client.bottom, kHeight);

  // Before a name is put nothing is loaded; putting it only stores it.
  EXPECT_EQ(host->ctl->Fit(), E_FAIL);
  UniqueBstr name(std::wstring(plot.begin(), plot.end()));
  ASSERT_EQ(host->ctl->put_DataFileName(name.get()), S_OK);
  EXPECT_EQ(host->ctl->Fit(), E_FAIL) << "the put itself must not open the file";
  host->Pump();
  EXPECT_TRUE(host->messages.empty()) << host->messages.front();

  // Loaded: the fit at the initial quarter turn.
  const ViewRead r = Read();
  EXPECT_EQ(r.view.Rot, 270);
  EXPECT_DOUBLE_EQ(r.view.ViewScale, kFitScale);
  EXPECT_EQ(r.view.xOrg, 0);
  EXPECT_EQ(r.view.yOrg, 0);
  double size = 0;
  EXPECT_EQ(host->ctl->get_KpzXSize(&size), S_OK);
  // Page size in metres (16.16 fixed) times dots per metre, not truncated.
  EXPECT_NEAR(size, 400, 0.01);
  EXPECT_EQ(host->ctl->get_KpzYSize(&size), S_OK);
  EXPECT_NEAR(size, 300, 0.01);
  EXPECT_EQ(host->ctl->get_KpzResolution(&size), S_OK);
  EXPECT_DOUBLE_EQ(size, 1000);
  // The page setters are ignored.
  double xSize = 0;
  EXPECT_EQ(host->ctl->get_KpzXSize(&xSize), S_OK);
  EXPECT_EQ(host->ctl->put_KpzXSize(5), S_OK);
  EXPECT_EQ(host->ctl->get_KpzXSize(&size), S_OK);
  EXPECT_EQ(size, xSize);

  ExpectMarksWhereTheViewPutsThem("first paint");
  const auto shot = host->Capture();
  // At 270 degrees the document's X axis runs upward: the red bar (small X) lies low on the
  // left, the blue one (large X, large Y) high on the right.
  const ViewPoint red = KpzToView(r.view, r.frame, kRedMark);
  const ViewPoint blue = KpzToView(r.view, r.frame, kBlueMark);
  EXPECT_GT(red.y, blue.y);
  EXPECT_LT(red.x, blue.x);
  // The turned page is about 224 pixels wide: white beyond it, status strip below the area.
  EXPECT_EQ(shot->PixelColour(HostedControl::kLeft + 300, HostedControl::kTop + 100), kWhite);
  EXPECT_TRUE(IsStrip(shot->PixelColour(HostedControl::kLeft + kWidth - 4,
                                        HostedControl::kTop + kHeight - kStatusBar / 2)));
  int dark = 0;
  for (int x = 0; x < 60; ++x)
    for (int y = kHeight - kStatusBar; y < kHeight; ++y)
      dark += GetRValue(shot->PixelColour(HostedControl::kLeft + x, HostedControl::kTop + y)) < 80;
  EXPECT_GT(dark, 10) << "no status text";
}

TEST_F(ControlHostingTest, ScaleStepsByTheScaleFactorWhateverItsArgument) {
  Open();
  EXPECT_DOUBLE_EQ(Read().view.ViewScale, kFitScale);
  ASSERT_EQ(host->ctl->Scale(5.0), S_OK);
  // Until the next paint the scale reads 0: the paint derives it.
  EXPECT_EQ(Read().view.ViewScale, 0);
  host->Pump();
  EXPECT_DOUBLE_EQ(Read().view.ViewScale, 2 * kFitScale);
  // The zoom kept the window centre: origin = centre - 2 * (centre - origin).
  EXPECT_DOUBLE_EQ(Read().view.xOrg, -200);
  EXPECT_DOUBLE_EQ(Read().view.yOrg, -149.5);
  ExpectMarksWhereTheViewPutsThem("after Scale(5)");

  ASSERT_EQ(host->ctl->ScaleDown(0.1), S_OK);
  host->Pump();
  EXPECT_DOUBLE_EQ(Read().view.ViewScale, kFitScale);
  EXPECT_DOUBLE_EQ(Read().view.xOrg, 0);
  ASSERT_EQ(host->ctl->Scale(0.1), S_OK);
  host->Pump();
  EXPECT_DOUBLE_EQ(Read().view.ViewScale, 2 * kFitScale);

  ASSERT_EQ(host->ctl->Fit(), S_OK);
  host->Pump();
  EXPECT_DOUBLE_EQ(Read().view.ViewScale, kFitScale);
  EXPECT_EQ(Read().view.xOrg, 0);
  ExpectMarksWhereTheViewPutsThem("after Fit");
}

TEST_F(ControlHostingTest, PansMoveThePictureByHalfAWindow) {
  Open();
  const ViewRead r0 = Read();
  ASSERT_EQ(host->ctl->PanLeft(), S_OK);
  EXPECT_DOUBLE_EQ(Read().view.xOrg, 200);
  ExpectMarksWhereTheViewPutsThem("after PanLeft");
  // The picture moved right: where the red bar was is now paper (or beyond the page).
  const auto after = host->Capture();
  EXPECT_LT(Near(*after, r0, kRedMark, kRed), 3);
  // A second PanLeft is refused: the origin would reach the right edge.
  ASSERT_EQ(host->ctl->PanLeft(), S_OK);
  EXPECT_DOUBLE_EQ(Read().view.xOrg, 200);

  ASSERT_EQ(host->ctl->PanRight(), S_OK);
  EXPECT_DOUBLE_EQ(Read().view.xOrg, 0);
  ASSERT_EQ(host->ctl->PanUp(), S_OK);
  EXPECT_DOUBLE_EQ(Read().view.yOrg, 149.5);
  ExpectMarksWhereTheViewPutsThem("after PanUp");
  ASSERT_EQ(host->ctl->PanDown(), S_OK);
  EXPECT_DOUBLE_EQ(Read().view.yOrg, 0);
  ExpectMarksWhereTheViewPutsThem("back");
}

TEST_F(ControlHostingTest, RotationsTurnThePictureAboutTheWindowCentre) {
  Open();
  ASSERT_EQ(host->ctl->RotateRight(), S_OK);
  host->Pump();
  EXPECT_EQ(Read().view.Rot, 0);
  ExpectMarksWhereTheViewPutsThem("Rot 0");
  {
    // At 0 degrees X runs to the right and Y down: red left of and above blue.
    const ViewRead r = Read();
    const ViewPoint red = KpzToView(r.view, r.frame, kRedMark);
    const ViewPoint blue = KpzToView(r.view, r.frame, kBlueMark);
    EXPECT_LT(red.x, blue.x);
    EXPECT_LT(red.y, blue.y);
  }
  ASSERT_EQ(host->ctl->RotateRight(), S_OK);
  host->Pump();
  EXPECT_EQ(Read().view.Rot, 90);
  ExpectMarksWhereTheViewPutsThem("Rot 90");
  ASSERT_EQ(host->ctl->RotateLeft(), S_OK);
  ASSERT_EQ(host->ctl->RotateLeft(), S_OK);
  host->Pump();
  EXPECT_EQ(Read().view.Rot, 270);
  ExpectMarksWhereTheViewPutsThem("Rot 270 again");
  // Back where it started, within a pixel a turn.
  EXPECT_NEAR(Read().view.xOrg, 0, 4);
  EXPECT_NEAR(Read().view.yOrg, 0, 4);
}

TEST_F(ControlHostingTest, PutViewThenReDrawShowsExactlyThatView) {
  Open();
  ASSERT_EQ(host->ctl->put_ViewScale(0.5), S_OK);
  ASSERT_EQ(host->ctl->put_xOrg(30), S_OK);
  ASSERT_EQ(host->ctl->put_yOrg(20), S_OK);
  ASSERT_EQ(host->ctl->put_Rot(0), S_OK);
  ASSERT_EQ(host->ctl->ReDraw(), S_OK);
  host->Pump();
  const ViewRead r = Read();
  EXPECT_DOUBLE_EQ(r.view.ViewScale, 0.5);
  EXPECT_DOUBLE_EQ(r.view.xOrg, 30);
  EXPECT_DOUBLE_EQ(r.view.yOrg, 20);
  EXPECT_EQ(r.view.Rot, 0);
  ExpectMarksWhereTheViewPutsThem("put view");
  // At 0.5 the page is 200 x 150 pixels from (30, 20): its far corner region is paper and
  // beyond it the window is white.
  const auto shot = host->Capture();
  EXPECT_EQ(shot->PixelColour(HostedControl::kLeft + 30 + 150, HostedControl::kTop + 20 + 130),
            kBlue);
  EXPECT_EQ(shot->PixelColour(HostedControl::kLeft + 300, HostedControl::kTop + 250), kWhite);
}

TEST_F(ControlHostingTest, ViewObjectDrawsTheCurrentViewOntoAnyDc) {
  Open();
  ASSERT_EQ(host->ctl->put_Rot(0), S_OK);
  ASSERT_EQ(host->ctl->put_ViewScale(0.5), S_OK);
  ASSERT_EQ(host->ctl->ReDraw(), S_OK);
  host->Pump();
  ComPtr<IViewObject2> view;
  ASSERT_EQ(host->ctl.As(&view), S_OK);
  // A container drawing the control into its own bitmap, the size of the control, placed at
  // an offset: the picture is the window's, moved by that offset.
  MemoryDc surface(kWidth + 40, kHeight + 30);
  const RECTL bounds{40, 30, 40 + kWidth, 30 + kHeight};
  ASSERT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, surface.dc(), &bounds,
                       nullptr, nullptr, 0),
            S_OK);
  ::GdiFlush();
  const ViewRead r = Read();
  EXPECT_DOUBLE_EQ(r.view.ViewScale, 0.5);
  for (const auto& [mark, colour] :
       {std::pair{kRedMark, kRed}, std::pair{kBlueMark, kBlue}, std::pair{kGreenMark, kGreen}}) {
    const ViewPoint p = KpzToView(r.view, r.frame, mark);
    EXPECT_EQ(surface.PixelColour(40 + p.x, 30 + p.y), colour) << mark.x << "," << mark.y;
  }
  EXPECT_TRUE(IsStrip(surface.PixelColour(40 + kWidth - 4, 30 + kHeight - 8)));
  EXPECT_EQ(view->Draw(DVASPECT_ICON, -1, nullptr, nullptr, nullptr, surface.dc(), &bounds, nullptr,
                       nullptr, 0),
            DV_E_DVASPECT);

  // The same view as an enhanced metafile, replayed onto a bitmap.
  ComPtr<IDataObject> data;
  ASSERT_EQ(host->ctl.As(&data), S_OK);
  FORMATETC format{CF_ENHMETAFILE, nullptr, DVASPECT_CONTENT, -1, TYMED_ENHMF};
  STGMEDIUM medium{};
  ASSERT_EQ(data->GetData(&format, &medium), S_OK);
  ASSERT_EQ(medium.tymed, static_cast<DWORD>(TYMED_ENHMF));
  MemoryDc replay(kWidth, kHeight);
  const RECT all{0, 0, kWidth, kHeight};
  EXPECT_TRUE(::PlayEnhMetaFile(replay.dc(), medium.hEnhMetaFile, &all));
  ::GdiFlush();
  ::ReleaseStgMedium(&medium);
  const ViewPoint green = KpzToView(r.view, r.frame, kGreenMark);
  EXPECT_EQ(replay.PixelColour(green.x, green.y), kGreen);
  // Drawing elsewhere left the window's view alone.
  EXPECT_DOUBLE_EQ(Read().view.ViewScale, 0.5);
  ExpectMarksWhereTheViewPutsThem("after drawing elsewhere");
}

TEST_F(ControlHostingTest, ResizingKeepsTheView) {
  Open();
  ASSERT_EQ(host->ctl->PanLeft(), S_OK);
  host->Pump();
  const ViewRead before = Read();
  ExpectMarksWhereTheViewPutsThem("before resize");

  host->Resize(300, 250);
  areaWidth = 300;
  areaHeight = 250 - kStatusBar;
  RECT client{};
  ::GetClientRect(host->ControlWindow(), &client);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 250);
  ViewRead after = Read();
  EXPECT_DOUBLE_EQ(after.view.ViewScale, before.view.ViewScale);
  EXPECT_DOUBLE_EQ(after.view.xOrg, before.view.xOrg);
  EXPECT_DOUBLE_EQ(after.view.yOrg, before.view.yOrg);
  EXPECT_EQ(after.view.Rot, before.view.Rot);
  ExpectMarksWhereTheViewPutsThem("smaller");
  {
    // The strip moved to the new bottom.
    const auto shot = host->Capture();
    EXPECT_TRUE(
        IsStrip(shot->PixelColour(HostedControl::kLeft + 296, HostedControl::kTop + 250 - 8)));
    EXPECT_FALSE(
        IsStrip(shot->PixelColour(HostedControl::kLeft + 296, HostedControl::kTop + 250 - 20)));
  }

  host->Resize(kWidth + 60, kHeight + 41);
  areaWidth = kWidth + 60;
  areaHeight = kHeight + 41 - kStatusBar;
  after = Read();
  EXPECT_DOUBLE_EQ(after.view.ViewScale, before.view.ViewScale);
  EXPECT_DOUBLE_EQ(after.view.xOrg, before.view.xOrg);
  EXPECT_DOUBLE_EQ(after.view.yOrg, before.view.yOrg);
  ExpectMarksWhereTheViewPutsThem("grown");
  // Navigation works on the new size: a pan moves by half the new width.
  ASSERT_EQ(host->ctl->PanRight(), S_OK);
  EXPECT_DOUBLE_EQ(Read().view.xOrg, before.view.xOrg - (kWidth + 60) / 2.0);
}

}  // namespace
}  // namespace quillon::control_test
