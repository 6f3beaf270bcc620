// Writes the seed corpora of the control's fuzz targets: property streams and history records
// made by their own encoders (whole, cut short, with a newer version or a lying name length),
// settings value texts, property bags and view call sequences.
//
//   make_control_seeds CORPUS_ROOT     (the folder holding one folder per target)

#include <bit>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "control/history_record.h"
#include "control/property_stream.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct Seed {
  std::string target, name;
  Bytes bytes;
};

void PutDouble(Bytes& out, double v) {
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<std::uint8_t>(std::bit_cast<std::uint64_t>(v) >> (8 * i)));
}
void PutInt(Bytes& out, std::int32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i)));
}
Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

void AddStreams(std::vector<Seed>& seeds) {
  quillon::PersistedProperties p;
  p.cx = 21167;
  p.cy = 15875;
  p.DataFileName = u"http://plans.example/site plan.kpz";
  p.xOrg = -120.5;
  p.yOrg = 1e300;
  p.ViewScale = 0.25;
  p.Rot = 90;
  const Bytes whole = quillon::EncodeProperties(p);
  seeds.push_back({"property_stream", "whole", whole});
  seeds.push_back({"property_stream", "cut_in_name", Bytes(whole.begin(), whole.begin() + 25)});
  seeds.push_back({"property_stream", "cut_in_rot", Bytes(whole.begin(), whole.end() - 5)});
  Bytes newer = whole;
  newer[1] = 0x04;
  seeds.push_back({"property_stream", "newer_version", newer});
  Bytes odd = whole;
  odd[14] = 0x45;  // an odd name length
  seeds.push_back({"property_stream", "odd_name_length", odd});
  Bytes huge = whole;
  huge[17] = 0x7F;  // a name length of gigabytes
  seeds.push_back({"property_stream", "huge_name_length", huge});
  p.DataFileName.clear();
  p.xOrg = kNaN;
  p.Rot = -1;
  seeds.push_back({"property_stream", "empty_name_nan", quillon::EncodeProperties(p)});
}

void AddHistory(std::vector<Seed>& seeds) {
  quillon::HistoryRecord r;
  r.xOrg = 10;
  r.yOrg = -kInf;
  r.ViewScale = 0.5;
  r.Rot = 180;
  r.path = "C:\\plans\\site.kpz";
  const auto whole = quillon::EncodeHistory(r);
  seeds.push_back({"history_record", "whole", Bytes(whole.begin(), whole.end())});
  seeds.push_back({"history_record", "one_short", Bytes(whole.begin(), whole.end() - 1)});
  Bytes unterminated(whole.begin(), whole.end());
  for (std::size_t i = quillon::HistoryRecord::kPathOffset; i < unterminated.size(); ++i) unterminated[i] = 'x';
  seeds.push_back({"history_record", "path_unterminated", unterminated});
  unterminated.push_back('y');
  seeds.push_back({"history_record", "one_long", unterminated});
}

void AddSettings(std::vector<Seed>& seeds) {
  const char* texts[] = {"1.5", "2.", "0.", "1", "270", "90.000000001", "-0", "5.e-002",
                         "1e309", "nan", "  +1.2e+3xyz", "0x1p1", "inf", "-2147483649"};
  int n = 0;
  for (const char* t : texts) seeds.push_back({"settings_values", "text_" + std::to_string(n++), Text(t)});
  Bytes denormal;
  PutDouble(denormal, 4.9e-324);
  seeds.push_back({"settings_values", "denormal_bits", denormal});
}

Bytes Entry(int name, const std::string& text) {
  Bytes out;
  out.push_back(static_cast<std::uint8_t>(name));
  out.push_back(static_cast<std::uint8_t>(text.size()));
  for (char c : text) out.push_back(static_cast<std::uint8_t>(c));
  return out;
}

