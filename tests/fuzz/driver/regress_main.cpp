// Runs a fuzz target over stored inputs without libFuzzer: the files kept from earlier crashes
// (tests/data/regress/<name>/) and the seed corpus (tests/fuzz/corpus/<name>/), or the files and
// folders given on the command line. A fault ends the run with a non-zero status after naming
// the input; under the sanitizers their report comes first.

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) __attribute__((weak));
extern "C" void __sanitizer_set_death_callback(void (*callback)()) __attribute__((weak));

namespace {

namespace fs = std::filesystem;

// The input being run, kept as a plain buffer so that a signal handler can print it.
char g_current[4096];

void NameCurrentInput() {
  static const char kPrefix[] = "\nfuzz regression: fault on input ";
  if (write(2, kPrefix, sizeof kPrefix - 1) < 0) return;
  if (write(2, g_current, std::strlen(g_current)) < 0) return;
  if (write(2, "\n", 1) < 0) return;
}

void OnFatalSignal(int signal) {
  NameCurrentInput();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void Collect(const fs::path& path, std::vector<fs::path>& inputs) {
  std::error_code error;
  if (fs::is_directory(path, error)) {
    for (fs::recursive_directory_iterator it(path, error), end; !error && it != end;
         it.increment(error)) {
      if (it->is_regular_file(error)) inputs.push_back(it->path());
    }
  } else if (fs::is_regular_file(path, error)) {
    inputs.push_back(path);
  }
}

// Exactly sized heap copy, so that a read one byte past the input is caught by ASan.
bool ReadInput(const fs::path& path, std::unique_ptr<std::uint8_t[]>& data, std::size_t& size) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return false;
  size = static_cast<std::size_t>(in.tellg());
  data.reset(new std::uint8_t[size == 0 ? 1 : size]);
  in.seekg(0);
  return static_cast<bool>(in.read(reinterpret_cast<char*>(data.get()),
                                   static_cast<std::streamsize>(size)));
}

}  // namespace

int main(int argc, char** argv) {
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
  if (__sanitizer_set_death_callback) {
    __sanitizer_set_death_callback(NameCurrentInput);
  } else {
    for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) std::signal(signal, OnFatalSignal);
  }

  std::vector<fs::path> inputs;
  if (argc > 1) {
    for (int i = 1; i < argc; ++i) Collect(argv[i], inputs);
  } else {
    Collect(QUILLON_REGRESS_DIR, inputs);
    Collect(QUILLON_CORPUS_DIR, inputs);
  }
  std::sort(inputs.begin(), inputs.end());

  for (const fs::path& path : inputs) {
    std::snprintf(g_current, sizeof g_current, "%s", path.c_str());
    std::unique_ptr<std::uint8_t[]> data;
    std::size_t size = 0;
    if (!ReadInput(path, data, size)) {
      std::fprintf(stderr, "fuzz_regress_%s: cannot read %s\n", QUILLON_FUZZ_NAME, g_current);
      return 2;
    }
    LLVMFuzzerTestOneInput(data.get(), size);
  }
  std::printf("fuzz_regress_%s: %zu inputs ok\n", QUILLON_FUZZ_NAME, inputs.size());
  return 0;
}
