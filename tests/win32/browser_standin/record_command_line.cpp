// Stands in for a web browser in the Win32 tests: appends the command line it was started
// with to the file named by QUILLON_BROWSER_RECORD, one line per start.

#include <windows.h>

#include <cstdio>

int main() {
  char record[MAX_PATH] = {};
  if (::GetEnvironmentVariableA("QUILLON_BROWSER_RECORD", record, MAX_PATH) == 0) return 2;
  std::FILE* out = std::fopen(record, "a");
  if (out == nullptr) return 1;
  std::fprintf(out, "%s\n", ::GetCommandLineA());
  std::fclose(out);
  return 0;
}
