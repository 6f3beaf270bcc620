// kpzsnap run as a user runs it: a separate process beside this test program, its picture
// read back through the platform's imaging component, its exit status and its two streams.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "tests/support/kpz_builder.h"
// <windows.h> after the builder, which uses GDI's names.
#include "tests/win32/support/png_picture.h"
// The control's registration, to take its class away and look at it again.
#include "tests/win32/control_host.h"
#include "tests/win32/temp_folder.h"

namespace quillon {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF, kGreen = 0x00FF00, kRed = 0xFF0000;

std::string BesideThisProgram(const std::string& name) {
  char path[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path, n);
  return dir.substr(0, dir.find_last_of("\\/") + 1) + name;
}

bool Exists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct SnapResult {
  DWORD status = 0xFFFFFFFF;
  std::string out, err;
};

class KpzsnapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ASSERT_FALSE(folder.path().empty());
    ASSERT_TRUE(Exists(tool)) << tool << " is built with this program";
  }
  void TearDown() override {
    for (const std::string& file : made) ::DeleteFileA(file.c_str());
    ::CoUninitialize();
  }
  // A file in the folder that the tool writes; removed at the end.
  std::string Made(const std::string& name) {
    made.push_back(folder.path() + "\\" + name);
    ::DeleteFileA(made.back().c_str());
    return made.back();
  }

  // Runs kpzsnap with `args` and waits for it (a minute at most).
  SnapResult Snap(const std::string& args) {
    SnapResult run;
    const std::string outName = Made("stdout.txt"), errName = Made("stderr.txt");
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out = ::CreateFileA(outName.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE err = ::CreateFileA(errName.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOA start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    start.hStdOutput = out;
    start.hStdError = err;
    std::string line = "\"" + tool + "\" " + args;
    PROCESS_INFORMATION process{};
    const BOOL started = out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE &&
                         ::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                          nullptr, &start, &process);
    if (out != INVALID_HANDLE_VALUE) ::CloseHandle(out);
    if (err != INVALID_HANDLE_VALUE) ::CloseHandle(err);
    EXPECT_TRUE(started) << line << ": error " << ::GetLastError();
    if (!started) return run;
    EXPECT_EQ(::WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0) << line;
    ::GetExitCodeProcess(process.hProcess, &run.status);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    run.out = ReadText(outName);
    run.err = ReadText(errName);
    return run;
  }

  test::TempFolder folder;
  std::vector<std::string> made;
  const std::string tool = BesideThisProgram("kpzsnap.exe");
};

// A page of 300 x 200 dots: a green square (100, 50)-(200, 150) and a red bar along the top.
std::string WritePlot(test::TempFolder& folder) {
  KpzBuilder b;
  b.PageSize(0.3, 0.2, 1000);
  b.BeginPage()
      .FillColour(1, KpzBuilder::Rgb(0, 255, 0))
      .PolygonSet(2, {{{100, 50}, {200, 50}, {200, 150}, {100, 150}, {100, 50}}})
      .LineColour(KpzBuilder::Rgb(255, 0, 0))
      .LineWidth(10)
      .LineCap(0)
      .Polyline({{20, 20}, {280, 20}})
      .EndPage();
  return folder.Write("plot.kpz", b.Build());
}

TEST_F(KpzsnapTest, FitsAPlotIntoAPictureOfTheAskedSizeAtEitherRotation) {
  const std::string plot = WritePlot(folder);
  ASSERT_FALSE(plot.empty());
  const std::string png = Made("fit.png");
  test::Picture picture;

  // Unturned: 320 / 300 against 240 / 200 gives 16/15 pixels per dot, the page 320 x 213.
  SnapResult run = Snap("--size 320x240 --rot 0 \"" + plot + "\" \"" + png + "\"");
  EXPECT_EQ(run.status, 0u) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
  ASSERT_TRUE(test::ReadPng(png, picture));
  EXPECT_EQ(picture.width, 320u);
  EXPECT_EQ(picture.height, 240u);
  EXPECT_EQ(picture.At(160, 107), kGreen);
  EXPECT_EQ(picture.At(110, 56), kGreen);
  EXPECT_EQ(picture.At(210, 158), kGreen);
  EXPECT_EQ(picture.At(100, 107), kWhite);
  EXPECT_EQ(picture.At(160, 21), kRed);
  EXPECT_EQ(picture.At(160, 230), kWhite);  // below the page

  // The default rotation is 270: the page stands 200 wide and 300 high, fitted at 0.8; the
  // square's dots x 100..200, y 50..150 come to x 50..150, y 100..200, and the bar to x 20.
  ASSERT_TRUE(::DeleteFileA(png.c_str()));
  run = Snap("--size 320x240 \"" + plot + "\" \"" + png + "\"");
  EXPECT_EQ(run.status, 0u) << run.err;
  ASSERT_TRUE(test::ReadPng(png, picture));
  EXPECT_EQ(picture.At(80, 120), kGreen);
  EXPECT_EQ(picture.At(44, 84), kGreen);
  EXPECT_EQ(picture.At(116, 156), kGreen);
  EXPECT_EQ(picture.At(80, 75), kWhite);
  EXPECT_EQ(picture.At(16, 120), kRed);
  EXPECT_EQ(picture.At(200, 120), kWhite);  // right of the page
}

