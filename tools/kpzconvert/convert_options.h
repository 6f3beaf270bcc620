#pragma once
// kpzconvert's command line: which plots go to which files, in which format and at what size.

#include <optional>
#include <string>
#include <vector>

namespace quillon {

enum class OutputFormat { Png, Pdf, Svg };

// How the picture is sized; each format reads the numbers in its own units (see kConvertHelp).
enum class Sizing { Default, Dpi, Size, Scale };

struct ConvertJob {
  std::string file;  // the KPZ plot
  std::string out;
  OutputFormat format = OutputFormat::Png;
};

struct ConvertOptions {
  std::vector<ConvertJob> jobs;
  bool batch = false;  // -o DIR: a progress line per file and a summary
  int rotation = 270;  // the control's initial view
  Sizing sizing = Sizing::Default;
  double dpi = 0;
  int width = 0, height = 0;
  double scale = 0;
  std::optional<int> page;  // 1-based
  bool antialias = true;
  bool help = false;
};

// Fills `options` from the arguments after the program name; answers "" or why the command
// line is refused.
std::string ParseConvertOptions(const std::vector<std::string>& args, ConvertOptions& options);

// The format an output name asks for by its extension (any case).
std::optional<OutputFormat> FormatOfName(const std::string& name);
const char* ExtensionOf(OutputFormat format);

extern const char kConvertHelp[];

}  // namespace quillon
