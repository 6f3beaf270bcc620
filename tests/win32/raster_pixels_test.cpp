// Rasters drawn by the interpreter through GdiDevice on a real memory DC: where each format
// lands at rotations 0 and 270, colour rules, transparency, and decoding after a turn.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "base/win32/memory_dc.h"
#include "document/win32/win32_document_platform.h"
#include "render/draw_context.h"
#include "render/win32/gdi_device.h"
#include "tests/support/kpz_builder.h"
// <windows.h> after the interpreter's headers, which use GDI's names.
#include "tests/win32/temp_folder.h"

namespace quillon {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

// A 16 x 16 JPEG made by cjpeg (-quality 95 -sample 1x1): its left half stores the channels
// (0, 0, 200), its right half (0, 200, 0). The bitmap takes them in the order the decoder
// delivers them, as blue, green, red: left red, right green on screen.
const std::uint8_t kJpeg[] = {
    0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01, 0x00, 0x00, 0x01,
    0x00, 0x01, 0x00, 0x00, 0xFF, 0xDB, 0x00, 0x43, 0x00, 0x02, 0x01, 0x01, 0x01, 0x01, 0x01, 0x02,
    0x01, 0x01, 0x01, 0x02, 0x02, 0x02, 0x02, 0x02, 0x04, 0x03, 0x02, 0x02, 0x02, 0x02, 0x05, 0x04,
    0x04, 0x03, 0x04, 0x06, 0x05, 0x06, 0x06, 0x06, 0x05, 0x06, 0x06, 0x06, 0x07, 0x09, 0x08, 0x06,
    0x07, 0x09, 0x07, 0x06, 0x06, 0x08, 0x0B, 0x08, 0x09, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x06, 0x08,
    0x0B, 0x0C, 0x0B, 0x0A, 0x0C, 0x09, 0x0A, 0x0A, 0x0A, 0xFF, 0xDB, 0x00, 0x43, 0x01, 0x02, 0x02,
    0x02, 0x02, 0x02, 0x02, 0x05, 0x03, 0x03, 0x05, 0x0A, 0x07, 0x06, 0x07, 0x0A, 0x0A, 0x0A, 0x0A,
    0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A,
    0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A,
    0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0xFF, 0xC0,
    0x00, 0x11, 0x08, 0x00, 0x10, 0x00, 0x10, 0x03, 0x01, 0x11, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11,
    0x01, 0xFF, 0xC4, 0x00, 0x1F, 0x00, 0x00, 0x01, 0x05, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09,
    0x0A, 0x0B, 0xFF, 0xC4, 0x00, 0xB5, 0x10, 0x00, 0x02, 0x01, 0x03, 0x03, 0x02, 0x04, 0x03, 0x05,
    0x05, 0x04, 0x04, 0x00, 0x00, 0x01, 0x7D, 0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21,
    0x31, 0x41, 0x06, 0x13, 0x51, 0x61, 0x07, 0x22, 0x71, 0x14, 0x32, 0x81, 0x91, 0xA1, 0x08, 0x23,
    0x42, 0xB1, 0xC1, 0x15, 0x52, 0xD1, 0xF0, 0x24, 0x33, 0x62, 0x72, 0x82, 0x09, 0x0A, 0x16, 0x17,
    0x18, 0x19, 0x1A, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A,
    0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A,
    0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A,
    0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8A, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99,
    0x9A, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7,
    0xB8, 0xB9, 0xBA, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xD2, 0xD3, 0xD4, 0xD5,
    0xD6, 0xD7, 0xD8, 0xD9, 0xDA, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xF1,
    0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA, 0xFF, 0xC4, 0x00, 0x1F, 0x01, 0x00, 0x03,
    0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01,
    0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0xFF, 0xC4, 0x00, 0xB5, 0x11, 0x00,
    0x02, 0x01, 0x02, 0x04, 0x04, 0x03, 0x04, 0x07, 0x05, 0x04, 0x04, 0x00, 0x01, 0x02, 0x77, 0x00,
    0x01, 0x02, 0x03, 0x11, 0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51, 0x07, 0x61, 0x71, 0x13,
    0x22, 0x32, 0x81, 0x08, 0x14, 0x42, 0x91, 0xA1, 0xB1, 0xC1, 0x09, 0x23, 0x33, 0x52, 0xF0, 0x15,
    0x62, 0x72, 0xD1, 0x0A, 0x16, 0x24, 0x34, 0xE1, 0x25, 0xF1, 0x17, 0x18, 0x19, 0x1A, 0x26, 0x27,
    0x28, 0x29, 0x2A, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49,
    0x4A, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69,
    0x6A, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88,
    0x89, 0x8A, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9A, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6,
    0xA7, 0xA8, 0xA9, 0xAA, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA, 0xC2, 0xC3, 0xC4,
    0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xDA, 0xE2,
    0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9,
    0xFA, 0xFF, 0xDA, 0x00, 0x0C, 0x03, 0x01, 0x00, 0x02, 0x11, 0x03, 0x11, 0x00, 0x3F, 0x00, 0xFC,
    0x5B, 0xAF, 0xF6, 0x40, 0xFC, 0xFC, 0xFD, 0x78, 0xAF, 0xF9, 0x67, 0x3F, 0xCE, 0xF3, 0xF2, 0x1E,
    0xBF, 0xEA, 0x60, 0xFF, 0x00, 0x44, 0x0F, 0xD7, 0x8A, 0xFF, 0x00, 0x96, 0x73, 0xFC, 0xEF, 0x3F,
    0xFF, 0xD9};

bool Near(COLORREF a, COLORREF b, int tolerance = 24) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
         std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

class RasterPixelsTest : public ::testing::Test {
 protected:
  void Open(const KpzBuilder& builder, DrawContext& context) {
    const std::string file = folder.Write("raster.kpz", builder.Build());
    ASSERT_FALSE(file.empty());
    ASSERT_EQ(context.OpenDocument(file, surface.width(), surface.height()), 0);
    name = file;
  }
  void DrawOpen(DrawContext& context, int rotation) {
    surface.Fill(kWhite);
    context.document()->zoom = 1;
    context.document()->rotation = rotation;
    context.DrawDocument(&device, 0, surface.width(), surface.height(), 0, 0, name, 0);
  }
  void Draw(const KpzBuilder& builder, int rotation) {
    Open(builder, context);
    DrawOpen(context, rotation);
    context.CloseDocument(&device);
  }
  COLORREF At(int x, int y) const { return surface.PixelColour(x, y); }

