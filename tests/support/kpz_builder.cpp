#include "tests/support/kpz_builder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace quillon {

namespace {

constexpr std::size_t kHeaderSize = 669;
constexpr std::uint32_t kIndexFixedPart = 42;  // opcode .. last table offset

class Writer {
 public:
  explicit Writer(std::vector<std::uint8_t>& out) : out_(out) {}
  void U8(std::uint8_t v) { out_.push_back(v); }
  void U16(std::uint16_t v) {
    for (int i = 0; i < 2; ++i) out_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void Bytes(std::span<const std::uint8_t> b) { out_.insert(out_.end(), b.begin(), b.end()); }
  void Fill(std::size_t n, std::uint8_t v) { out_.insert(out_.end(), n, v); }

 private:
  std::vector<std::uint8_t>& out_;
};

void PutU32At(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t U32Of(std::size_t v) { return static_cast<std::uint32_t>(v); }

}  // namespace

std::uint32_t KpzBuilder::Fixed(double value) {
  if (!(value > 0)) return 0;
  double whole = std::floor(value);
  double fraction = std::round((value - whole) * 65535.0);
  if (whole > 65535) return 0xFFFFFFFFu;
  return (static_cast<std::uint32_t>(whole) << 16) | static_cast<std::uint32_t>(fraction);
}

std::uint32_t KpzBuilder::Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return std::uint32_t{blue} | (std::uint32_t{green} << 8) | (std::uint32_t{red} << 16);
}

void KpzBuilder::U16(std::uint16_t v) { Writer(body_).U16(v); }
void KpzBuilder::U32(std::uint32_t v) { Writer(body_).U32(v); }
void KpzBuilder::F64(double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  U32(static_cast<std::uint32_t>(bits));
  U32(static_cast<std::uint32_t>(bits >> 32));
}
void KpzBuilder::Point32(const DevicePoint& p) {
  I32(p.x);
  I32(p.y);
}
void KpzBuilder::Point16(const DevicePoint& p) {
  U16(static_cast<std::uint16_t>(p.x));
  U16(static_cast<std::uint16_t>(p.y));
}

void KpzBuilder::PatchLength(std::size_t start) {
  PutU32At(body_, start + 1, U32Of(body_.size() - start - 5));
}

KpzBuilder& KpzBuilder::Wrapped(KpzWrapperLayout wrapper) {
  wrapper_ = std::move(wrapper);
  return *this;
}

KpzBuilder& KpzBuilder::Header(KpzHeaderFields header) {
  header_ = std::move(header);
  return *this;
}

KpzBuilder& KpzBuilder::PageSize(double widthMetres, double heightMetres,
                                 std::uint16_t resolution) {
  header_.pageWidth = Fixed(widthMetres);
  header_.pageHeight = Fixed(heightMetres);
  header_.resolution = resolution;
  return *this;
}

std::uint32_t KpzBuilder::Offset() const { return U32Of(kHeaderSize + body_.size()); }

KpzBuilder& KpzBuilder::BeginPage() {
  pages_.push_back(Offset());
  return *this;
}

KpzBuilder& KpzBuilder::EndPage() {
  U8(3);
  return *this;
}

KpzBuilder& KpzBuilder::PageTableEntries(std::vector<std::uint32_t> offsets) {
  pageEntries_ = std::move(offsets);
  return *this;
}

KpzBuilder& KpzBuilder::PageCountOverride(std::uint16_t count) {
  pageCount_ = count;
  return *this;
}

KpzBuilder& KpzBuilder::OmitPageTable() {
  pageTable_ = false;
  return *this;
}

std::uint16_t KpzBuilder::AddLineStyle(const std::vector<double>& dashes) {
  std::vector<std::uint32_t> bits;
  for (double d : dashes) bits.push_back(Fixed(d));
  return AddLineStyleBits(bits);
}

std::uint16_t KpzBuilder::AddLineStyleBits(const std::vector<std::uint32_t>& dashBits,
                                           std::optional<std::uint16_t> countOverride) {
  lineStyles_.push_back({dashBits, countOverride});
  return static_cast<std::uint16_t>(5 + lineStyles_.size());
}

KpzBuilder& KpzBuilder::PatternTableDeclaration(std::uint16_t count) {
  table37_ = {true, count, {}};
  return *this;
}
KpzBuilder& KpzBuilder::Table47(std::uint16_t count, std::vector<std::uint8_t> entries) {
  table47_ = {true, count, std::move(entries)};
  return *this;
}
KpzBuilder& KpzBuilder::Table49(std::uint16_t count, std::vector<std::uint8_t> entries) {
  table49_ = {true, count, std::move(entries)};
  return *this;
}
KpzBuilder& KpzBuilder::Table35(std::int32_t count, std::vector<std::uint8_t> entries) {
  table35_ = {true, count, std::move(entries)};
  return *this;
}
KpzBuilder& KpzBuilder::Table45(std::uint16_t first, std::uint16_t second) {
  table45_ = std::array<std::uint16_t, 2>{first, second};
  return *this;
}
KpzBuilder& KpzBuilder::Index(KpzIndexFields fields) {
  index_ = std::move(fields);
  return *this;
}

// Vector records.

KpzBuilder& KpzBuilder::Polyline(const std::vector<DevicePoint>& points,
                                 std::optional<std::uint32_t> countOverride) {
  const std::size_t start = body_.size();
  U8(4);
  U32(0);
  U32(countOverride.value_or(U32Of(points.size())));
  for (const auto& p : points) Point32(p);
  PatchLength(start);
  return *this;
}

KpzBuilder& KpzBuilder::ShortPolyline(const std::vector<DevicePoint>& points,
                                      std::optional<std::uint16_t> countOverride) {
  const std::size_t start = body_.size();
  U8(5);
  U32(0);
  U16(countOverride.value_or(static_cast<std::uint16_t>(points.size())));
  for (const auto& p : points) Point16(p);
  PatchLength(start);
  return *this;
}

KpzBuilder& KpzBuilder::Bezier(const std::vector<DevicePoint>& points,
                               std::optional<std::uint32_t> countOverride) {
  const std::size_t start = body_.size();
  U8(6);
  U32(0);
  U8(0);
  U32(countOverride.value_or(U32Of(points.size())));
  for (const auto& p : points) Point32(p);
  PatchLength(start);
  return *this;
}

KpzBuilder& KpzBuilder::CompoundShape(std::uint8_t shapeFlags,
                                      const std::vector<KpzShape>& shapes) {
  const std::size_t start = body_.size();
  U8(14);
  U32(0);
  U8(shapeFlags);
  U32(U32Of(shapes.size()));
  for (const auto& shape : shapes) {
    U8(0);
    U8(shape.closeFlag);
    U32(U32Of(shape.parts.size()));
    for (const auto& part : shape.parts) {
      U8(part.type);
      if (part.type != 4 && part.type != 5 && part.type != 6) continue;
      const std::size_t lenAt = body_.size();
      U32(0);
      if (part.type == 6) U8(0);
      if (part.type == 5) {
        U16(static_cast<std::uint16_t>(part.points.size()));
        for (const auto& p : part.points) Point16(p);
      } else {
        U32(U32Of(part.points.size()));
        for (const auto& p : part.points) Point32(p);
      }
      body_.insert(body_.end(), part.trailing.begin(), part.trailing.end());
      const auto partLen =
          part.partLen.value_or(static_cast<std::int32_t>(body_.size() - lenAt - 4));
      PutU32At(body_, lenAt, static_cast<std::uint32_t>(partLen));
    }
  }
  PatchLength(start);
  return *this;
}

KpzBuilder& KpzBuilder::PenTouch() {
  U8(11);
  Zeros(16);
  return *this;
}

// State records.

KpzBuilder& KpzBuilder::LineWidth(double width) {
  U8(18);
  U32(Fixed(width));
  return *this;
}
KpzBuilder& KpzBuilder::OutlineWidth(double width) {
  U8(19);
  U32(Fixed(width));
  return *this;
}
KpzBuilder& KpzBuilder::LineJoin(std::uint8_t join) {
  U8(20);
  U8(join);
  return *this;
}
KpzBuilder& KpzBuilder::OutlineJoin(std::uint8_t join) {
  U8(21);
  U8(join);
  return *this;
}
KpzBuilder& KpzBuilder::LineCap(std::uint8_t cap) {
  U8(22);
  U8(cap);
  return *this;
}
KpzBuilder& KpzBuilder::LineStyle(std::uint16_t style) {
  U8(23);
  U16(style);
  return *this;
}
KpzBuilder& KpzBuilder::OutlineStyle(std::uint16_t style) {
  U8(24);
  U16(style);
  return *this;
}
KpzBuilder& KpzBuilder::FillStyle(std::uint16_t style) {
  U8(25);
  U16(style);
  return *this;
}
KpzBuilder& KpzBuilder::LineColour(std::uint32_t kpzColour) {
  U8(26);
  U32(kpzColour);
  return *this;
}
KpzBuilder& KpzBuilder::OutlineColour(std::uint32_t kpzColour) {
  U8(27);
  U32(kpzColour);
  return *this;
}
KpzBuilder& KpzBuilder::Colour28(std::uint32_t kpzColour) {
  U8(28);
  U32(kpzColour);
  return *this;
}
void KpzBuilder::OpColour(std::uint8_t op, std::uint8_t mode, std::uint32_t colour) {
  U8(op);
  U8(mode);
  U32(colour);
}
KpzBuilder& KpzBuilder::PatternFore(std::uint8_t mode, std::uint32_t kpzColour) {
  OpColour(29, mode, kpzColour);
  return *this;
}
KpzBuilder& KpzBuilder::PatternBack(std::uint8_t mode, std::uint32_t kpzColour) {
  OpColour(30, mode, kpzColour);
  return *this;
}
KpzBuilder& KpzBuilder::Colour31(std::uint32_t kpzColour) {
  U8(31);
  U32(kpzColour);
  return *this;
}
KpzBuilder& KpzBuilder::Value32(std::int32_t value) {
  U8(32);
  I32(value);
  return *this;
}
KpzBuilder& KpzBuilder::Value33(std::int16_t value) {
  U8(33);
  U16(static_cast<std::uint16_t>(value));
  return *this;
}
KpzBuilder& KpzBuilder::FillColour(std::uint8_t mode, std::uint32_t kpzColour) {
  OpColour(55, mode, kpzColour);
  return *this;
}
KpzBuilder& KpzBuilder::LineModeColour(std::uint8_t mix, std::uint32_t kpzColour) {
  OpColour(58, mix, kpzColour);
  return *this;
}
KpzBuilder& KpzBuilder::PatternAngle(double degrees, double unused) {
  U8(59);
  U32(8);
  U32(Fixed(unused));
  U32(Fixed(degrees));
  return *this;
}
KpzBuilder& KpzBuilder::OutlineModeColour(std::uint8_t mix, std::uint32_t kpzColour) {
  OpColour(60, mix, kpzColour);
  return *this;
}

// Plot information, text and font.

void KpzBuilder::PlotInfoBody(std::uint8_t op, std::uint8_t byte, double x, double y,
                              std::uint16_t word, const std::string& name) {
  const std::size_t start = body_.size();
  U8(op);
  U32(0);
  U8(byte);
  U32(Fixed(x));
  U32(Fixed(y));
  U16(word);
  std::array<std::uint8_t, 512> text{};
  std::copy_n(name.begin(), std::min<std::size_t>(name.size(), text.size()), text.begin());
  body_.insert(body_.end(), text.begin(), text.end());
  if (op == 57) Zeros(8);
  PatchLength(start);
}
KpzBuilder& KpzBuilder::PlotInfo(std::uint8_t byte, double x, double y, std::uint16_t word,
                                 const std::string& name) {
  PlotInfoBody(2, byte, x, y, word, name);
  return *this;
}
KpzBuilder& KpzBuilder::PlotInfo2(std::uint8_t byte, double x, double y, std::uint16_t word,
                                  const std::string& name) {
  PlotInfoBody(57, byte, x, y, word, name);
  return *this;
}

void KpzBuilder::TextBody(std::uint8_t op, std::uint8_t flags,
                          const std::vector<DevicePoint>& positions,
                          std::span<const std::uint8_t> characters) {
  const std::size_t start = body_.size();
  const std::size_t count = characters.size() / (op == 56 ? 2 : 1);
  U8(op);
  U32(0);
  U8(flags);
  U16(static_cast<std::uint16_t>(count));
  if (flags & 1) {
    for (std::size_t i = 0; i < count; ++i)
      Point32(i < positions.size() ? positions[i] : DevicePoint{0, 0});
  } else {
    Point32(positions.empty() ? DevicePoint{0, 0} : positions[0]);
  }
  body_.insert(body_.end(), characters.begin(), characters.end());
  PatchLength(start);
}
KpzBuilder& KpzBuilder::Text(std::uint8_t flags, const std::vector<DevicePoint>& positions,
                             const std::string& text) {
  std::vector<std::uint8_t> chars(text.begin(), text.end());
  TextBody(16, flags, positions, chars);
  return *this;
}
KpzBuilder& KpzBuilder::WideText(std::uint8_t flags, const std::vector<DevicePoint>& positions,
                                 const std::u16string& text) {
  std::vector<std::uint8_t> chars;
  for (char16_t c : text) {
    chars.push_back(static_cast<std::uint8_t>(c));
    chars.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  TextBody(56, flags, positions, chars);
  return *this;
}
KpzBuilder& KpzBuilder::Font(const std::string& face, std::int32_t height) {
  const std::size_t start = body_.size();
  U8(48);
  U32(0);
  Zeros(2);
  I32(height);
  Zeros(4 * 4 + 8);  // width, escapement, orientation, weight; eight byte fields
  std::array<std::uint8_t, 32> name{};
  std::copy_n(face.begin(), std::min<std::size_t>(face.size(), 31), name.begin());
  body_.insert(body_.end(), name.begin(), name.end());
  PatchLength(start);
  return *this;
}

// Fills and patterns.

void KpzBuilder::PolygonSetBody(std::uint8_t op, std::uint8_t drawFlags,
                                const std::vector<std::vector<DevicePoint>>& polygons) {
  const bool wide = op == 7;
  U8(op);
  U32(0);
  U8(drawFlags);
  if (wide) {
    U32(U32Of(polygons.size()));
    for (const auto& polygon : polygons) U32(U32Of(polygon.size()));
  } else {
    U16(static_cast<std::uint16_t>(polygons.size()));
    for (const auto& polygon : polygons) U16(static_cast<std::uint16_t>(polygon.size()));
  }
  for (const auto& polygon : polygons)
    for (const auto& p : polygon) wide ? Point32(p) : Point16(p);
}
KpzBuilder& KpzBuilder::PolygonSet(std::uint8_t drawFlags,
                                   const std::vector<std::vector<DevicePoint>>& polygons) {
  PolygonSetBody(7, drawFlags, polygons);
  return *this;
}
KpzBuilder& KpzBuilder::ShortPolygonSet(std::uint8_t drawFlags,
                                        const std::vector<std::vector<DevicePoint>>& polygons) {
  PolygonSetBody(8, drawFlags, polygons);
  return *this;
}
KpzBuilder& KpzBuilder::Rectangles(const std::vector<DeviceRect>& rectangles) {
  U8(12);
  U8(0);
  U32(U32Of(rectangles.size()));
  for (const auto& r : rectangles) {
    Point32({r.left, r.top});
    Point32({r.right, r.bottom});
  }
  return *this;
}
KpzBuilder& KpzBuilder::SheetBackground(double resolution, double widthMetres, double heightMetres,
                                        std::uint32_t colour) {
  U8(63);
  U32(0);
  F64(resolution);
  Zeros(16);
  F64(widthMetres);
  F64(heightMetres);
  U32(colour);
  return *this;
}
KpzBuilder& KpzBuilder::PatternDefinition(const KpzPattern& pattern) {
  U8(36);
  U32(0);
  U16(pattern.id);
  I32(pattern.value1);
  I32(pattern.value2);
  I32(pattern.rows);
  I32(pattern.bytesPerRow);
  I32(pattern.width);
  U16(pattern.format);
  U16(static_cast<std::uint16_t>(pattern.colours.size()));
  if (pattern.colours.empty()) U32(0);
  for (auto c : pattern.colours) U32(c);
  body_.insert(body_.end(), pattern.pixels.begin(), pattern.pixels.end());
  const std::int64_t want = std::int64_t{pattern.rows} * pattern.bytesPerRow;
  if (pattern.rows > 0 && pattern.bytesPerRow > 0 && want <= std::int64_t{kMaxFill} &&
      want > static_cast<std::int64_t>(pattern.pixels.size()))
    Zeros(static_cast<std::size_t>(want) - pattern.pixels.size());
  return *this;
}

// Rasters.

KpzBuilder& KpzBuilder::RasterHeader(const KpzRasterHeader& h) {
  ++rasterHeaders_;
  U8(15);
  U8(h.flags);
  U32(h.foreColour);
  U32(h.backColour);
  for (auto v : h.fixedValues) U32(v);
  I32(h.x);
  I32(h.y);
  I32(h.x1);
  I32(h.y1);
  I32(h.x2);
  I32(h.y2);
  I32(h.rows);
  I32(h.bytesPerRow);
  I32(h.width);
  U16(h.format);
  const auto count = h.colourCount.value_or(static_cast<std::uint16_t>(h.colours.size()));
  U16(count);
  const std::size_t written = std::max<std::size_t>(count, 1);
  for (std::size_t i = 0; i < written; ++i) U32(i < h.colours.size() ? h.colours[i] : 0);
  return *this;
}
KpzBuilder& KpzBuilder::RasterData(std::span<const std::uint8_t> data) {
  return LengthPrefixed(54, data);
}
KpzBuilder& KpzBuilder::RasterLevels(const std::vector<KpzRasterLevel>& levels) {
  U8(61);
  U32(0);
  U8(static_cast<std::uint8_t>(levels.size()));
  for (const auto& level : levels) {
    I32(level.width);
    I32(level.height);
    I32(level.offset);
  }
  return *this;
}
std::uint32_t KpzBuilder::LevelData(std::span<const std::uint8_t> data) {
  const std::uint32_t at = Offset();
  U8(0);
  U32(U32Of(data.size()));
  body_.insert(body_.end(), data.begin(), data.end());
  return at;
}

// Records consumed without drawing.

KpzBuilder& KpzBuilder::Record34(std::int32_t count) {
  const std::size_t start = body_.size();
  U8(34);
  U32(0);
  Zeros(4);
  I32(count);
  if (count > 0 && 16ull * count <= kMaxFill) Zeros(16 * static_cast<std::size_t>(count));
  PatchLength(start);
  return *this;
}
KpzBuilder& KpzBuilder::Record38(std::uint16_t count) {
  const std::size_t start = body_.size();
  U8(38);
  U32(0);
  Zeros(2);
  U16(count);
  Zeros(4 * std::size_t{count});
  PatchLength(start);
  return *this;
}
KpzBuilder& KpzBuilder::Record41(std::int32_t a, std::int32_t b) {
  const std::size_t start = body_.size();
  U8(41);
  U32(0);
  Zeros(4);
  I32(a);
  I32(b);
  Zeros(4 + 2 + 2 + 4);
  const std::uint64_t bytes = std::uint64_t(a > 0 ? a : 0) * std::uint64_t(b > 0 ? b : 0);
  if (bytes <= kMaxFill) Zeros(static_cast<std::size_t>(bytes));
  PatchLength(start);
  return *this;
}
KpzBuilder& KpzBuilder::Skip(std::uint8_t op, std::uint32_t payload) {
  switch (op) {
    case 9:
    case 10:
      U8(op);
      Zeros(9);
      return *this;
    case 13:
      U8(op);
      Zeros(5);
      return *this;
    case 17:
      U8(op);
      Zeros(16);
      return *this;
    case 43:
      U8(op);
      Zeros(4);
      return *this;
    default: {
      std::vector<std::uint8_t> zeros(payload, 0);
      return LengthPrefixed(op, zeros);
    }
  }
}
KpzBuilder& KpzBuilder::LengthPrefixed(std::uint8_t op, std::span<const std::uint8_t> payload,
                                       std::optional<std::int32_t> lengthOverride) {
  U8(op);
  I32(lengthOverride.value_or(static_cast<std::int32_t>(payload.size())));
  body_.insert(body_.end(), payload.begin(), payload.end());
  return *this;
}
KpzBuilder& KpzBuilder::Raw(std::span<const std::uint8_t> bytes) {
  body_.insert(body_.end(), bytes.begin(), bytes.end());
  return *this;
}
KpzBuilder& KpzBuilder::Raw(std::initializer_list<std::uint8_t> bytes) {
  body_.insert(body_.end(), bytes.begin(), bytes.end());
  return *this;
}

KpzBuilder& KpzBuilder::TruncateAt(std::size_t size) {
  truncateAt_ = size;
  return *this;
}

// Assembly.

std::vector<std::uint8_t> KpzBuilder::Build() const { return Assemble(nullptr); }

KpzBuiltLayout KpzBuilder::Layout() const {
  KpzBuiltLayout layout;
  Assemble(&layout);
  return layout;
}

std::vector<std::uint8_t> KpzBuilder::Assemble(KpzBuiltLayout* layoutOut) const {
  std::vector<std::uint8_t> file;
  Writer w(file);
  KpzBuiltLayout layout;

  if (wrapper_) {
    const auto& layout = *wrapper_;
    std::uint32_t stringBytes = 0;
    for (const auto& s : layout.strings) stringBytes += U32Of(s.size()) + 2;
    const std::uint32_t k = layout.blockCount.value_or(U32Of(layout.blockSizes.size()));
    const std::uint32_t m = layout.extraCount.value_or(U32Of(layout.extras.size()));
    const std::uint32_t size =
        layout.wrapperSize.value_or(layout.remainder + 24 + stringBytes + 4 * k + 4 * m);
    w.U32(0xBABEFACEu);
    w.Fill(12, 0);
    w.U32(size);
    w.Fill(12, 0);
    w.U32(k);
    w.U32(m);
    for (const auto& s : layout.strings) {
      w.U16(static_cast<std::uint16_t>(s.size()));
      w.Bytes({reinterpret_cast<const std::uint8_t*>(s.data()), s.size()});
    }
    for (auto b : layout.blockSizes) w.U32(b);
    for (auto e : layout.extras) w.U32(e);
    if (layout.remainder != 0) w.Fill(std::uint32_t{layout.remainder + 4u}, 0xEE);  // mod 2^32
    for (auto b : layout.blockSizes) w.Fill(b, 0xBB);
  }
  layout.dataStart = file.size();
  const std::size_t base = layout.dataStart;
  auto here = [&] { return U32Of(file.size() - base); };

  // Header record.
  w.U8(header_.opcode);
  w.U32(header_.length);
  w.U32(static_cast<std::uint32_t>(header_.headerWord));
  w.U32(header_.headerValue1);
  w.U32(header_.pageWidth);
  w.U32(header_.pageHeight);
  w.U32(header_.headerValue2);
  w.U16(static_cast<std::uint16_t>(header_.headerShort));
  w.U16(header_.resolution);
  w.Fill(576, 0);
  std::array<std::uint8_t, 32> version{};
  std::copy_n(header_.versionText.begin(), std::min<std::size_t>(header_.versionText.size(), 32),
              version.begin());
  w.Bytes(version);
  w.Fill(32, 0);

  w.Bytes(body_);

  for (const auto& style : lineStyles_) {
    layout.lineStyleDefinitions.push_back(here());
    const std::size_t start = file.size();
    w.U8(40);  // a length-prefixed record: a page walk that reaches it steps over it
    w.U32(0);
    w.Fill(2, 0);
    w.U16(style.countOverride.value_or(static_cast<std::uint16_t>(style.dashBits.size())));
    for (auto d : style.dashBits) w.U32(d);
    PutU32At(file, start + 1, U32Of(file.size() - start - 5));
  }

  auto table = [&](std::uint8_t op, auto&& fields) {
    const std::uint32_t at = here();
    const std::size_t start = file.size();
    w.U8(op);
    w.U32(0);
    fields();
    PutU32At(file, start + 1, U32Of(file.size() - start - 5));
    return at;
  };

  if (pageTable_) {
    layout.pages = pageEntries_.value_or(pages_);
    layout.pageTable = table(50, [&] {
      w.U16(pageCount_.value_or(static_cast<std::uint16_t>(layout.pages.size())));
      for (auto p : layout.pages) w.U32(p);
    });
  }
  if (!lineStyles_.empty()) {
    layout.lineStyleTable = table(39, [&] {
      w.U16(static_cast<std::uint16_t>(lineStyles_.size()));
      for (auto d : layout.lineStyleDefinitions) w.U32(d);
    });
  }
  auto counted16 = [&](std::uint8_t op, const RawTable& layout) {
    if (!layout.present) return std::uint32_t{0};
    return table(op, [&] {
      w.U16(static_cast<std::uint16_t>(layout.count));
      w.Bytes(layout.entries);
    });
  };
  layout.patternTable = counted16(37, table37_);
  layout.table47 = counted16(47, table47_);
  layout.table49 = counted16(49, table49_);
  if (table35_.present) {
    layout.table35 = table(35, [&] {
      w.U32(static_cast<std::uint32_t>(table35_.count));
      w.Bytes(table35_.entries);
    });
  }
  if (table45_) {
    layout.table45 = table(45, [&] {
      w.U16((*table45_)[0]);
      w.U16((*table45_)[1]);
    });
  }

  // Index record.
  layout.index = here();
  const std::uint32_t indexSize = kIndexFixedPart + index_.padding + 4;
  w.U8(index_.opcode.value_or(1));
  w.U32(index_.length.value_or(indexSize - 5));
  w.U8(0);
  w.U32(index_.rasterCount.value_or(rasterHeaders_));
  w.U32(index_.headerOffset.value_or(0));
  w.U32(index_.pageTable.value_or(layout.pageTable));
  w.U32(index_.table47.value_or(layout.table47));
  w.U32(index_.table49.value_or(layout.table49));
  w.U32(index_.table35.value_or(layout.table35));
  w.U32(index_.lineStyleTable.value_or(layout.lineStyleTable));
  w.U32(index_.patternTable.value_or(layout.patternTable));
  w.U32(index_.table45.value_or(layout.table45));
  w.Fill(index_.padding, 0);
  w.U32(index_.trailer.value_or(indexSize));

  if (truncateAt_ && *truncateAt_ < file.size()) file.resize(*truncateAt_);
  if (layoutOut) *layoutOut = std::move(layout);
  return file;
}

}  // namespace quillon
