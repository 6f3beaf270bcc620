// Whole conversions into files: PDF pages of the plot's true size read back by poppler,
// 1-bit scans kept 1-bit, SVG that parses and renders, every stored malformed plot handled,
// JPEG rasters kept as their streams where that is exact, and the program's exit statuses.

#include <gtest/gtest.h>

#include <cairo.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "document/native/native_document_platform.h"
#include "render/cairo/cairo_handles.h"
#include "tests/support/kpz_builder.h"
#include "tests/support/native/raster_oracle.h"
#include "tools/kpzconvert/plot_conversion.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

struct CommandResult {
  int status = -1;
  std::string output;
};

CommandResult RunCommand(const std::string& command) {
  CommandResult r;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return r;
  std::array<char, 4096> buffer{};
  while (std::fgets(buffer.data(), buffer.size(), pipe)) r.output += buffer.data();
  const int status = pclose(pipe);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

bool Have(const char* tool) { return RunCommand(std::string("command -v ") + tool).status == 0; }

class ConversionFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("kpzconvert-test-" + std::to_string(getpid()));
    fs::create_directories(dir);
  }
  // KPZCONVERT_TEST_KEEP=1 keeps the files for a look.
  void TearDown() override {
    if (!std::getenv("KPZCONVERT_TEST_KEEP")) fs::remove_all(dir);
  }

  std::string Write(const std::string& name, const KpzBuilder& plot) {
    const fs::path path = dir / name;
    const auto bytes = plot.Build();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }
  ConversionResult Convert(const std::string& file, const std::string& out,
                           std::vector<std::string> args = {}) {
    args.insert(args.begin(), {file, out});
    ConvertOptions options;
    EXPECT_EQ(ParseConvertOptions(args, options), "");
    NativeDocumentPlatform platform;
    platform.setMessageSink([](const std::string&) {});
    return ConvertPlot(platform, options.jobs.at(0), options);
  }

  fs::path dir;
};

// A 0.5 x 0.4 m sheet at 10000 dots per metre (254 dpi) with a black 100 mm square
// (1000 dots) at (500, 500).
KpzBuilder SquarePlot() {
  KpzBuilder b;
  b.PageSize(0.5, 0.4, 10000);
  b.BeginPage()
      .FillColour(0, 0)
      .PolygonSet(2, {{{500, 500}, {1500, 500}, {1500, 1500}, {500, 1500}}})
      .EndPage();
  return b;
}

// Black pixels of the longest run in the middle row of a PGM made by pdftoppm -gray.
int LongestBlackRun(const std::string& pgm) {
  std::ifstream in(pgm, std::ios::binary);
  std::string magic;
  int width = 0, height = 0, max = 0;
  in >> magic >> width >> height >> max;
  in.get();
  std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height);
  in.read(reinterpret_cast<char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
  int best = 0;
  for (int y = 0; y < height; ++y) {
    int run = 0;
    for (int x = 0; x < width; ++x) {
      run = pixels[static_cast<std::size_t>(y) * width + x] < 128 ? run + 1 : 0;
      best = std::max(best, run);
    }
  }
  return best;
}

TEST_F(ConversionFilesTest, PdfPageHasThePlotsTrueSizeAndTheSquareMeasures100mm) {
  if (!Have("pdfinfo") || !Have("pdftoppm")) GTEST_SKIP() << "poppler-utils is not installed";
  const std::string plot = Write("square.kpz", SquarePlot());
  const struct {
    int rotation;
    double width, height;  // points
  } cases[] = {{0, 1417.32, 1133.86}, {270, 1133.86, 1417.32}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rotation);
    const std::string pdf = (dir / "square.pdf").string();
    ASSERT_TRUE(Convert(plot, pdf, {"--rot", std::to_string(c.rotation)}).ok);
    const CommandResult info = RunCommand("pdfinfo '" + pdf + "'");
    double width = 0, height = 0;
    const auto at = info.output.find("Page size:");
    ASSERT_NE(at, std::string::npos) << info.output;
    ASSERT_EQ(std::sscanf(info.output.c_str() + at, "Page size: %lf x %lf", &width, &height), 2);
    // The file's sizes are 16.16 fixed-point metres.
    EXPECT_NEAR(width, c.width, 0.05);
    EXPECT_NEAR(height, c.height, 0.05);
    // At 254 dpi one pixel is 0.1 mm.
    ASSERT_EQ(RunCommand("pdftoppm -r 254 -gray '" + pdf + "' '" + (dir / "square").string() + "'").status, 0);
    EXPECT_NEAR(LongestBlackRun((dir / "square-1.pgm").string()), 1000, 2);
  }
}

