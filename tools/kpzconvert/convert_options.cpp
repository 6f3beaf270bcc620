#include "tools/kpzconvert/convert_options.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace quillon {

const char kConvertHelp[] =
    "usage: kpzconvert FILE OUT.png|OUT.pdf|OUT.svg [options]\n"
    "       kpzconvert -o DIR [--format png|pdf|svg] FILE... [options]\n"
    "       kpzconvert --help\n"
    "\n"
    "Draws KPZ plots into PNG pictures, PDF pages or SVG drawings, as the control draws them.\n"
    "With -o, every FILE goes to DIR under its own name with the format's extension (PNG\n"
    "unless --format says otherwise), with a line per file and a summary.\n"
    "\n"
    "--rot R           quarter turn of the view: 0, 90, 180 or 270 (default 270, the\n"
    "                  control's initial view)\n"
    "--dpi N           PNG: N pixels per inch of the plot's true size (default 96).\n"
    "                  PDF/SVG: the resolution of one-pixel lines, hatches and pattern\n"
    "                  pixels (default the plot's own, at least 300)\n"
    "--size WxH        PNG: a W x H picture with the turned page fitted into it, in its\n"
    "                  top-left corner. PDF/SVG: the page fitted into W x H millimetres\n"
    "--scale S         PNG: S pixels per plot dot. PDF/SVG: S times the true size\n"
    "--page N          draws only page N (from 1) of the plot's pages\n"
    "--antialias on|off  smooth edges (default on); off gives GDI's hard pixels\n"
    "--help            this text\n"
    "\n"
    "PDF and SVG pages have the plot's true size unless --size or --scale says otherwise:\n"
    "one metre of plot is one metre of paper.\n"
    "\n"
    "Exit status: 0 every file converted; 1 some file could not be read or written (the\n"
    "reason on stderr); 2 usage error.\n";

namespace {

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::optional<OutputFormat> FormatOfWord(const std::string& word) {
  const std::string w = Lower(word);
  if (w == "png") return OutputFormat::Png;
  if (w == "pdf") return OutputFormat::Pdf;
  if (w == "svg") return OutputFormat::Svg;
  return std::nullopt;
}

bool ParseNumber(const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return end && *end == '\0' && std::isfinite(value) && value > 0;
}

bool ParseWhole(const std::string& text, long low, long high, long& value) {
  if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0]))) return false;
  char* end = nullptr;
  value = std::strtol(text.c_str(), &end, 10);
  return end && *end == '\0' && value >= low && value <= high;
}

bool ParseSize(const std::string& text, int& width, int& height) {
  const auto x = text.find_first_of("xX");
  if (x == std::string::npos) return false;
  long w = 0, h = 0;
  if (!ParseWhole(text.substr(0, x), 1, 100000, w) || !ParseWhole(text.substr(x + 1), 1, 100000, h))
    return false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

}  // namespace

std::optional<OutputFormat> FormatOfName(const std::string& name) {
  const std::string ext = std::filesystem::path(name).extension().string();
  if (ext.size() < 2) return std::nullopt;
  return FormatOfWord(ext.substr(1));
}

const char* ExtensionOf(OutputFormat format) {
  switch (format) {
    case OutputFormat::Pdf:
      return ".pdf";
    case OutputFormat::Svg:
      return ".svg";
    default:
      return ".png";
  }
}

std::string ParseConvertOptions(const std::vector<std::string>& args, ConvertOptions& options) {
  options = ConvertOptions{};
  std::vector<std::string> files;
  std::optional<std::string> outDir;
  std::optional<OutputFormat> format;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) return false;
      out = args[++i];
      return true;
    };
    auto sizing = [&](Sizing s) {
      if (options.sizing != Sizing::Default && options.sizing != s) return false;
      options.sizing = s;
      return true;
    };
    std::string v;
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      return "";
    } else if (arg == "-o") {
      if (!value(v) || v.empty()) return "-o needs a folder";
      outDir = v;
    } else if (arg == "--format") {
      if (!value(v) || !(format = FormatOfWord(v))) return "--format needs png, pdf or svg";
    } else if (arg == "--rot") {
      long r = 0;
      if (!value(v) || !ParseWhole(v, 0, 270, r) || r % 90 != 0)
        return "--rot needs 0, 90, 180 or 270";
      options.rotation = static_cast<int>(r);
    } else if (arg == "--dpi") {
      if (!value(v) || !ParseNumber(v, options.dpi) || options.dpi < 0.01 || options.dpi > 100000)
        return "--dpi needs a number of pixels per inch, e.g. 150";
      if (!sizing(Sizing::Dpi)) return "--dpi, --size and --scale exclude each other";
    } else if (arg == "--size") {
      if (!value(v) || !ParseSize(v, options.width, options.height))
        return "--size needs WxH, e.g. 1600x1200";
      if (!sizing(Sizing::Size)) return "--dpi, --size and --scale exclude each other";
    } else if (arg == "--scale") {
      if (!value(v) || !ParseNumber(v, options.scale) || options.scale < 1e-6 ||
          options.scale > 1000)
        return "--scale needs a positive number, e.g. 0.5";
      if (!sizing(Sizing::Scale)) return "--dpi, --size and --scale exclude each other";
    } else if (arg == "--page") {
      long n = 0;
      if (!value(v) || !ParseWhole(v, 1, 65535, n)) return "--page needs a page number from 1";
      options.page = static_cast<int>(n);
    } else if (arg == "--antialias") {
      if (!value(v) || (v != "on" && v != "off")) return "--antialias needs on or off";
      options.antialias = v == "on";
    } else if (arg.size() > 1 && arg[0] == '-') {
      return "unknown option " + arg;
    } else {
      files.push_back(arg);
    }
  }

  if (outDir) {
    if (files.empty()) return "no plot given";
    options.batch = true;
    const OutputFormat f = format.value_or(OutputFormat::Png);
    for (const std::string& file : files) {
      std::filesystem::path out = std::filesystem::path(*outDir) / std::filesystem::path(file).filename();
      out.replace_extension(ExtensionOf(f));
      options.jobs.push_back({file, out.string(), f});
    }
    return "";
  }
  if (files.size() != 2) return files.size() < 2 ? "give a plot and the file to write" : "more than one plot needs -o DIR";
  const auto named = FormatOfName(files[1]);
  if (!named && !format) return "the output name ends in neither .png, .pdf nor .svg: " + files[1];
  options.jobs.push_back({files[0], files[1], format.value_or(named.value_or(OutputFormat::Png))});
  return "";
}

}  // namespace quillon
