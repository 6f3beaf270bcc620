// Writes malformed-stream seeds into the decoder targets' corpora: the broken streams the
// decoder unit tests build (cut, damaged, made for another size, records short of a pair, marker segments longer than the record), each behind the fuzz
// head of its target (u16 width, u16 rows, options; see raster_fuzz_input.h).
//
//   make_decoder_seeds CORPUS_ROOT

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "render/codecs/raster_lead.h"
#include "tests/support/native/raster_oracle.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace oracle = quillon::oracle;

struct Seed {
  std::string target, name;
  Bytes bytes;
};

Bytes Head(int width, int rows, std::uint8_t options, const Bytes& body) {
  Bytes out = {static_cast<std::uint8_t>(width), static_cast<std::uint8_t>(width >> 8),
               static_cast<std::uint8_t>(rows), static_cast<std::uint8_t>(rows >> 8), options};
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

Bytes Cut(const Bytes& stream, std::size_t n) { return Bytes(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(n)); }

void Group4(std::vector<Seed>& seeds) {
  const Bytes stream = oracle::EncodeGroup4(oracle::SyntheticDrawing(300, 200, 7, 10));
  seeds.push_back({"group4", "cut_half", Head(300 - 1, 200 - 1, 0, Cut(stream, stream.size() / 2))});
  for (std::size_t n : {1, 7, 8, 9}) {
    seeds.push_back({"group4", "cut_" + std::to_string(n), Head(300 - 1, 200 - 1, 1, Cut(stream, n))});
  }
  Bytes damaged = oracle::EncodeGroup4(oracle::SyntheticDrawing(500, 300, 8, 10));
  for (std::size_t i = 0; i < damaged.size(); i += 97) damaged[i] ^= 0x5A;
  seeds.push_back({"group4", "damaged", Head(500 - 1, 300 - 1, 2, damaged)});
  seeds.push_back({"group4", "zeros", Head(499, 299, 0, Bytes(64, 0))});
  const Bytes wide = oracle::EncodeGroup4(oracle::SyntheticDrawing(400, 50, 9, 10));
  seeds.push_back({"group4", "made_for_wider", Head(200 - 1, 50 - 1, 0, wide)});
  Bytes lead(quillon::kRasterLeadBytes, 0xAB);
  lead.insert(lead.end(), stream.begin(), stream.begin() + 5);
  seeds.push_back({"group4", "lead_then_cut", Head(299, 199, 0x20 | 0x08, lead)});
  seeds.push_back({"group4", "lead_short", Head(299, 199, 0x20, Bytes(100, 0xAB))});
}

void Jpeg(std::vector<Seed>& seeds) {
  const Bytes stream = oracle::EncodeJpeg(oracle::SyntheticPicture(64, 64, 3, 4), 90);
  for (std::size_t n : {std::size_t{2}, std::size_t{100}, stream.size() / 2, stream.size() - 2}) {
    seeds.push_back({"jpeg", "cut_" + std::to_string(n), Head(63, 63, 3, Cut(stream, n))});
  }
  Bytes spoiled = stream;
  for (std::size_t i = 2; i < spoiled.size(); i += 37) spoiled[i] ^= 0xFF;
  seeds.push_back({"jpeg", "spoiled", Head(63, 63, 2, spoiled)});
  seeds.push_back({"jpeg", "garbage", Head(63, 63, 0, Bytes(500, 0x33))});
  const Bytes large = oracle::EncodeJpeg(oracle::SyntheticPicture(64, 32, 3, 4), 90);
  seeds.push_back({"jpeg", "larger_than_raster", Head(31, 31, 0, large)});
  seeds.push_back({"jpeg", "segment_past_record", Head(7, 7, 0, {0xFF, 0xD8, 0xFF, 0xE1, 0x40, 0x00, 1, 2, 3, 4})});
}

void PackBits(std::vector<Seed>& seeds) {
  // Per-row records (option bit 7): a run past the width, a literal past the record.
  seeds.push_back({"packbits", "rows_overrun", Head(3, 1, 0x80, {2, 0xF0, 3, 3, 5, 1, 2})});
  seeds.push_back({"packbits", "row_cut_run", Head(3, 0, 0x80, {1, 0xF0})});
  Bytes lead(quillon::kRasterLeadBytes, 0xAB);
  lead.insert(lead.end(), {0xFC, 9});
  seeds.push_back({"packbits", "image_cut_short", Head(2, 2, 0x20 | 2, lead)});
  seeds.push_back({"planar_rgb", "image_cut_short", Head(1, 1, 0, {0xFE, 9, 0xFE, 8, 0xFE, 7, 0xFE, 1})});
  seeds.push_back({"planar_rgb", "rows_cut", Head(4, 1, 0x80, {3, 0xFE, 9, 0xFE, 1, 0x05})});
}

void RunPairs(std::vector<Seed>& seeds) {
  // Last records of 4k+1, 4k+2 and 4k+3 bytes ending the input.
  for (int extra = 1; extra <= 3; ++extra) {
    Bytes body = {static_cast<std::uint8_t>(8 + extra), 3, 0, 5, 0, 20, 0, 4, 0};
    body.insert(body.end(), static_cast<std::size_t>(extra), 0x01);
    seeds.push_back({"run_pairs", "short_of_a_pair_" + std::to_string(extra), Head(39, 0, 0, body)});
  }
  seeds.push_back({"run_pairs", "skip_past_width", Head(39, 1, 0, {4, 0xFF, 0xFF, 1, 0, 4, 30, 0, 0xFF, 0xFF})});
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_decoder_seeds CORPUS_ROOT\n");
    return 2;
  }
  std::vector<Seed> seeds;
  Group4(seeds);
  Jpeg(seeds);
  PackBits(seeds);
  RunPairs(seeds);
  for (const Seed& seed : seeds) {
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / seed.target;
    std::filesystem::create_directories(folder);
    std::ofstream out(folder / ("malformed_" + seed.name), std::ios::binary);
    out.write(reinterpret_cast<const char*>(seed.bytes.data()), static_cast<std::streamsize>(seed.bytes.size()));
    if (!out) return 1;
  }
  std::printf("%zu seeds written under %s\n", seeds.size(), argv[1]);
  return 0;
}