TEST_F(KpzsnapTest, ScaleAndOriginPlaceThePageExactly) {
  const std::string plot = WritePlot(folder);
  const std::string png = Made("zoom.png");
  // Two pixels per dot with the page corner at (-100, -50): the square spans 100..300 by
  // 50..250, cut by the picture's bottom at 240.
  const SnapResult run =
      Snap("--size 320x240 --rot 0 --scale 2 --org -100,-50 \"" + plot + "\" \"" + png + "\"");
  EXPECT_EQ(run.status, 0u) << run.err;
  test::Picture picture;
  ASSERT_TRUE(test::ReadPng(png, picture));
  int firstGreen = -1, lastGreen = -1;
  for (int x = 0; x < 320; ++x)
    if (picture.At(x, 150) == kGreen) {
      if (firstGreen < 0) firstGreen = x;
      lastGreen = x;
    }
  EXPECT_NEAR(firstGreen, 100, 1);
  EXPECT_NEAR(lastGreen, 299, 1);
  EXPECT_EQ(picture.At(200, 49), kWhite);
  EXPECT_EQ(picture.At(200, 52), kGreen);
  EXPECT_EQ(picture.At(200, 239), kGreen);
  EXPECT_EQ(picture.At(5, 5), kWhite);  // the red bar ends above the picture's row 0
}

TEST_F(KpzsnapTest, PlotThatCannotBeLoadedExitsOneAndSaysWhyOnStderr) {
  const std::string broken = folder.Write("broken.kpz", std::vector<std::uint8_t>(64, 0x5A));
  ASSERT_FALSE(broken.empty());
  const std::string png = Made("broken.png");
  SnapResult run = Snap("\"" + broken + "\" \"" + png + "\"");
  EXPECT_EQ(run.status, 1u);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("broken.kpz"), std::string::npos) << run.err;
  EXPECT_FALSE(Exists(png));

  const std::string missing = folder.path() + "\\missing.kpz";
  run = Snap("\"" + missing + "\" \"" + png + "\"");
  EXPECT_EQ(run.status, 1u);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("missing.kpz"), std::string::npos) << run.err;
  // The control's own message about the file is answered on stderr, not left in a box.
  EXPECT_NE(run.err.find("control message: "), std::string::npos) << run.err;
  EXPECT_FALSE(Exists(png));

  // A good plot after a bad one is still drawn; the status tells of the bad one.
  const std::string plot = WritePlot(folder);
  const std::string good = Made("good.png");
  run = Snap("\"" + broken + "\" \"" + png + "\" \"" + plot + "\" \"" + good + "\"");
  EXPECT_EQ(run.status, 1u);
  EXPECT_TRUE(Exists(good));
  EXPECT_FALSE(Exists(png));
}

