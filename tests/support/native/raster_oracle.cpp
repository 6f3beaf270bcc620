#include "tests/support/native/raster_oracle.h"

#include <jpeglib.h>
#include <tiffio.h>
#include <unistd.h>

#include <algorithm>
#include <csetjmp>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace quillon::oracle {

namespace {

std::string g_tiffMessages;

void CollectTiffMessage(const char* module, const char* format, va_list args) {
  char text[512];
  std::vsnprintf(text, sizeof text, format, args);
  g_tiffMessages += std::string(module ? module : "") + ": " + text + "\n";
}

// libtiff reports damage only through its handlers: collect instead of printing.
struct TiffHandlers {
  TIFFErrorHandler error, warning;
  TiffHandlers()
      : error(TIFFSetErrorHandler(CollectTiffMessage)),
        warning(TIFFSetWarningHandler(CollectTiffMessage)) {
    g_tiffMessages.clear();
  }
  ~TiffHandlers() {
    TIFFSetErrorHandler(error);
    TIFFSetWarningHandler(warning);
  }
};

class TempFile {
 public:
  TempFile() {
    char name[] = "/tmp/quillon-oracle-XXXXXX";
    const int fd = mkstemp(name);
    if (fd >= 0) close(fd);
    path_ = name;
  }
  ~TempFile() { std::remove(path_.c_str()); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

std::vector<std::uint8_t> RawStrip(TIFF* tif) {
  const tmsize_t size = TIFFRawStripSize(tif, 0);
  std::vector<std::uint8_t> raw(size > 0 ? static_cast<std::size_t>(size) : 0);
  if (!raw.empty() && TIFFReadRawStrip(tif, 0, raw.data(), size) != size) raw.clear();
  return raw;
}

std::size_t Padded(std::size_t bytes) { return (bytes + 3) / 4 * 4; }

}  // namespace

BitImage::BitImage(std::int32_t w, std::int32_t h)
    : width(w),
      rows(h),
      bits(((static_cast<std::size_t>(w) + 7) / 8) * static_cast<std::size_t>(h)) {}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::optional<TiffBitonal> ReadBitonalTiff(const std::string& path) {
  TiffHandlers handlers;
  TIFF* tif = TIFFOpen(path.c_str(), "r");
  if (!tif) return std::nullopt;
  std::uint32_t w = 0, h = 0;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
  TiffBitonal out;
  out.image = BitImage(static_cast<std::int32_t>(w), static_cast<std::int32_t>(h));
  out.stream = RawStrip(tif);
  const tmsize_t got = TIFFReadEncodedStrip(tif, 0, out.image.bits.data(),
                                            static_cast<tmsize_t>(out.image.bits.size()));
  TIFFClose(tif);
  out.warnings = g_tiffMessages;
  if (got != static_cast<tmsize_t>(out.image.bits.size())) return std::nullopt;
  return out;
}

std::vector<std::vector<std::uint8_t>> EncodeRunPairRows(const BitImage& image) {
  std::vector<std::vector<std::uint8_t>> rows;
  for (std::int32_t y = 0; y < image.rows; ++y) {
    std::vector<std::uint8_t> pairs;
    std::int32_t x = 0, last = 0;
    while (x < image.width) {
      if (!image.Get(x, y)) {
        ++x;
        continue;
      }
      std::int32_t end = x;
      while (end < image.width && image.Get(end, y)) ++end;
      for (std::int32_t v : {x - last, end - x}) {
        pairs.push_back(static_cast<std::uint8_t>(v & 0xFF));
        pairs.push_back(static_cast<std::uint8_t>(v >> 8));
      }
      last = x = end;
    }
    rows.push_back(std::move(pairs));
  }
  return rows;
}

std::vector<std::uint8_t> EncodeGroup4(const BitImage& image) {
  TiffHandlers handlers;
  TempFile file;
  TIFF* tif = TIFFOpen(file.path().c_str(), "w");
  if (!tif) return {};
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(image.width));
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(image.rows));
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
  TIFFSetField(tif, TIFFTAG_FILLORDER, FILLORDER_LSB2MSB);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, static_cast<std::uint32_t>(image.rows));
  std::vector<std::uint8_t> copy = image.bits;
  TIFFWriteEncodedStrip(tif, 0, copy.data(), static_cast<tmsize_t>(copy.size()));
  TIFFClose(tif);
  tif = TIFFOpen(file.path().c_str(), "r");
  if (!tif) return {};
  std::vector<std::uint8_t> raw = RawStrip(tif);
  TIFFClose(tif);
  return raw;
}

