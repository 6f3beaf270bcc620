// kpzconvert: KPZ plots into PNG, PDF and SVG files, natively, through the control's loader and
// interpreter drawing on cairo.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "document/native/native_document_platform.h"
#include "tools/kpzconvert/convert_options.h"
#include "tools/kpzconvert/plot_conversion.h"

namespace {

constexpr int kAllConverted = 0;
constexpr int kSomeFailed = 1;
constexpr int kUsageError = 2;

std::string SizeText(std::uintmax_t bytes) {
  char text[32];
  if (bytes >= 1u << 20)
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / (1u << 20));
  else
    std::snprintf(text, sizeof text, "%.1f kB", static_cast<double>(bytes) / 1024);
  return text;
}

std::string Describe(const quillon::ConvertJob& job, const quillon::PageGeometry& g) {
  char text[96];
  if (job.format == quillon::OutputFormat::Png)
    std::snprintf(text, sizeof text, "%dx%d pixels", g.deviceWidth, g.deviceHeight);
  else
    std::snprintf(text, sizeof text, "%.1f x %.1f mm", g.surfaceWidth / 72 * 25.4,
                  g.surfaceHeight / 72 * 25.4);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  quillon::ConvertOptions options;
  const std::string refused =
      quillon::ParseConvertOptions(std::vector<std::string>(argv + 1, argv + argc), options);
  if (!refused.empty()) {
    std::fprintf(stderr, "kpzconvert: %s\n(kpzconvert --help explains the options)\n",
                 refused.c_str());
    return kUsageError;
  }
  if (options.help) {
    std::fputs(quillon::kConvertHelp, stdout);
    return kAllConverted;
  }

  std::string message;
  quillon::NativeDocumentPlatform platform;
  platform.setMessageSink([&message](const std::string& text) { message = text; });

  if (options.batch) {
    std::error_code error;
    std::filesystem::create_directories(
        std::filesystem::path(options.jobs.front().out).parent_path(), error);
  }
  std::set<std::string> written;
  int converted = 0, failed = 0;
  const auto started = std::chrono::steady_clock::now();
  for (std::size_t i = 0; i < options.jobs.size(); ++i) {
    const quillon::ConvertJob& job = options.jobs[i];
    const auto begun = std::chrono::steady_clock::now();
    message.clear();
    quillon::ConversionResult result;
    if (!written.insert(job.out).second) {
      result.reason = "another plot of the same name was written to " + job.out;
    } else {
      result = quillon::ConvertPlot(platform, job, options);
      if (!result.ok && !message.empty()) result.reason += " (" + message + ")";
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
    if (result.ok) {
      ++converted;
      if (options.batch) {
        std::error_code error;
        const auto bytes = std::filesystem::file_size(job.out, error);
        std::printf("[%zu/%zu] %s -> %s (%s, %s, %.2f s)\n", i + 1, options.jobs.size(),
                    job.file.c_str(), job.out.c_str(), Describe(job, result.geometry).c_str(),
                    error ? "?" : SizeText(bytes).c_str(), seconds);
      }
    } else {
      ++failed;
      if (options.batch)
        std::printf("[%zu/%zu] %s: not converted\n", i + 1, options.jobs.size(), job.file.c_str());
      std::fprintf(stderr, "kpzconvert: %s: %s\n", job.file.c_str(), result.reason.c_str());
    }
    std::fflush(stdout);
  }
  if (options.batch) {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%d converted, %d failed (%.2f s)\n", converted, failed, seconds);
  }
  return failed == 0 ? kAllConverted : kSomeFailed;
}