// The picture is the control's own paint: asked for, its status bar strip takes the bottom 17
// rows, grey from edge to edge with the tool's name at the left.
TEST_F(KpzsnapTest, StatusBarIsTheControlsStripUnderTheDrawing) {
  ASSERT_EQ(control_test::RegisterControl(), S_OK);  // fresh user settings: the strip shown
  const std::string plot = WritePlot(folder);
  const std::string png = Made("strip.png");
  const SnapResult run =
      Snap("--size 320x240 --rot 0 --status-bar \"" + plot + "\" \"" + png + "\"");
  EXPECT_EQ(run.status, 0u) << run.err;
  EXPECT_EQ(run.err, "");
  test::Picture picture;
  ASSERT_TRUE(test::ReadPng(png, picture));
  EXPECT_EQ(picture.width, 320u);
  EXPECT_EQ(picture.height, 240u);
  // 223 rows are left to the drawing: the width still decides the fit, as without the strip.
  EXPECT_EQ(picture.At(160, 107), kGreen);
  EXPECT_EQ(picture.At(160, 21), kRed);
  EXPECT_EQ(picture.At(160, 220), kWhite);
  int dark = 0;
  for (int x = 0; x < 320; ++x) {
    ASSERT_NE(picture.At(x, 238), kWhite) << x;
    for (int y = 224; y < 240; ++y) dark += picture.At(x, y) == 0 ? 1 : 0;
  }
  EXPECT_GT(dark, 10);  // the strip's text
}

// Without its class registered, the tool registers the library beside it and then draws.
TEST_F(KpzsnapTest, RegistersTheControlBesideItWhenItsClassIsMissing) {
  ASSERT_EQ(control_test::CallLibraryEntry("DllUnregisterServer"), S_OK);
  const std::string cls = "CLSID\\" + control_test::GuidText(CLSID_QuillonCtl);
  ASSERT_FALSE(control_test::KeyExists(HKEY_CLASSES_ROOT, cls));
  const std::string plot = WritePlot(folder);
  const std::string png = Made("registered.png");
  const SnapResult run = Snap("--size 320x240 --rot 0 \"" + plot + "\" \"" + png + "\"");
  EXPECT_EQ(run.status, 0u) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(control_test::ReadRegText(HKEY_CLASSES_ROOT, cls + "\\InprocServer32", nullptr).text,
            control_test::ControlLibraryPath());
  test::Picture picture;
  ASSERT_TRUE(test::ReadPng(png, picture));
  EXPECT_EQ(picture.At(160, 107), kGreen);
}

TEST_F(KpzsnapTest, CommandLineMistakesExitTwo) {
  for (const char* args : {"", "--rot 45 a.kpz b.png", "--org 1,2 a.kpz b.png", "only.kpz",
                           "--size 0x10 a.kpz b.png", "--frobnicate a.kpz b.png"}) {
    SCOPED_TRACE(args);
    const SnapResult run = Snap(args);
    EXPECT_EQ(run.status, 2u);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err, "");
  }
}

// The sample site plan made by the build (kpzgen), as a person would first look at it.
TEST_F(KpzsnapTest, SitePlanSampleMakesAPictureWithTheDrawingOnIt) {
  const std::string sample = QUILLON_SOURCE_DIR "/samples/site-plan.kpz";
  if (!Exists(sample)) GTEST_SKIP() << sample << " is made by the native build (samples)";
  const std::string png = Made("site.png");
  const SnapResult run = Snap("\"" + sample + "\" \"" + png + "\"");
  EXPECT_EQ(run.status, 0u) << run.err;
  EXPECT_EQ(run.err, "");
  test::Picture picture;
  ASSERT_TRUE(test::ReadPng(png, picture));
  EXPECT_EQ(picture.width, 800u);
  EXPECT_EQ(picture.height, 600u);
  // Lines all over the turned sheet, in several colours, on white.
  std::set<std::uint32_t> colours;
  int drawn = 0;
  int drawnPerQuarter[4] = {};
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      const std::uint32_t p = picture.At(x, y);
      if (p == kWhite) continue;
      ++drawn;
      colours.insert(p);
      ++drawnPerQuarter[(y < 300 ? 0 : 2) + (x < 210 ? 0 : 1)];
    }
  EXPECT_GT(drawn, 800 * 600 / 50);
  EXPECT_LT(drawn, 800 * 600 / 2);
  EXPECT_GE(colours.size(), 5u);
  for (int q = 0; q < 4; ++q) EXPECT_GT(drawnPerQuarter[q], 500) << "quarter " << q;
  // At the control's initial rotation the A1 sheet stands upright: nothing right of it.
  for (int y = 0; y < 600; y += 7)
    for (int x = 440; x < 800; x += 7) ASSERT_EQ(picture.At(x, y), kWhite) << x << "," << y;
}

}  // namespace
}  // namespace quillon