TEST_F(ConversionFilesTest, BitonalScanStaysOneBitInThePdf) {
  if (!Have("pdfimages")) GTEST_SKIP() << "poppler-utils is not installed";
  KpzBuilder b;
  b.PageSize(0.2, 0.2, 10000);
  KpzRasterHeader h;
  h.flags = 0x80;
  h.x = h.x1 = 100;
  h.y = h.y1 = 100;
  h.x2 = h.y2 = 1700;
  h.rows = 1600;
  h.bytesPerRow = 200;
  h.width = 1600;
  h.format = 0x0001;
  b.BeginPage().RasterHeader(h);
  for (int r = 0; r < h.rows; ++r)
    b.RasterData(std::vector<std::uint8_t>{static_cast<std::uint8_t>(r % 50), 0, 100, 0});
  b.EndPage();
  const std::string pdf = (dir / "scan.pdf").string();
  ASSERT_TRUE(Convert(Write("scan.kpz", b), pdf).ok);
  const CommandResult images = RunCommand("pdfimages -list '" + pdf + "'");
  ASSERT_EQ(images.status, 0);
  // The scan is one 1-bit stencil: the interpreter's bands of 40 rows joined.
  std::istringstream lines(images.output);
  std::string line;
  int rows = 0, count = 0;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string page, num, type, width, height, colour, comp, bpc;
    if (!(fields >> page >> num >> type >> width >> height >> colour >> comp >> bpc) ||
        page == "page" || page[0] == '-')
      continue;
    EXPECT_EQ(bpc, "1") << line;
    rows += std::stoi(height);
    ++count;
  }
  EXPECT_EQ(count, 1);
  EXPECT_EQ(rows, 1600);
  // 1600 x 1600 bits are 320 kB unpacked, 7.7 MB as RGB.
  EXPECT_LT(fs::file_size(pdf), 200000u);
}

TEST_F(ConversionFilesTest, SvgIsWellFormedAndRendersLikeThePng) {
  const std::string plot = Write("square.kpz", SquarePlot());
  const std::string svg = (dir / "square.svg").string(), png = (dir / "square.png").string();
  ASSERT_TRUE(Convert(plot, svg, {"--rot", "0"}).ok);
  ASSERT_TRUE(Convert(plot, png, {"--rot", "0", "--dpi", "25.4"}).ok);  // 1 px per mm
  if (Have("xmllint")) {
    EXPECT_EQ(RunCommand("xmllint --noout '" + svg + "'").status, 0);
  }
  if (!Have("rsvg-convert")) GTEST_SKIP() << "librsvg2-bin is not installed";
  const std::string rendered = (dir / "rendered.png").string();
  ASSERT_EQ(RunCommand("rsvg-convert -w 500 -h 400 -b white -o '" + rendered + "' '" + svg + "'").status, 0);
  CairoSurface a(cairo_image_surface_create_from_png(rendered.c_str()));
  CairoSurface b(cairo_image_surface_create_from_png(png.c_str()));
  ASSERT_TRUE(Usable(a.get()) && Usable(b.get()));
  ASSERT_GE(cairo_image_surface_get_width(b.get()), 500);
  ASSERT_GE(cairo_image_surface_get_height(b.get()), 400);
  // Pixels that differ lie on the square's edges only.
  int differing = 0;
  for (int y = 0; y < 400; ++y) {
    for (int x = 0; x < 500; ++x) {
      auto px = [&](cairo_surface_t* s) {
        const auto* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
        return (reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFF) > 127;
      };
      const bool edge = (x >= 49 && x <= 51) || (x >= 149 && x <= 151) || (y >= 49 && y <= 51) ||
                        (y >= 149 && y <= 151);
      if (px(a.get()) != px(b.get()) && !edge) ++differing;
    }
  }
  EXPECT_EQ(differing, 0);
}

// Pixels of two pictures that differ by more than a little, counting only those whose 3 x 3
// neighbourhood is one colour in both (away from every edge: renderers may place an edge a
// pixel apart).
int DifferingAwayFromEdges(cairo_surface_t* reference, cairo_surface_t* other) {
  const int w = std::min(cairo_image_surface_get_width(reference), cairo_image_surface_get_width(other));
  const int h = std::min(cairo_image_surface_get_height(reference), cairo_image_surface_get_height(other));
  auto at = [](cairo_surface_t* s, int x, int y) {
    const auto* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
    return reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFF;
  };
  int differing = 0;
  for (int y = 1; y + 1 < h; ++y) {
    for (int x = 1; x + 1 < w; ++x) {
      const std::uint32_t a = at(reference, x, y), b = at(other, x, y);
      bool far = true;
      for (int k = 0; k < 9; ++k) {
        far = far && at(reference, x - 1 + k % 3, y - 1 + k / 3) == a &&
              at(other, x - 1 + k % 3, y - 1 + k / 3) == b;
      }
      int delta = 0;
      for (int shift : {0, 8, 16})
        delta = std::max(delta, std::abs(static_cast<int>((a >> shift) & 0xFF) -
                                         static_cast<int>((b >> shift) & 0xFF)));
      if (far && delta > 48) ++differing;
    }
  }
  return differing;
}