std::optional<TiffPackBits> ReadPackBitsTiff(const std::string& path) {
  TiffHandlers handlers;
  TIFF* tif = TIFFOpen(path.c_str(), "r");
  if (!tif) return std::nullopt;
  std::uint32_t w = 0, h = 0;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
  TiffPackBits out;
  out.image.width = static_cast<std::int32_t>(w);
  out.image.rows = static_cast<std::int32_t>(h);
  out.image.pixels.resize(static_cast<std::size_t>(w) * h);
  out.stream = RawStrip(tif);
  const tmsize_t got = TIFFReadEncodedStrip(tif, 0, out.image.pixels.data(),
                                            static_cast<tmsize_t>(out.image.pixels.size()));
  TIFFClose(tif);
  if (got != static_cast<tmsize_t>(out.image.pixels.size())) return std::nullopt;
  return out;
}

std::vector<std::uint8_t> EncodePackBits(const PixelImage& image) {
  TiffHandlers handlers;
  TempFile file;
  TIFF* tif = TIFFOpen(file.path().c_str(), "w");
  if (!tif) return {};
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(image.width));
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(image.rows));
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_PACKBITS);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, static_cast<std::uint32_t>(image.rows));
  std::vector<std::uint8_t> copy = image.pixels;
  TIFFWriteEncodedStrip(tif, 0, copy.data(), static_cast<tmsize_t>(copy.size()));
  TIFFClose(tif);
  tif = TIFFOpen(file.path().c_str(), "r");
  if (!tif) return {};
  std::vector<std::uint8_t> raw = RawStrip(tif);
  TIFFClose(tif);
  return raw;
}

std::vector<std::uint8_t> ToVariantPackBits(std::span<const std::uint8_t> standard) {
  std::vector<std::uint8_t> out;
  std::size_t i = 0;
  while (i < standard.size()) {
    const auto h = static_cast<std::int8_t>(standard[i++]);
    if (h >= 0) {
      std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(h) + 1, standard.size() - i);
      while (n > 0) {
        const std::size_t part = std::min<std::size_t>(n, 127);
        out.push_back(static_cast<std::uint8_t>(part));
        out.insert(out.end(), standard.begin() + static_cast<std::ptrdiff_t>(i),
                   standard.begin() + static_cast<std::ptrdiff_t>(i + part));
        i += part;
        n -= part;
      }
    } else if (h != -128 && i < standard.size()) {
      out.push_back(static_cast<std::uint8_t>(static_cast<std::int8_t>(h - 1)));
      out.push_back(standard[i++]);
    }
  }
  return out;
}

namespace {

struct JpegFailure {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void JpegFail(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegFailure*>(info->err)->jump, 1);
}

}  // namespace

std::optional<PixelImage> DecodeJpegReference(std::span<const std::uint8_t> stream) {
  jpeg_decompress_struct info{};
  JpegFailure failure{};
  info.err = jpeg_std_error(&failure.manager);
  failure.manager.error_exit = JpegFail;
  PixelImage* volatile result = new PixelImage;
  if (setjmp(failure.jump)) {
    jpeg_destroy_decompress(&info);
    delete result;
    return std::nullopt;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, stream.data(), static_cast<unsigned long>(stream.size()));
  jpeg_read_header(&info, TRUE);
  jpeg_start_decompress(&info);
  result->width = static_cast<std::int32_t>(info.output_width);
  result->rows = static_cast<std::int32_t>(info.output_height);
  result->bytesPerPixel = info.output_components;
  const std::size_t rowBytes = static_cast<std::size_t>(info.output_width) * info.output_components;
  result->pixels.resize(rowBytes * info.output_height);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = result->pixels.data() + rowBytes * info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  PixelImage out = std::move(*result);
  delete result;
  return out;
}

