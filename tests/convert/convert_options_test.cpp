// kpzconvert's command line and the page sizes it leads to.

#include <gtest/gtest.h>

#include "tools/kpzconvert/convert_options.h"
#include "tools/kpzconvert/page_geometry.h"

namespace quillon {
namespace {

TEST(ConvertOptionsTest, RefusesWhatItCannotRead) {
  const struct {
    std::vector<std::string> args;
    const char* why;
  } cases[] = {
      {{}, "give a plot"},
      {{"a.kpz"}, "give a plot"},
      {{"a.kpz", "b.kpz", "c.pdf"}, "more than one plot needs -o"},
      {{"a.kpz", "out.jpg"}, "neither .png, .pdf nor .svg"},
      {{"a.kpz", "out.png", "--rot", "45"}, "--rot needs"},
      {{"a.kpz", "out.png", "--dpi", "0"}, "--dpi needs"},
      {{"a.kpz", "out.png", "--dpi", "1e9"}, "--dpi needs"},
      {{"a.kpz", "out.png", "--size", "800"}, "--size needs"},
      {{"a.kpz", "out.png", "--size", "-8x6"}, "--size needs"},
      {{"a.kpz", "out.png", "--scale", "nan"}, "--scale needs"},
      {{"a.kpz", "out.png", "--scale", "1e-300"}, "--scale needs"},
      {{"a.kpz", "out.png", "--dpi", "100", "--scale", "2"}, "exclude each other"},
      {{"a.kpz", "out.png", "--page", "0"}, "--page needs"},
      {{"a.kpz", "out.png", "--antialias", "yes"}, "--antialias needs"},
      {{"a.kpz", "out.png", "--format", "gif"}, "--format needs"},
      {{"a.kpz", "out.png", "--dpi"}, "--dpi needs"},
      {{"-o", "dir"}, "no plot given"},
      {{"a.kpz", "out.png", "--frobnicate"}, "unknown option --frobnicate"},
  };
  for (const auto& c : cases) {
    ConvertOptions options;
    const std::string why = ParseConvertOptions(c.args, options);
    EXPECT_NE(why.find(c.why), std::string::npos) << "got: " << why;
  }
}

TEST(ConvertOptionsTest, OneFileTakesItsFormatFromTheOutputName) {
  const struct {
    std::vector<std::string> args;
    OutputFormat format;
  } cases[] = {{{"a.kpz", "b.PDF"}, OutputFormat::Pdf},
               {{"a.kpz", "b.svg"}, OutputFormat::Svg},
               {{"a.kpz", "b.png"}, OutputFormat::Png},
               {{"a.kpz", "b.out", "--format", "svg"}, OutputFormat::Svg}};
  for (const auto& c : cases) {
    ConvertOptions options;
    ASSERT_EQ(ParseConvertOptions(c.args, options), "");
    ASSERT_EQ(options.jobs.size(), 1u);
    EXPECT_EQ(options.jobs[0].file, "a.kpz");
    EXPECT_EQ(options.jobs[0].out, c.args[1]);
    EXPECT_EQ(options.jobs[0].format, c.format);
    EXPECT_FALSE(options.batch);
  }
}

TEST(ConvertOptionsTest, BatchWritesEveryPlotIntoTheFolderUnderItsOwnName) {
  ConvertOptions options;
  ASSERT_EQ(ParseConvertOptions({"-o", "out", "plots/a.kpz", "--format", "pdf", "b.KPZ", "--rot",
                                 "90", "--size", "1600x1200", "--page", "2", "--antialias", "off"},
                                options),
            "");
  ASSERT_EQ(options.jobs.size(), 2u);
  EXPECT_EQ(options.jobs[0].out, "out/a.pdf");
  EXPECT_EQ(options.jobs[1].out, "out/b.pdf");
  EXPECT_EQ(options.jobs[1].format, OutputFormat::Pdf);
  EXPECT_TRUE(options.batch);
  EXPECT_EQ(options.rotation, 90);
  EXPECT_EQ(options.sizing, Sizing::Size);
  EXPECT_EQ(options.width, 1600);
  EXPECT_EQ(options.height, 1200);
  EXPECT_EQ(options.page, 2);
  EXPECT_FALSE(options.antialias);

  ASSERT_EQ(ParseConvertOptions({"-o", "out", "c.kpz"}, options), "");
  EXPECT_EQ(options.jobs[0].out, "out/c.png");
  EXPECT_EQ(options.rotation, 270);  // the control's initial view
}

// An A4 sheet, 0.21 x 0.297 m at 300 dots per inch.
constexpr PlotPage kA4{0.21, 0.297, 300 / 0.0254};

PageGeometry Geometry(OutputFormat format, std::vector<std::string> extra, int rotation = 0) {
  std::vector<std::string> args{"a.kpz", "b.png", "--rot", std::to_string(rotation)};
  args.insert(args.end(), extra.begin(), extra.end());
  ConvertOptions options;
  EXPECT_EQ(ParseConvertOptions(args, options), "");
  PageGeometry g;
  EXPECT_EQ(ComputeGeometry(kA4, format, options, g), "");
  return g;
}

TEST(PageGeometryTest, PdfAndSvgPagesHaveTheTrueSizeTurnedWithTheView) {
  for (OutputFormat format : {OutputFormat::Pdf, OutputFormat::Svg}) {
    const PageGeometry upright = Geometry(format, {});
    EXPECT_NEAR(upright.surfaceWidth, 595.28, 0.01);
    EXPECT_NEAR(upright.surfaceHeight, 841.89, 0.01);
    EXPECT_EQ(upright.dpi, 300);
    EXPECT_NEAR(upright.zoom, 1, 1e-9);
    EXPECT_NEAR(upright.unitsPerPixel, 72.0 / 300, 1e-12);
    const PageGeometry turned = Geometry(format, {}, 270);
    EXPECT_NEAR(turned.surfaceWidth, 841.89, 0.01);
    EXPECT_NEAR(turned.surfaceHeight, 595.28, 0.01);
  }
  const PageGeometry half = Geometry(OutputFormat::Pdf, {"--scale", "0.5"});
  EXPECT_NEAR(half.surfaceWidth, 297.64, 0.01);
  EXPECT_GE(half.zoom, 1);  // rasters keep every pixel
  const PageGeometry fitted = Geometry(OutputFormat::Pdf, {"--size", "105x297"});
  EXPECT_NEAR(fitted.surfaceWidth / 72 * 25.4, 105, 0.01);
  EXPECT_NEAR(fitted.surfaceHeight / 72 * 25.4, 148.5, 0.01);
}

TEST(PageGeometryTest, PngSizesByResolutionScaleOrBox) {
  const struct {
    std::vector<std::string> args;
    int rotation, width, height;
    double zoom;
  } cases[] = {
      {{}, 0, 794, 1123, 96.0 / 300},
      {{"--dpi", "150"}, 0, 1241, 1754, 0.5},
      {{"--scale", "0.1"}, 90, 351, 249, 0.1},
      {{"--size", "1600x1200"}, 270, 1600, 1200, 1600 / 3507.8740157},
  };
  for (const auto& c : cases) {
    const PageGeometry g = Geometry(OutputFormat::Png, c.args, c.rotation);
    EXPECT_EQ(g.deviceWidth, c.width);
    EXPECT_EQ(g.deviceHeight, c.height);
    EXPECT_NEAR(g.zoom, c.zoom, 1e-6);
    EXPECT_EQ(g.unitsPerPixel, 1);
  }
}

TEST(PageGeometryTest, RefusesPagesWithoutSizeAndPicturesTooLarge) {
  ConvertOptions options;
  ASSERT_EQ(ParseConvertOptions({"a.kpz", "b.png", "--dpi", "20000"}, options), "");
  PageGeometry g;
  EXPECT_NE(ComputeGeometry(kA4, OutputFormat::Png, options, g).find("too large"),
            std::string::npos);
  ASSERT_EQ(ParseConvertOptions({"a.kpz", "b.pdf", "--scale", "0.000001"}, options), "");
  EXPECT_EQ(ComputeGeometry(kA4, OutputFormat::Pdf, options, g),
            "the page is too small to draw at that scale");
  EXPECT_EQ(ComputeGeometry({0, 0.3, 1000}, OutputFormat::Pdf, options, g),
            "the plot declares no page size");
  EXPECT_EQ(ComputeGeometry({0.2, 0.3, 0}, OutputFormat::Png, options, g),
            "the plot declares no page size");
}

}  // namespace
}  // namespace quillon