TEST_F(ConversionFilesTest, GhostscriptDrawsThePdfAsThePng) {
  if (!Have("gs")) GTEST_SKIP() << "ghostscript is not installed";
  KpzBuilder b;
  b.PageSize(0.2, 0.15, 10000);
  b.BeginPage()
      .FillColour(0, 0)
      .PolygonSet(2, {{{100, 100}, {600, 100}, {600, 600}, {100, 600}}})
      .LineColour(KpzBuilder::Rgb(255, 0, 0))
      .LineWidth(20)
      .Polyline({{100, 800}, {1800, 1300}})
      .FillStyle(5)
      .PatternFore(1, KpzBuilder::Rgb(0, 0, 255))
      .PolygonSet(2, {{{800, 100}, {1800, 100}, {1800, 700}, {800, 700}}});
  KpzRasterHeader h;
  h.flags = 0x80;
  h.x = h.x1 = 100;
  h.y = h.y1 = 900;
  h.x2 = 700;
  h.y2 = 1400;
  h.rows = 50;
  h.bytesPerRow = 8;
  h.width = 64;
  h.format = 0x0001;
  b.RasterHeader(h);
  for (int r = 0; r < h.rows; ++r)
    b.RasterData(std::vector<std::uint8_t>{static_cast<std::uint8_t>(r), 0, 10, 0});
  b.EndPage();
  const std::string plot = Write("mixed.kpz", b);
  const std::string pdf = (dir / "mixed.pdf").string(), png = (dir / "mixed.png").string();
  const std::string ghost = (dir / "ghost.png").string();
  ASSERT_TRUE(Convert(plot, pdf, {"--rot", "0", "--dpi", "100"}).ok);
  ASSERT_TRUE(Convert(plot, png, {"--rot", "0", "--dpi", "100", "--antialias", "off"}).ok);
  ASSERT_EQ(RunCommand("gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=png16m -r100 -sOutputFile='" +
                       ghost + "' '" + pdf + "'")
                .status,
            0);
  CairoSurface ours(cairo_image_surface_create_from_png(png.c_str()));
  CairoSurface theirs(cairo_image_surface_create_from_png(ghost.c_str()));
  ASSERT_TRUE(Usable(ours.get()) && Usable(theirs.get()));
  EXPECT_NEAR(cairo_image_surface_get_width(theirs.get()), 788, 1);
  EXPECT_NEAR(cairo_image_surface_get_height(theirs.get()), 591, 1);
  EXPECT_EQ(DifferingAwayFromEdges(ours.get(), theirs.get()), 0);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Blocks of 16 x 16 pixels, each one grey level (or colour) told by its place, so that a turn
// or a mirror shows; whole 8 x 8 blocks of one level decode exactly.
oracle::PixelImage BlockPicture(int bytesPerPixel) {
  oracle::PixelImage image{128, 96, bytesPerPixel, {}};
  for (int y = 0; y < image.rows; ++y)
    for (int x = 0; x < image.width; ++x)
      for (int c = 0; c < bytesPerPixel; ++c)
        image.pixels.push_back(static_cast<std::uint8_t>((x / 16 * 29 + y / 16 * 41 + c * 90) % 256));
  return image;
}

TEST_F(ConversionFilesTest, GreyJpegRasterKeepsItsStreamInPdfAndSvgColourOrTransparentOnesTheirPixels) {
  if (!Have("gs")) GTEST_SKIP() << "ghostscript is not installed";
  const struct {
    int bytesPerPixel;
    std::uint8_t flags;
    int rotation;
    bool kept;
  } cases[] = {
      {1, 0, 0, true},     {1, 0, 90, true},  {1, 0, 180, true}, {1, 0, 270, true},
      {3, 0, 270, false},  // the bitmap swaps red and blue against the stream
      {1, 0x04, 270, false},  // painted in two passes
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bytesPerPixel << " bytes, flags " << int{c.flags}
                                    << ", rotation " << c.rotation);
    const auto stream = oracle::EncodeJpeg(BlockPicture(c.bytesPerPixel), 90);
    KpzBuilder b;
    b.PageSize(0.03, 0.02, 10000);  // 254 dpi: a dot a pixel
    KpzRasterHeader h;
    h.flags = c.flags;
    h.x = h.x1 = 50;
    h.y = h.y1 = 40;
    h.x2 = 50 + 128;
    h.y2 = 40 + 96;
    h.rows = 96;
    h.width = 128;
    h.format = 0x2000;
    b.BeginPage().RasterHeader(h).RasterData(stream).EndPage();
    const std::string plot = Write("jpeg.kpz", b), rot = std::to_string(c.rotation);
    const std::string pdf = (dir / "jpeg.pdf").string(), svg = (dir / "jpeg.svg").string();
    const std::string png = (dir / "jpeg.png").string(), ghost = (dir / "ghost.png").string();
    ASSERT_TRUE(Convert(plot, pdf, {"--rot", rot, "--dpi", "254"}).ok);
    ASSERT_TRUE(Convert(plot, svg, {"--rot", rot, "--dpi", "254"}).ok);
    ASSERT_TRUE(Convert(plot, png, {"--rot", rot, "--dpi", "254", "--antialias", "off"}).ok);
    const std::string pdfBytes = ReadFile(pdf);
    const std::string streamBytes(stream.begin(), stream.end());
    EXPECT_EQ(pdfBytes.find(streamBytes) != std::string::npos, c.kept);
    EXPECT_EQ(pdfBytes.find("/DCTDecode") != std::string::npos, c.kept);
    EXPECT_EQ(ReadFile(svg).find("data:image/jpeg;base64,") != std::string::npos, c.kept);
    // Kept or not, the page looks as the picture does.
    ASSERT_EQ(RunCommand("gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=png16m -r254 -sOutputFile='" +
                         ghost + "' '" + pdf + "'")
                  .status,
              0);
    CairoSurface ours(cairo_image_surface_create_from_png(png.c_str()));
    CairoSurface theirs(cairo_image_surface_create_from_png(ghost.c_str()));
    ASSERT_TRUE(Usable(ours.get()) && Usable(theirs.get()));
    EXPECT_EQ(DifferingAwayFromEdges(ours.get(), theirs.get()), 0);
  }
}