std::vector<std::uint8_t> EncodeJpeg(const PixelImage& image, int quality, bool progressive) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(image.width);
  info.image_height = static_cast<JDIMENSION>(image.rows);
  info.input_components = image.bytesPerPixel;
  info.in_color_space = image.bytesPerPixel == 3 ? JCS_RGB : JCS_GRAYSCALE;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  const std::size_t rowBytes = static_cast<std::size_t>(image.width) * image.bytesPerPixel;
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(image.pixels.data() + rowBytes * info.next_scanline);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<std::uint8_t> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

std::vector<std::uint8_t> ExpectedBitonal(const BitImage& image, int rotation, int factor,
                                          PairRule rule) {
  // Level by level, one byte per pixel; pixels beyond a level's edge are 0.
  std::int32_t w = image.width, h = image.rows;
  std::vector<std::uint8_t> level(static_cast<std::size_t>(w) * h);
  for (std::int32_t y = 0; y < h; ++y)
    for (std::int32_t x = 0; x < w; ++x)
      level[static_cast<std::size_t>(y) * w + x] = image.Get(x, y);
  auto pair = [rule](int a, int b) { return rule == PairRule::Or ? (a | b) : (a & b); };
  for (int f = factor; f > 1; f /= 2) {
    const std::int32_t nw = (w + 1) / 2, nh = h / 2;
    std::vector<std::uint8_t> next(static_cast<std::size_t>(nw) * nh);
    auto at = [&](std::int32_t x, std::int32_t y) {
      return x < w ? level[static_cast<std::size_t>(y) * w + x] : 0;
    };
    for (std::int32_t y = 0; y < nh; ++y)
      for (std::int32_t x = 0; x < nw; ++x)
        next[static_cast<std::size_t>(y) * nw + x] =
            static_cast<std::uint8_t>(pair(at(2 * x, 2 * y), at(2 * x + 1, 2 * y)) |
                                      pair(at(2 * x, 2 * y + 1), at(2 * x + 1, 2 * y + 1)));
    level.swap(next);
    w = nw;
    h = nh;
  }
  const std::int32_t rw = image.width / factor, rh = image.rows / factor;
  const bool turned = rotation == 90 || rotation == 270;
  const std::int32_t ow = turned ? rh : rw, oh = turned ? rw : rh;
  const std::size_t stride = Padded((static_cast<std::size_t>(ow) + 7) / 8);
  std::vector<std::uint8_t> out(stride * static_cast<std::size_t>(oh));
  for (std::int32_t r = 0; r < rh; ++r) {
    for (std::int32_t j = 0; j < rw; ++j) {
      if (!level[static_cast<std::size_t>(r) * w + j]) continue;
      std::int32_t x = j, y = r;
      if (rotation == 90) x = rh - 1 - r, y = j;
      if (rotation == 180) x = rw - 1 - j, y = rh - 1 - r;
      if (rotation == 270) x = r, y = rw - 1 - j;
      out[static_cast<std::size_t>(y) * stride + (x >> 3)] |=
          static_cast<std::uint8_t>(0x80u >> (x & 7));
    }
  }
  return out;
}

std::vector<std::uint8_t> ExpectedPixels(const PixelImage& image, int rotation) {
  const std::int32_t w = image.width, h = image.rows;
  const auto bpp = static_cast<std::size_t>(image.bytesPerPixel);
  const bool turned = rotation == 90 || rotation == 270;
  const std::int32_t ow = turned ? h : w, oh = turned ? w : h;
  const std::size_t stride = Padded(static_cast<std::size_t>(ow) * bpp);
  std::vector<std::uint8_t> out(stride * static_cast<std::size_t>(oh));
  for (std::int32_t r = 0; r < h; ++r) {
    for (std::int32_t j = 0; j < w; ++j) {
      std::int32_t x = j, y = r;
      if (rotation == 90) x = h - 1 - r, y = j;
      if (rotation == 180) x = w - 1 - j, y = h - 1 - r;
      if (rotation == 270) x = r, y = w - 1 - j;
      std::memcpy(&out[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) * bpp],
                  &image.pixels[(static_cast<std::size_t>(r) * w + j) * bpp], bpp);
    }
  }
  return out;
}

