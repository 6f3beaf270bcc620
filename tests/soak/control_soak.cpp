// The control made, used and dropped a thousand times in a real container: each cycle opens a
// plot (the samples and the broken files in turn), paints, zooms, pans, turns, resizes and
// closes. Every hundred cycles the process's GDI and USER objects, handles and private memory
// (under Wine, where the next handle lands in its table: see HandleSlot) are written as a
// table row; the end says whether they stayed flat. Run by scripts/soak.
//
//   control_soak.exe CYCLES PLOT...

#include <windows.h>
// After <windows.h>.
#include <psapi.h>
#include <winternl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/win32/control_host.h"

namespace {

struct Sample {
  int cycle;
  DWORD gdi, user, handles;
  SIZE_T privateBytes;
};

// Windows counts a process's kernel handles (GetProcessHandleCount); Wine answers 0, but its
// server gives a new handle the lowest free slot of the table, so with no leak a new handle
// keeps landing in the same slot and each leaked one pushes it further.
DWORD HandleSlot() {
  HANDLE probe = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
  const DWORD slot = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(probe) / 4);
  ::CloseHandle(probe);
  return slot;
}

// Wine answers 0 to GetGuiResources. Its GDI objects are the entries of a handle table the
// process can read (PEB GdiSharedHandleTable: 24-byte entries whose byte 14, the type, is 0
// when free). On Windows that table spans the session, so it is read only when
// GetGuiResources has no answer. Counting stops at the first page that cannot be read.
DWORD GdiTableEntries() {
  constexpr std::size_t kPebTable = sizeof(void*) == 8 ? 0xF8 : 0x94;
  constexpr std::size_t kEntry = 24, kEntries = 0x10000;
  using Query = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic{};
  if (query == nullptr || query(::GetCurrentProcess(), ProcessBasicInformation, &basic,
                                sizeof basic, nullptr) != 0)
    return 0;
  const auto* peb = reinterpret_cast<const BYTE*>(basic.PebBaseAddress);
  const BYTE* table = *reinterpret_cast<const BYTE* const*>(peb + kPebTable);
  if (table == nullptr) return 0;
  DWORD live = 0;
  const BYTE* readable = table;  // end of the committed region seen so far
  for (std::size_t i = 0; i < kEntries; ++i) {
    const BYTE* entry = table + i * kEntry;
    if (entry + kEntry > readable) {
      MEMORY_BASIC_INFORMATION region{};
      if (::VirtualQuery(entry, &region, sizeof region) == 0 || region.State != MEM_COMMIT ||
          (region.Protect & (PAGE_NOACCESS | PAGE_GUARD)) != 0)
        break;
      readable = static_cast<const BYTE*>(region.BaseAddress) + region.RegionSize;
      if (entry + kEntry > readable) break;
    }
    if (entry[14] != 0) ++live;
  }
  return live;
}

// Wine's stand-in for the USER objects: the process's windows, top-level and message-only,
// with all their descendants (what a leaking control would leave behind).
BOOL CALLBACK CountDescendant(HWND, LPARAM count) {
  ++*reinterpret_cast<DWORD*>(count);
  return TRUE;
}

BOOL CALLBACK CountOwnWindow(HWND window, LPARAM count) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(window, &pid);
  if (pid == ::GetCurrentProcessId()) {
    ++*reinterpret_cast<DWORD*>(count);
    ::EnumChildWindows(window, CountDescendant, count);
  }
  return TRUE;
}

DWORD OwnWindows() {
  DWORD count = 0;
  ::EnumWindows(CountOwnWindow, reinterpret_cast<LPARAM>(&count));
  for (HWND w = ::FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); w != nullptr;
       w = ::FindWindowExA(HWND_MESSAGE, w, nullptr, nullptr))
    CountOwnWindow(w, reinterpret_cast<LPARAM>(&count));
  return count;
}

// Set when a column had to use Wine's stand-in, so that the table can say so.
bool gdiFromTable = false, userFromWindows = false;