  test::TempFolder folder;
  Win32DocumentPlatform platform{[](const std::string&) {}};
  DrawContext context{platform, 0, 0};
  MemoryDc surface{200, 200};
  GdiDevice device{surface.dc()};
  std::string name;
};

// A page of 200 x 200 dots.
KpzBuilder Page() {
  KpzBuilder b;
  b.PageSize(0.2, 0.2, 1000);
  return b;
}

// Placed at (20, 30) in a box of 80 x 40 dots. At 270 degrees the box turns into x 30..70,
// y 100..180, the image's left edge at the bottom.
KpzRasterHeader Header(std::uint16_t format, std::int32_t width, std::int32_t rows,
                       bool rowRecords) {
  KpzRasterHeader h;
  h.flags = rowRecords ? 0x80 : 0;
  h.foreColour = 0xFF0000;
  h.backColour = 0xFFFFFF;
  h.x = h.x1 = 20;
  h.y = h.y1 = 30;
  h.x2 = 100;
  h.y2 = 70;
  h.rows = rows;
  h.width = width;
  h.format = format;
  return h;
}

std::vector<std::uint8_t> WithLead(std::initializer_list<std::uint8_t> bytes) {
  std::vector<std::uint8_t> out(1024 + bytes.size(), 0);
  std::copy(bytes.begin(), bytes.end(), out.begin() + 1024);
  return out;
}

// Where the image's left half and right half lie, at 0 and at 270 degrees.
struct Halves {
  int leftX, leftY, rightX, rightY;
};
Halves HalvesAt(int rotation) {
  return rotation == 0 ? Halves{40, 50, 80, 50} : Halves{50, 160, 50, 120};
}

void ExpectBoxOnly(const MemoryDc& s, int rotation) {
  if (rotation == 0) {
    EXPECT_EQ(s.PixelColour(10, 50), kWhite);
    EXPECT_EQ(s.PixelColour(110, 50), kWhite);
    EXPECT_EQ(s.PixelColour(60, 25), kWhite);
    EXPECT_EQ(s.PixelColour(60, 75), kWhite);
  } else {
    EXPECT_EQ(s.PixelColour(25, 140), kWhite);
    EXPECT_EQ(s.PixelColour(75, 140), kWhite);
    EXPECT_EQ(s.PixelColour(50, 95), kWhite);
    EXPECT_EQ(s.PixelColour(50, 185), kWhite);
  }
}

TEST_F(RasterPixelsTest, EachFormatFillsItsDestinationBoxAtZeroAndTwoSeventy) {
  struct Case {
    const char* name;
    std::function<void(KpzBuilder&)> add;
    COLORREF left, right;
    int tolerance;
  };
  const std::uint8_t pairs[] = {0, 0, 4, 0};                    // skip 0, run 4: a whole row
  const std::uint8_t gray[] = {0xFC, 0};                        // four pixels of entry 0
  const std::uint8_t planar[] = {0xFC, 0, 0xFC, 200, 0xFC, 0};  // red 0, green 200, blue 0
  const Case cases[] = {
      {"run pairs",
       [&](KpzBuilder& b) {
         b.RasterHeader(Header(0x0001, 4, 4, true));
         for (int r = 0; r < 4; ++r) b.RasterData(pairs);
       },
       kRed, kRed, 0},
      {"packbits rows",
       [&](KpzBuilder& b) {
         KpzRasterHeader h = Header(0x0004, 4, 4, true);
         h.colours = {0x0000FF};
         b.RasterHeader(h);
         for (int r = 0; r < 4; ++r) b.RasterData(gray);
       },
       RGB(0, 0, 255), RGB(0, 0, 255), 0},
      {"packbits image",
       [&](KpzBuilder& b) {
         KpzRasterHeader h = Header(0x4004, 4, 4, false);
         h.colours = {0x00FFFF};
         b.RasterHeader(h).RasterData(WithLead({0xF0, 0}));
       },
       RGB(0, 255, 255), RGB(0, 255, 255), 0},
      {"planar rows",
       [&](KpzBuilder& b) {
         b.RasterHeader(Header(0x0002, 4, 4, true));
         for (int r = 0; r < 4; ++r) b.RasterData(planar);
       },
       RGB(0, 200, 0), RGB(0, 200, 0), 0},
      {"planar image",
       [&](KpzBuilder& b) {
         b.RasterHeader(Header(0x4002, 4, 4, false));
         std::vector<std::uint8_t> all;
         for (int r = 0; r < 4; ++r) all.insert(all.end(), std::begin(planar), std::end(planar));
         b.RasterData(all);
       },
       RGB(0, 200, 0), RGB(0, 200, 0), 0},
      {"jpeg",
       [&](KpzBuilder& b) { b.RasterHeader(Header(0x2000, 16, 16, false)).RasterData(kJpeg); },
       RGB(200, 0, 0), RGB(0, 200, 0), 24},
      {"stored 24-bit",
       [&](KpzBuilder& b) {
         b.RasterHeader(Header(0x8080, 4, 4, false));
         std::vector<std::uint8_t> rows;
         for (int i = 0; i < 16; ++i) rows.insert(rows.end(), {255, 0, 255});
         b.RasterData(rows);
       },
       RGB(255, 0, 255), RGB(255, 0, 255), 0},
  };
  for (const Case& c : cases) {
    for (int rotation : {0, 270}) {
      if (std::string(c.name) == "stored 24-bit" && rotation == 270) continue;  // never turned
      SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(rotation));
      KpzBuilder b = Page();
      b.BeginPage();
      c.add(b);
      b.EndPage();
      Draw(b, rotation);
      const Halves h = HalvesAt(rotation);
      EXPECT_TRUE(Near(At(h.leftX, h.leftY), c.left, c.tolerance))
          << std::hex << At(h.leftX, h.leftY);
      EXPECT_TRUE(Near(At(h.rightX, h.rightY), c.right, c.tolerance))
          << std::hex << At(h.rightX, h.rightY);
      ExpectBoxOnly(surface, rotation);
    }
  }
}

