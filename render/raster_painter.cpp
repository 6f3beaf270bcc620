#include "render/raster_painter.h"

#include <cstring>

#include "base/numeric.h"

namespace quillon {

namespace {

constexpr std::size_t kInfoHeaderBytes = 40;
constexpr std::int32_t kBandRows = 40;

void Put32(std::uint8_t* at, std::uint32_t v) {
  for (int k = 0; k < 4; ++k) at[k] = static_cast<std::uint8_t>(v >> (8 * k));
}
void Put16(std::uint8_t* at, std::uint16_t v) {
  at[0] = static_cast<std::uint8_t>(v);
  at[1] = static_cast<std::uint8_t>(v >> 8);
}

DibColour Complement(DibColour c) {
  return {static_cast<std::uint8_t>(~c.blue), static_cast<std::uint8_t>(~c.green),
          static_cast<std::uint8_t>(~c.red), 0};
}

// The header block in the document heap, freed when the painting is over.
class InfoBlock {
 public:
  InfoBlock(DocumentHeap& heap, std::size_t bytes)
      : heap_(heap), bytes_(bytes), data_(static_cast<std::uint8_t*>(heap.Allocate(bytes))) {}
  ~InfoBlock() { heap_.Free(data_); }
  InfoBlock(const InfoBlock&) = delete;
  InfoBlock& operator=(const InfoBlock&) = delete;
  std::uint8_t* data() const { return data_; }
  std::span<const std::uint8_t> span() const { return {data_, bytes_}; }

 private:
  DocumentHeap& heap_;
  std::size_t bytes_;
  std::uint8_t* data_;
};

void WriteTable(std::uint8_t* info, const std::vector<DibColour>& table) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    std::uint8_t* at = info + kInfoHeaderBytes + 4 * i;
    at[0] = table[i].blue;
    at[1] = table[i].green;
    at[2] = table[i].red;
    at[3] = 0;
  }
}

}  // namespace

DibColour DibColourOf(std::uint32_t rgb) {
  return {static_cast<std::uint8_t>(rgb), static_cast<std::uint8_t>(rgb >> 8),
          static_cast<std::uint8_t>(rgb >> 16), 0};
}

std::vector<DibColour> BitonalColourTable(const RasterHeader& header) {
  DibColour back = DibColourOf(header.backColour);
  DibColour fore = DibColourOf(header.foreColour);
  if ((header.foreColour & 0xFFFFFF) == (header.backColour & 0xFFFFFF)) {
    if (header.flags & raster_flags::kForegroundTransparent)
      back = Complement(back);
    else
      fore = Complement(fore);
  }
  return {back, fore};
}

std::vector<DibColour> PaletteColourTable(std::span<const RasterPaletteEntry> palette,
                                          std::uint32_t count, std::uint32_t maxEntries) {
  std::uint32_t n = count == 0 ? 1 : count;
  if (n > maxEntries) n = maxEntries;
  if (n > palette.size()) n = static_cast<std::uint32_t>(palette.size());
  std::vector<DibColour> table(n);
  for (std::uint32_t i = 0; i < n; ++i)
    table[i] = {static_cast<std::uint8_t>(palette[i].blue >> 8),
                static_cast<std::uint8_t>(palette[i].green >> 8),
                static_cast<std::uint8_t>(palette[i].red >> 8), 0};
  return table;
}

std::vector<DibColour> MaskTable(const std::vector<DibColour>& table, DibColour transparent,
                                 int transparentIndex) {
  std::vector<DibColour> out(table.size());
  for (std::size_t i = 0; i < table.size(); ++i) {
    const bool clear =
        transparentIndex >= 0 ? static_cast<int>(i) == transparentIndex : table[i] == transparent;
    out[i] = clear ? DibColour{255, 255, 255, 0} : DibColour{0, 0, 0, 0};
  }
  return out;
}

std::vector<DibColour> PaintTable(const std::vector<DibColour>& table, DibColour transparent,
                                  int transparentIndex) {
  std::vector<DibColour> out(table.size());
  for (std::size_t i = 0; i < table.size(); ++i) {
    const bool clear =
        transparentIndex >= 0 ? static_cast<int>(i) == transparentIndex : table[i] == transparent;
    out[i] = clear ? DibColour{0, 0, 0, 0} : table[i];
  }
  return out;
}