BitImage SyntheticDrawing(std::int32_t width, std::int32_t rows, unsigned seed, int density) {
  BitImage image(width, rows);
  std::mt19937 rng(seed);
  auto uniform = [&rng](std::int32_t n) {
    return n <= 0 ? 0 : static_cast<std::int32_t>(rng() % static_cast<unsigned>(n));
  };
  auto plot = [&image](std::int32_t x, std::int32_t y) {
    if (x >= 0 && y >= 0 && x < image.width && y < image.rows) image.Set(x, y);
  };
  const std::int64_t area = static_cast<std::int64_t>(width) * rows;
  const std::int64_t lines = std::max<std::int64_t>(1, area / 20000 * density);
  for (std::int64_t i = 0; i < lines; ++i) {
    // Lines at any angle, some thick.
    const std::int32_t x0 = uniform(width), y0 = uniform(rows);
    const std::int32_t x1 = uniform(width), y1 = uniform(rows);
    const std::int32_t thick = 1 + (uniform(8) == 0 ? uniform(4) : 0);
    const std::int32_t steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0)) + 1;
    for (std::int32_t s = 0; s <= steps; ++s) {
      const std::int32_t x =
          x0 + static_cast<std::int32_t>(static_cast<std::int64_t>(x1 - x0) * s / steps);
      const std::int32_t y =
          y0 + static_cast<std::int32_t>(static_cast<std::int64_t>(y1 - y0) * s / steps);
      for (std::int32_t t = 0; t < thick; ++t) plot(x + t, y);
    }
  }
  for (std::int64_t i = 0; i < lines / 4 + 1; ++i) {
    // Filled boxes and hatched boxes.
    const std::int32_t x0 = uniform(width), y0 = uniform(rows);
    const std::int32_t bw = 1 + uniform(std::max(1, width / 6)),
                       bh = 1 + uniform(std::max(1, rows / 6));
    const bool hatch = uniform(2) == 0;
    for (std::int32_t y = y0; y < y0 + bh; ++y)
      for (std::int32_t x = x0; x < x0 + bw; ++x)
        if (!hatch || (x + y) % 7 == 0) plot(x, y);
  }
  for (std::int64_t i = 0; i < area / 500 * density; ++i) plot(uniform(width), uniform(rows));
  return image;
}

PixelImage SyntheticPicture(std::int32_t width, std::int32_t rows, int bytesPerPixel,
                            unsigned seed) {
  PixelImage image;
  image.width = width;
  image.rows = rows;
  image.bytesPerPixel = bytesPerPixel;
  image.pixels.resize(static_cast<std::size_t>(width) * rows * bytesPerPixel);
  std::mt19937 rng(seed);
  std::size_t i = 0;
  for (std::int32_t y = 0; y < rows; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      for (int c = 0; c < bytesPerPixel; ++c) {
        // Flat areas (long runs), gradients and noise.
        const int band = (x / 37 + y / 23) % 3;
        int v = band == 0   ? 40 * c + 30
                : band == 1 ? (x * (c + 1) + y) & 255
                            : static_cast<int>(rng() & 255);
        image.pixels[i++] = static_cast<std::uint8_t>(v);
      }
    }
  }
  return image;
}

std::string RasterDataDir(const char* sharedDir) {
  const std::filesystem::path dir = std::filesystem::path(sharedDir) / "data" / "rasters";
  std::error_code error;
  return std::filesystem::is_directory(dir, error) ? dir.string() : std::string();
}

}  // namespace quillon::oracle
