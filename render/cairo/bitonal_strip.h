#pragma once
// The bands of one 1-bit raster joined into one image. The interpreter paints a raster 40 rows
// at a time; drawn one by one, a PDF or SVG holds an image per band, and viewers that smooth
// edges show seams between them. Rows are kept device-top first, the most significant bit
// leftmost, as long as each band starts on the row below the last one with the same columns,
// colours, raster operation and scale.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/values.h"
#include "render/cairo/dib_picture.h"

namespace quillon {

// One StretchDIBits call of a 1-bit bitmap: the part of the picture drawn (rows counted from
// the picture's top) and where its device-top-left corner lands.
struct BitonalBand {
  const DibPicture* picture = nullptr;
  int left = 0, top = 0, width = 0, height = 0;
  double x = 0, y = 0;
  double pixelWidth = 0;   // device pixels per bitmap column; negative mirrors
  double pixelHeight = 0;  // device pixels per bitmap row, > 0
  bool flipped = false;    // the picture's rows run upwards on the device
  ColorRef colours[2] = {0, 0};
  std::uint32_t rop = 0;
};

class BitonalStrip {
 public:
  bool empty() const { return height_ == 0; }
  // Adds the band below the strip when it continues it; false (and nothing added) otherwise.
  bool Append(const BitonalBand& band);
  // Starts a new strip with the band (the old one must have been drawn).
  void Start(const BitonalBand& band);
  void Clear() { rows_.clear(), height_ = 0; }
  // The strip shrunk to one bitmap pixel per device pixel, as GDI's BLACKONWHITE stretch mode
  // shrinks a monochrome bitmap: a device pixel takes `keep` (the darker colour's index)
  // when any bitmap pixel landing in it has it, so thin dark lines stay. Axes drawn larger
  // than the bitmap keep their pixels. Not for a strip mirrored across.
  BitonalStrip Shrunk(int keep) const;

  int width() const { return width_; }
  int height() const { return height_; }
  std::size_t stride() const { return stride_; }
  const std::uint8_t* Row(int r) const { return rows_.data() + static_cast<std::size_t>(r) * stride_; }
  double x() const { return x_; }
  double y() const { return y_; }
  double pixelWidth() const { return pixelWidth_; }
  double pixelHeight() const { return pixelHeight_; }
  ColorRef colour(int index) const { return colours_[index]; }
  std::uint32_t rop() const { return rop_; }

 private:
  void AddRows(const BitonalBand& band);

  std::vector<std::uint8_t> rows_;
  std::size_t stride_ = 0;
  int width_ = 0, height_ = 0;
  double x_ = 0, y_ = 0, pixelWidth_ = 0, pixelHeight_ = 0;
  ColorRef colours_[2] = {0, 0};
  std::uint32_t rop_ = 0;
};

}  // namespace quillon