Sample Take(int cycle) {
  const HANDLE self = ::GetCurrentProcess();
  Sample s{cycle, ::GetGuiResources(self, GR_GDIOBJECTS), ::GetGuiResources(self, GR_USEROBJECTS),
           0, 0};
  if (s.gdi == 0 && (s.gdi = GdiTableEntries()) != 0) gdiFromTable = true;
  if (s.user == 0 && (s.user = OwnWindows()) != 0) userFromWindows = true;
  ::GetProcessHandleCount(self, &s.handles);
  if (s.handles == 0) s.handles = HandleSlot();
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (::GetProcessMemoryInfo(self, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory)) {
    s.privateBytes = memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage;
  }
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  using quillon::control_test::HostedControl;
  if (argc < 3) {
    std::fprintf(stderr, "usage: control_soak CYCLES PLOT...\n");
    return 2;
  }
  const int cycles = std::atoi(argv[1]);
  std::vector<std::string> plots(argv + 2, argv + argc);
  if (quillon::control_test::RegisterControl() != S_OK) {
    std::fprintf(stderr, "quillon.dll beside this program could not be registered\n");
    return 1;
  }
  std::vector<Sample> samples;
  std::size_t messages = 0, opened = 0;
  for (int cycle = 0; cycle <= cycles; ++cycle) {
    if (cycle % 100 == 0) {
      samples.push_back(Take(cycle));
      const Sample& s = samples.back();
      const auto count = [](DWORD n) { return n == 0 ? std::string("n/a") : std::to_string(n); };
      std::printf("| %d | %s | %s | %lu | %.1f |\n", s.cycle, count(s.gdi).c_str(),
                  count(s.user).c_str(), s.handles, s.privateBytes / 1048576.0);
      std::fflush(stdout);
    }
    if (cycle == cycles) break;
    // Messages go to the control's route, never to a modal box: a refused plot is counted.
    HostedControl host(400, 318);
    if (!host.ok()) {
      std::fprintf(stderr, "cycle %d: no control\n", cycle);
      return 1;
    }
    const std::string& plot = plots[static_cast<std::size_t>(cycle) % plots.size()];
    const DWORD started = ::GetTickCount();
    if (::GetEnvironmentVariableA("SOAK_TRACE", nullptr, 0) > 0) std::fprintf(stderr, "cycle %d: %s\n", cycle, plot.c_str());
    quillon::UniqueBstr name(std::wstring(plot.begin(), plot.end()));
    host.ctl->put_DataFileName(name.get());
    host.Pump();
    double scale = 0;
    if (SUCCEEDED(host.ctl->get_ViewScale(&scale))) ++opened;
    host.ctl->Scale(2);
    host.ctl->PanLeft();
    host.ctl->PanDown();
    host.ctl->RotateLeft();
    host.Resize(520, 410);
    host.ctl->Fit();
    host.Pump();
    messages += host.messages.size();
    // A plot that takes seconds is a fault of its own: said, so that it can be kept and fixed.
    if (const DWORD took = ::GetTickCount() - started; took > 2000)
      std::fprintf(stderr, "cycle %d took %lu ms: %s\n", cycle, took, plot.c_str());
  }
  // Flat: the last sample within a small constant of the one after the first hundred cycles
  // (caches and the first load's one-time allocations settle by then).
  const Sample& settled = samples.size() > 1 ? samples[1] : samples.front();
  const Sample& last = samples.back();
  const bool flat = last.gdi <= settled.gdi + 8 && last.user <= settled.user + 8 &&
                    last.handles <= settled.handles + 16 &&
                    last.privateBytes <= settled.privateBytes + 8 * 1048576;
  if (gdiFromTable) std::printf("GDI objects: live entries of the process's GDI handle table\n");
  if (userFromWindows) std::printf("USER objects: the process's windows (no USER count here)\n");
  std::printf("cycles %d, plots opened %zu, refusals routed %zu, %s\n", cycles, opened, messages,
              flat ? "flat" : "GROWING");
  return flat ? 0 : 1;
}