TEST_F(RasterPixelsTest, Group4RowLandsWhereTheRotationPutsIt) {
  KpzRasterHeader h = Header(0x1000, 16, 2, false);
  h.foreColour = 0x000000;
  KpzBuilder b = Page();
  b.BeginPage().RasterHeader(h).RasterData(WithLead({0x6C, 0xC7, 0x00, 0x08, 0x80})).EndPage();
  Draw(b, 0);
  // Row 0 (y 30..50), pixels 4..7 of 16: x 40..60.
  EXPECT_EQ(At(50, 40), kBlack);
  EXPECT_EQ(At(50, 60), kWhite);  // row 1
  EXPECT_EQ(At(30, 40), kWhite);
  EXPECT_EQ(At(70, 40), kWhite);
  Draw(b, 270);
  // Row 0 is the column x 30..50; pixels 4..7 are y 140..160.
  EXPECT_EQ(At(40, 150), kBlack);
  EXPECT_EQ(At(60, 150), kWhite);
  EXPECT_EQ(At(40, 130), kWhite);
  EXPECT_EQ(At(40, 170), kWhite);
}

TEST_F(RasterPixelsTest, EqualColoursShowOnePixelsInTheComplement) {
  KpzRasterHeader h = Header(0x0001, 4, 4, true);
  h.foreColour = h.backColour = 0xFFFFFF;
  const std::uint8_t left[] = {0, 0, 2, 0};  // pixels 0 and 1
  KpzBuilder b = Page();
  b.BeginPage().RasterHeader(h);
  for (int r = 0; r < 4; ++r) b.RasterData(left);
  b.EndPage();
  Draw(b, 0);
  EXPECT_EQ(At(40, 50), kBlack);
  EXPECT_EQ(At(80, 50), kWhite);
}

