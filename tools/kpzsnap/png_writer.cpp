#include "tools/kpzsnap/png_writer.h"

#include <zlib.h>

#include <cstdio>
#include <memory>

namespace quillon {

namespace {

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v >> 24));
  out.push_back(static_cast<std::uint8_t>(v >> 16));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
  out.push_back(static_cast<std::uint8_t>(v));
}

// Length, type, data, and the CRC over type and data.
void PutChunk(std::vector<std::uint8_t>& out, const char (&type)[5],
              const std::vector<std::uint8_t>& data) {
  PutU32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  const uLong crc = crc32(0L, out.data() + typeAt, static_cast<uInt>(4 + data.size()));
  PutU32(out, static_cast<std::uint32_t>(crc));
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const SnapImage& image) {
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<std::size_t>(image.width) * image.height)
    return {};
  // Each row: filter type 0 (none), then red, green, blue.
  const std::size_t rowBytes = 1 + 3 * static_cast<std::size_t>(image.width);
  std::vector<std::uint8_t> raw(rowBytes * image.height);
  std::uint8_t* p = raw.data();
  const std::uint32_t* pixel = image.pixels.data();
  for (int y = 0; y < image.height; ++y) {
    *p++ = 0;
    for (int x = 0; x < image.width; ++x, ++pixel) {
      *p++ = static_cast<std::uint8_t>(*pixel >> 16);
      *p++ = static_cast<std::uint8_t>(*pixel >> 8);
      *p++ = static_cast<std::uint8_t>(*pixel);
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<std::uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 6) != Z_OK)
    return {};
  packed.resize(packedSize);

  std::vector<std::uint8_t> header;
  PutU32(header, static_cast<std::uint32_t>(image.width));
  PutU32(header, static_cast<std::uint32_t>(image.height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, filters, no interlace

  std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", packed);
  PutChunk(png, "IEND", {});
  return png;
}

bool WritePng(const std::string& path, const SnapImage& image) {
  const std::vector<std::uint8_t> png = EncodePng(image);
  if (png.empty()) return false;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                       &std::fclose);
  if (!file) return false;
  const bool written = std::fwrite(png.data(), 1, png.size(), file.get()) == png.size();
  return std::fclose(file.release()) == 0 && written;
}

}  // namespace quillon