TEST_F(ConversionFilesTest, EveryStoredMalformedPlotConvertsOrIsRefusedWithAReason) {
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(QUILLON_SOURCE_DIR "/tests/data/regress")) {
    if (!entry.is_regular_file()) continue;
    for (const char* ext : {".png", ".pdf", ".svg"}) {
      SCOPED_TRACE(entry.path().string() + ext);
      const ConversionResult r =
          Convert(entry.path().string(), (dir / (std::string("out") + ext)).string(), {"--dpi", "30"});
      EXPECT_TRUE(r.ok || !r.reason.empty());
    }
    ++files;
  }
  EXPECT_GT(files, 0);
}

TEST_F(ConversionFilesTest, ProgramExitsZeroOneOrTwo) {
  const std::string program = KPZCONVERT_PATH;
  const std::string good = Write("good.kpz", SquarePlot());
  const std::string bad = (dir / "bad.kpz").string();
  std::ofstream(bad) << "not a plot";
  const std::string out = (dir / "out").string();
  const struct {
    std::string args;
    int status;
    const char* says;
  } cases[] = {
      {"--help", 0, "usage: kpzconvert"},
      {"'" + good + "' '" + out + ".png' --size 200x100", 0, ""},
      {"'" + good + "' '" + out + ".jpg'", 2, "neither .png, .pdf nor .svg"},
      {"'" + good + "' x.png --dpi -1", 2, "--dpi needs"},
      {"'" + bad + "' '" + out + ".pdf'", 1, "bad.kpz: the plot cannot be opened"},
      {"-o '" + out + "' --format svg '" + good + "' '" + bad + "'", 1,
       "1 converted, 1 failed"},
      {"-o '" + out + "' '" + good + "' --page 3", 1, "the plot has 1 page(s), not 3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    const CommandResult r = RunCommand("'" + program + "' " + c.args);
    EXPECT_EQ(r.status, c.status) << r.output;
    EXPECT_NE(r.output.find(c.says), std::string::npos) << r.output;
  }
  EXPECT_TRUE(fs::exists(out + "/good.svg"));
  EXPECT_FALSE(fs::exists(out + "/bad.svg"));
}

}  // namespace
}  // namespace quillon