KpzBuilder RedUnderTransparentRaster() {
  KpzRasterHeader h = Header(0x0001, 4, 4, true);
  h.flags |= 0x04;  // transparent background
  h.foreColour = 0x000000;
  const std::uint8_t left[] = {0, 0, 2, 0};
  KpzBuilder b = Page();
  b.BeginPage()
      .FillColour(1, KpzBuilder::Rgb(255, 0, 0))
      .PolygonSet(2, {{{0, 0}, {200, 0}, {200, 200}, {0, 200}, {0, 0}}})
      .RasterHeader(h);
  for (int r = 0; r < 4; ++r) b.RasterData(left);
  b.EndPage();
  return b;
}

TEST_F(RasterPixelsTest, TransparentRasterLetsTheVectorsShow) {
  Draw(RedUnderTransparentRaster(), 0);
  EXPECT_EQ(At(40, 50), kBlack);
  EXPECT_EQ(At(80, 50), kRed);
  EXPECT_EQ(At(150, 150), kRed);
}

TEST_F(RasterPixelsTest, OpaqueRasterPreferencePaintsOnePass) {
  DrawContext opaque{platform, 1, 0};
  Open(RedUnderTransparentRaster(), opaque);
  DrawOpen(opaque, 0);
  opaque.CloseDocument(&device);
  EXPECT_EQ(At(40, 50), kBlack);
  EXPECT_EQ(At(80, 50), kWhite);
  EXPECT_EQ(At(150, 150), kRed);
}

TEST_F(RasterPixelsTest, AfterATurnRastersAreDecodedAgain) {
  KpzRasterHeader h = Header(0x1000, 16, 2, false);
  h.foreColour = 0x000000;
  KpzBuilder b = Page();
  b.BeginPage().RasterHeader(h).RasterData(WithLead({0x6C, 0xC7, 0x00, 0x08, 0x80})).EndPage();
  Open(b, context);
  DrawOpen(context, 0);
  EXPECT_EQ(At(50, 40), kBlack);
  DrawOpen(context, 0);  // from the cache
  EXPECT_EQ(At(50, 40), kBlack);
  // What a quarter turn does to the document: the cache goes, the image comes back turned.
  context.document()->rasterCacheResetPending = 1;
  DrawOpen(context, 270);
  EXPECT_EQ(context.document()->rasterCacheResetPending, 0u);
  EXPECT_EQ(At(40, 150), kBlack);
  EXPECT_EQ(At(60, 150), kWhite);
  EXPECT_EQ(At(40, 130), kWhite);
  context.CloseDocument(&device);
}

}  // namespace
}  // namespace quillon
