#include "document/record_layout.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "document/opcodes.h"
#include "tests/support/kpz_builder.h"

namespace quillon {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Writer = std::function<void(KpzBuilder&)>;

// The bytes of one record as the builder writes it.
Bytes RecordBytes(const Writer& write) {
  KpzBuilder b;
  const std::uint32_t from = b.Offset();
  write(b);
  const std::uint32_t to = b.Offset();
  const Bytes file = b.Build();
  return Bytes(file.begin() + from, file.begin() + to);
}

// Bytes consumed after the opcode, or -1 when ConsumeRecord refuses.
long long Consumed(const Bytes& record) {
  if (record.empty()) return -1;
  ByteReader r(record, 1);
  if (!ConsumeRecord(record[0], r)) return -1;
  return static_cast<long long>(r.position()) - 1;
}

std::vector<std::pair<std::string, Writer>> EveryRecord() {
  std::vector<std::pair<std::string, Writer>> all;
  auto add = [&](std::string name, Writer w) { all.emplace_back(std::move(name), std::move(w)); };
  const std::vector<DevicePoint> pts = {{1, 2}, {-3, 4}, {5, -6}};
  add("PlotInfo", [](auto& b) { b.PlotInfo(1, 2.5, 3.25, 9, "plot"); });
  add("EndPage", [](auto& b) { b.EndPage(); });
  add("Polyline", [pts](auto& b) { b.Polyline(pts); });
  add("EmptyPolyline", [](auto& b) { b.Polyline({}); });
  add("ShortPolyline", [pts](auto& b) { b.ShortPolyline(pts); });
  add("Bezier", [pts](auto& b) { b.Bezier({{0, 0}, {1, 1}, {2, 2}, {3, 3}}); });
  add("PolygonSet", [pts](auto& b) { b.PolygonSet(3, {pts, {{0, 0}, {9, 9}}}); });
  add("ShortPolygonSet", [pts](auto& b) { b.ShortPolygonSet(2, {pts, pts, {}}); });
  add("Record9", [](auto& b) { b.Skip(9); });
  add("Record10", [](auto& b) { b.Skip(10); });
  add("PenTouch", [](auto& b) { b.PenTouch(); });
  add("Rectangles", [](auto& b) { b.Rectangles({{0, 0, 10, 10}, {5, 5, 6, 6}}); });
  add("Record13", [](auto& b) { b.Skip(13); });
  add("CompoundShape", [pts](auto& b) {
    b.CompoundShape(2, {{1, {{4, pts, {}, {}}, {5, pts, {}, {}}, {6, pts, {}, {}}, {9, {}, {}, {}}}},
                        {0, {{4, {{7, 7}}, {}, {}}}}});
  });
  add("CompoundShapeNoShapes", [](auto& b) { b.CompoundShape(0, {}); });
  add("RasterHeader", [](auto& b) {
    KpzRasterHeader h;
    h.colours = {1, 2, 3};
    b.RasterHeader(h);
  });
  add("RasterHeaderNoColours", [](auto& b) { b.RasterHeader({}); });
  add("Text", [pts](auto& b) { b.Text(0, {{1, 1}}, "hello"); });
  add("TextPositions", [pts](auto& b) { b.Text(1, pts, "abc"); });
  add("Record17", [](auto& b) { b.Skip(17); });
  add("LineWidth", [](auto& b) { b.LineWidth(2.5); });
  add("OutlineWidth", [](auto& b) { b.OutlineWidth(1); });
  add("LineJoin", [](auto& b) { b.LineJoin(1); });
  add("OutlineJoin", [](auto& b) { b.OutlineJoin(2); });
  add("LineCap", [](auto& b) { b.LineCap(0); });
  add("LineStyle", [](auto& b) { b.LineStyle(6); });
  add("OutlineStyle", [](auto& b) { b.OutlineStyle(1); });
  add("FillStyle", [](auto& b) { b.FillStyle(3); });
  add("LineColour", [](auto& b) { b.LineColour(KpzBuilder::Rgb(1, 2, 3)); });
  add("OutlineColour", [](auto& b) { b.OutlineColour(7); });
  add("Colour28", [](auto& b) { b.Colour28(7); });
  add("PatternFore", [](auto& b) { b.PatternFore(0, 7); });
  add("PatternBack", [](auto& b) { b.PatternBack(1, 7); });
  add("Colour31", [](auto& b) { b.Colour31(7); });
  add("Value32", [](auto& b) { b.Value32(-7); });
  add("Value33", [](auto& b) { b.Value33(-7); });
  add("Record34", [](auto& b) { b.Record34(3); });
  add("PatternDefinition", [](auto& b) {
    KpzPattern p;
    p.rows = 8;
    p.bytesPerRow = 4;
    p.width = 8;
    p.colours = {0, 0xFFFFFF};
    b.PatternDefinition(p);
  });
  add("PatternDefinitionNoColours", [](auto& b) {
    KpzPattern p;
    p.rows = 2;
    p.bytesPerRow = 3;
    p.format = 0x8080;
    b.PatternDefinition(p);
  });
  add("Record38", [](auto& b) { b.Record38(5); });
  add("Record41", [](auto& b) { b.Record41(3, 7); });
  add("Font", [](auto& b) { b.Font("Arial", -12); });
  add("RasterData", [](auto& b) { b.RasterData(Bytes(33, 0x5A)); });
  add("FillColour", [](auto& b) { b.FillColour(1, 7); });
  add("WideText", [](auto& b) { b.WideText(0, {}, u"h\u00e9llo"); });
  add("WideTextPositions", [pts](auto& b) { b.WideText(1, pts, u"xyz"); });
  add("PlotInfo2", [](auto& b) { b.PlotInfo2(1, 2.5, 3.25, 9, "plot"); });
  add("LineModeColour", [](auto& b) { b.LineModeColour(13, 7); });
  add("PatternAngle", [](auto& b) { b.PatternAngle(45); });
  add("OutlineModeColour", [](auto& b) { b.OutlineModeColour(13, 7); });
  add("RasterLevels", [](auto& b) { b.RasterLevels({{10, 10, 100}, {5, 5, 200}}); });
  add("SheetBackground", [](auto& b) { b.SheetBackground(3937, 0.841, 0.594, 0xFFFFFF); });
  add("Record43", [](auto& b) { b.Skip(43); });
  for (int op : {0, 1, 35, 37, 39, 40, 42, 44, 45, 46, 47, 49, 50, 51, 52, 53, 62, 64, 200, 255})
    add("LengthPrefixed" + std::to_string(op),
        [op](auto& b) { b.Skip(static_cast<std::uint8_t>(op), 12); });
  return all;
}

TEST(RecordLayoutTest, ConsumesEveryBuiltRecordExactly) {
  std::vector<bool> seen(256, false);
  for (const auto& [name, write] : EveryRecord()) {
    const Bytes record = RecordBytes(write);
    ASSERT_FALSE(record.empty()) << name;
    seen[record[0]] = true;
    EXPECT_EQ(Consumed(record), static_cast<long long>(record.size()) - 1) << name;
  }
  for (int op = 0; op < 64; ++op) EXPECT_TRUE(seen[op]) << "no record written for " << op;
}

TEST(RecordLayoutTest, CatalogueSizes) {
  EXPECT_EQ(RecordBytes([](auto& b) { b.PlotInfo(0, 0, 0, 0, ""); }).size(), 1u + 527);
  EXPECT_EQ(RecordBytes([](auto& b) { b.PlotInfo2(0, 0, 0, 0, ""); }).size(), 1u + 535);
  EXPECT_EQ(RecordBytes([](auto& b) { b.SheetBackground(1, 1, 1, 0); }).size(), 1u + 48);
  EXPECT_EQ(RecordBytes([](auto& b) { b.Font(""); }).size(), 1u + 66);
  EXPECT_EQ(RecordBytes([](auto& b) { b.PatternAngle(1); }).size(), 1u + 12);
  // A raster header with colour count 0 still carries one colour.
  EXPECT_EQ(RecordBytes([](auto& b) { b.RasterHeader({}); }).size(), 1u + 61 + 4);
  EXPECT_EQ(Consumed({200, 12, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}), 16);
  EXPECT_EQ(Consumed({3}), 0);
}

TEST(RecordLayoutTest, CompoundPartsAreSteppedByPartLen) {
  // A part with trailing bytes counted by partLen: the walk steps over them.
  KpzCompoundPart padded{4, {{1, 1}}, 4 + 8 + 3, {}};
  const Bytes record = RecordBytes([&](auto& b) {
    b.CompoundShape(0, {{0, {padded}}});
    b.Raw({0xAA, 0xAA, 0xAA});
  });
  EXPECT_EQ(Consumed(record), static_cast<long long>(record.size()) - 1);
  // A partLen too small for the part's own points is refused.
  KpzCompoundPart shortPart{4, {{1, 1}, {2, 2}}, 4 + 8, {}};
  EXPECT_EQ(Consumed(RecordBytes([&](auto& b) { b.CompoundShape(0, {{0, {shortPart}}}); })), -1);
  KpzCompoundPart bezier{6, {{1, 1}}, 0, {}};
  EXPECT_EQ(Consumed(RecordBytes([&](auto& b) { b.CompoundShape(0, {{0, {bezier}}}); })), -1);
  KpzCompoundPart negative{5, {}, -1, {}};
  EXPECT_EQ(Consumed(RecordBytes([&](auto& b) { b.CompoundShape(0, {{0, {negative}}}); })), -1);
}

TEST(RecordLayoutTest, NegativeLengthsAndCountsAreRefused) {
  const Bytes minusOne = {0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(Consumed(RecordBytes([&](auto& b) { b.LengthPrefixed(40, {}, -1); })), -1);
  EXPECT_EQ(Consumed(RecordBytes([&](auto& b) { b.LengthPrefixed(54, {}, -8); })), -1);
  EXPECT_EQ(Consumed(RecordBytes([](auto& b) { b.Record34(-1); })), -1);
  EXPECT_EQ(Consumed(RecordBytes([](auto& b) { b.Record41(-1, 5); })), -1);
  EXPECT_EQ(Consumed(RecordBytes([](auto& b) { b.Record41(5, -1); })), -1);
  // Rectangles, polygon set, compound shape, pattern definition with a negative count.
  EXPECT_EQ(Consumed({12, 0, 0xFF, 0xFF, 0xFF, 0xFF}), -1);
  EXPECT_EQ(Consumed({7, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF}), -1);
  EXPECT_EQ(Consumed({7, 0, 0, 0, 0, 1, 0xFE, 0xFF, 0xFF, 0xFF}), -1);
  EXPECT_EQ(Consumed({14, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}), -1);
  Bytes pattern = RecordBytes([](auto& b) { b.PatternDefinition({}); });
  for (int i = 0; i < 4; ++i) pattern[1 + 4 + 2 + 8 + i] = 0xFF;  // rows
  EXPECT_EQ(Consumed(pattern), -1);
}

TEST(RecordLayoutTest, HugeCountsEndAtTheEndOfTheBytes) {
  EXPECT_EQ(Consumed(RecordBytes([](auto& b) { b.Polyline({{1, 1}}, 0xFFFFFFFF); })), -1);
  EXPECT_EQ(Consumed(RecordBytes([](auto& b) { b.Bezier({}, 0x20000000); })), -1);
  EXPECT_EQ(Consumed(RecordBytes([](auto& b) { b.ShortPolyline({}, 0xFFFF); })), -1);
  EXPECT_EQ(Consumed(RecordBytes([](auto& b) { b.Record41(0x7FFFFFFF, 0x7FFFFFFF); })), -1);
  EXPECT_EQ(Consumed(RecordBytes([](auto& b) { b.Record34(0x7FFFFFFF); })), -1);
  EXPECT_EQ(Consumed(RecordBytes([](auto& b) { b.LengthPrefixed(70, {}, 0x7FFFFFFF); })), -1);
  // A compound shape declaring 2^31 - 1 parts of unknown type: one byte each, then the end.
  EXPECT_EQ(Consumed({14, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 9, 9}), -1);
}

TEST(RecordLayoutTest, EveryTruncationIsRefused) {
  // Exactly sized copies: a read past the cut is a heap overflow the sanitizers see.
  for (const auto& [name, write] : EveryRecord()) {
    const Bytes record = RecordBytes(write);
    for (std::size_t n = 1; n < record.size(); ++n) {
      const Bytes cut(record.begin(), record.begin() + n);
      ByteReader r(cut, 1);
      EXPECT_FALSE(ConsumeRecord(cut[0], r)) << name << " cut at " << n;
      EXPECT_FALSE(r.ok());
    }
  }
}

TEST(RecordLayoutTest, FailedReaderConsumesNothing) {
  const Bytes record = {3};
  ByteReader r(record, 1);
  r.u8();  // fails
  EXPECT_FALSE(ConsumeRecord(opcode::EndPageRecord, r));
}

TEST(RecordLayoutTest, LengthPrefixedFamilies) {
  for (int op = 0; op < 256; ++op) {
    const bool prefixed = IsLengthPrefixed(static_cast<std::uint8_t>(op));
    const bool expected = op == 0 || op == 1 || op == 35 || op == 37 || op == 39 || op == 40 ||
                          op == 42 || op == 44 || op == 45 || op == 46 || op == 47 || op == 49 ||
                          (op >= 50 && op <= 53) || op == 62 || op >= 64;
    EXPECT_EQ(prefixed, expected) << op;
  }
}

TEST(RecordLayoutTest, SkipLengthPrefixedStepsOrFails) {
  struct Case {
    const char* name;
    Bytes bytes;    // from just after the opcode
    long long end;  // position reached, or -1: refused and the reader failed
  };
  const Case cases[] = {
      {"empty", {0, 0, 0, 0, 9}, 4},
      {"three bytes", {3, 0, 0, 0, 1, 2, 3, 9}, 7},
      {"up to the last byte", {2, 0, 0, 0, 1, 2}, 6},
      {"one byte short", {3, 0, 0, 0, 1, 2}, -1},
      {"minus one", {0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3}, -1},
      {"most negative", {0, 0, 0, 0x80, 1}, -1},
      {"length cut", {1, 0, 0}, -1},
  };
  for (const auto& c : cases) {
    ByteReader r(c.bytes);
    const bool skipped = SkipLengthPrefixed(r);
    EXPECT_EQ(skipped, c.end >= 0) << c.name;
    EXPECT_EQ(r.ok(), c.end >= 0) << c.name;
    if (c.end >= 0) {
      EXPECT_EQ(static_cast<long long>(r.position()), c.end) << c.name;
    }
  }
}

TEST(OpcodeNameTest, NamesAndNumbers) {
  EXPECT_STREQ(OpcodeName(opcode::PolylineRecord), "PolylineRecord");
  EXPECT_STREQ(OpcodeName(63), "SheetBackgroundRecord");
  EXPECT_STREQ(OpcodeName(9), "Record9");
  EXPECT_STREQ(OpcodeName(64), "Opcode64");
  EXPECT_STREQ(OpcodeName(255), "Opcode255");
}

}  // namespace
}  // namespace quillon