PaintResult PaintRaster(Device& dc, DocumentHeap& heap, const RasterPaintJob& job) {
  if (!job.image || !job.image->bits) return PaintResult::NotPainted;
  const RasterImage& image = *job.image;
  if (image.width <= 0 || image.rows <= 0 || image.stride == 0) return PaintResult::NotPainted;
  if (static_cast<std::uint64_t>(image.rows) * image.stride > image.bytes)
    return PaintResult::NotPainted;

  InfoBlock info(heap, kInfoHeaderBytes + 4 * job.colours.size());
  if (!info.data()) return PaintResult::NoMemory;
  std::uint8_t* h = info.data();
  Put32(h + 0, kInfoHeaderBytes);
  Put32(h + 4, static_cast<std::uint32_t>(image.width));
  Put16(h + 12, 1);
  Put16(h + 14, image.bitCount);
  Put32(h + 16, 0);  // BI_RGB
  Put32(h + 32, static_cast<std::uint32_t>(job.colours.size()));

  dc.SetStretchBltMode(image.bitCount == 1 ? gdi::kStretchBlackOnWhite : gdi::kStretchColorOnColor);

  struct Pass {
    std::uint32_t rop;
    std::vector<DibColour> table;
  };
  std::vector<Pass> passes;
  const bool transparent = (job.header.flags & raster_flags::kTransparent) &&
                           job.rasterRop == gdi::kRopSrcAnd &&
                           !dc.QueryEscapeSupport(gdi::kEscPostscriptPassthrough);
  if (transparent) {
    const bool foreClear = job.header.flags & raster_flags::kForegroundTransparent;
    const DibColour clear = DibColourOf(foreClear ? job.header.foreColour : job.header.backColour);
    const int index = job.bitonalTable ? (foreClear ? 1 : 0) : -1;
    passes.push_back({gdi::kRopSrcAnd, MaskTable(job.colours, clear, index)});
    passes.push_back({gdi::kRopSrcPaint, PaintTable(job.colours, clear, index)});
  } else {
    passes.push_back({gdi::kRopSrcCopy, job.colours});
  }

  const bool whole = !transparent && !job.jpeg.stream.empty() && image.bitCount == 24 &&
                     job.colours.empty() && dc.OfferJpeg(job.jpeg);
  const std::int32_t bandRows = whole ? image.rows : kBandRows;
  const double s = static_cast<double>(job.destHeight) / image.rows;
  const std::int32_t fullBands = image.rows / bandRows;
  const std::int32_t lastRows = image.rows % bandRows;
  bool painted = false;
  for (const Pass& pass : passes) {
    WriteTable(h, pass.table);
    int previous = TruncToInt(job.y + 0.5);
    auto band = [&](std::int32_t i, std::int32_t rows, double bottom) {
      const std::size_t bytes = static_cast<std::size_t>(rows) * image.stride;
      Put32(h + 8, static_cast<std::uint32_t>(rows));
      Put32(h + 20, static_cast<std::uint32_t>(bytes));
      const DibView dib{
          info.span(),
          {image.bits + static_cast<std::size_t>(i) * bandRows * image.stride, bytes}};
      const int y = TruncToInt(bottom + 0.05);
      const int height = -TruncToInt(bottom - previous + 0.5);
      const int result =
          dc.StretchDIBits(job.x, y, job.destWidth, height, 0, 0, image.width, rows, dib, pass.rop);
      if (result == 0 || result == -1) return false;
      previous = y;
      painted = true;
      return true;
    };
    for (std::int32_t i = 0; i < fullBands; ++i)
      if (!band(i, bandRows, job.y + bandRows * s * (i + 1))) break;
    if (lastRows != 0)
      band(fullBands, lastRows,
           job.y + s * (static_cast<double>(fullBands) * bandRows + lastRows));
  }
  return painted ? PaintResult::Painted : PaintResult::NotPainted;
}

}  // namespace quillon