void AddBags(std::vector<Seed>& seeds) {
  // Names: 0 _cx, 1 _cy, 2 DataFileName, 3 xOrg, 4 yOrg, 5 ViewScale, 6 Rot.
  const std::vector<std::vector<std::pair<int, std::string>>> bags = {
      {{0, "21167"}, {1, "15875"}, {2, "view.kpz"}, {3, "0"}, {4, "0"}, {5, "0"}, {6, "270"}},
      {{2, "view.kpz"}, {5, "1e300"}, {3, "-1e308"}, {6, "90"}},
      {{2, "view.kpz"}, {5, "-0.5"}, {4, "nan"}, {6, "180"}},
      {{2, "view.kpz"}, {5, "1e-300"}, {0, "4e9"}, {1, "1"}},
      {{2, "http://plans.example/a.kpz"}, {6, "45"}},
      {{2, ""}, {6, "2147483648"}},
  };
  int n = 0;
  for (const auto& bag : bags) {
    Bytes bytes;
    for (const auto& [name, text] : bag) {
      const Bytes entry = Entry(name, text);
      bytes.insert(bytes.end(), entry.begin(), entry.end());
    }
    seeds.push_back({"property_bag", "bag_" + std::to_string(n++), bytes});
  }
}

void AddCalls(std::vector<Seed>& seeds) {
  // Call numbers as view_calls reads them.
  enum { kScaleIt = 0, kFit = 3, kPanLeft = 4, kPanDown = 7, kRotateLeft = 8, kRotateRight = 9,
         kPutScale = 10, kPutX = 11, kPutY = 12, kPutRot = 13, kZoomAbout = 14, kZoomToRect = 18,
         kJournal = 21, kResize = 22, kPaint = 23 };
  Bytes zooms = {100, 75};
  for (double f : {2.0, 1e308, kNaN, -3.0, 1e-308, 0.5, kInf}) {
    zooms.push_back(kScaleIt);
    PutDouble(zooms, f);
    zooms.push_back(kPaint);
  }
  seeds.push_back({"view_calls", "zooms", zooms});

  Bytes puts = {50, 40, kPutScale};
  PutDouble(puts, 1e300);
  puts.push_back(kPutX);
  PutDouble(puts, -1e300);
  puts.push_back(kPutY);
  PutDouble(puts, kNaN);
  puts.push_back(kPaint);
  puts.push_back(kPutRot);
  PutInt(puts, 45);
  puts.push_back(kPutRot);
  PutInt(puts, 180);
  for (int i = 0; i < 3; ++i) puts.insert(puts.end(), {kRotateLeft, kPaint, kPanLeft, kPanDown});
  seeds.push_back({"view_calls", "puts_and_turns", puts});

  Bytes tools = {255, 255, kJournal, kZoomAbout};
  PutDouble(tools, 1.5);
  PutInt(tools, -2147483647 - 1);
  PutInt(tools, 2147483647);
  tools.push_back(kZoomToRect);
  for (std::int32_t v : {0, 0, 2147483647, 1}) PutInt(tools, v);
  tools.insert(tools.end(), {kPaint, kRotateRight, kResize, 3, 200, kPaint, kFit, kPaint});
  seeds.push_back({"view_calls", "tools_resize", tools});
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_control_seeds CORPUS_ROOT\n");
    return 2;
  }
  std::vector<Seed> seeds;
  AddStreams(seeds);
  AddHistory(seeds);
  AddSettings(seeds);
  AddBags(seeds);
  AddCalls(seeds);
  for (const Seed& seed : seeds) {
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / seed.target;
    std::filesystem::create_directories(folder);
    std::ofstream out(folder / seed.name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(seed.bytes.data()),
              static_cast<std::streamsize>(seed.bytes.size()));
    if (!out) {
      std::fprintf(stderr, "make_control_seeds: cannot write %s\n", (folder / seed.name).c_str());
      return 1;
    }
  }
  std::printf("%zu seeds written under %s\n", seeds.size(), argv[1]);
  return 0;
}
