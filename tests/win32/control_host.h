#pragma once
// Helpers of the control's Win32 tests: the library beside the test program, its
// registration, child processes (regsvr32, cscript), and a real ActiveX container (Wine's
// atl.dll AtlAxWin) with screen captures of what it shows.

#include <objbase.h>
#include <ocidl.h>
#include <perhist.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "base/win32/memory_dc.h"
#include "base/win32/unique_handle.h"
#include "control/quillon_h.h"
#include "control/win32/com_ptr.h"
#include "control/win32/message_route.h"
#include "control/win32/registration.h"

namespace quillon::control_test {

inline std::string Folder(const std::string& path) {
  return path.substr(0, path.find_last_of("\\/"));
}

inline std::string TestProgramFolder() {
  char self[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  return Folder(self);
}

inline std::string ControlLibraryPath() { return TestProgramFolder() + "\\quillon.dll"; }

// A file of the source tree as Windows names it.
inline std::string SourceFile(const std::string& relative) {
  std::string path = std::string(QUILLON_SOURCE_DIR) + "/" + relative;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

// Calls one of the library's exported registration entries.
inline HRESULT CallLibraryEntry(const char* entry) {
  HMODULE module = ::LoadLibraryA(ControlLibraryPath().c_str());
  if (module == nullptr) return HRESULT_FROM_WIN32(::GetLastError());
  using Entry = HRESULT(STDAPICALLTYPE*)();
  auto call = reinterpret_cast<Entry>(reinterpret_cast<void*>(::GetProcAddress(module, entry)));
  const HRESULT hr = call != nullptr ? call() : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
  ::FreeLibrary(module);
  return hr;
}

// Registers the library built beside the tests (the class, its ProgIDs and type library).
inline HRESULT RegisterControl() { return CallLibraryEntry("DllRegisterServer"); }

struct ProcessResult {
  bool started = false;
  bool finished = false;
  DWORD exitCode = 0;
  std::string output;  // standard output and error, carriage returns removed
};

// Runs a command line with its output captured; killed after timeoutMs.
inline ProcessResult RunProcess(const std::string& commandLine, DWORD timeoutMs = 60000) {
  ProcessResult result;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return result;
  ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  result.started = ::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                    nullptr, nullptr, &startup, &process);
  ::CloseHandle(writeEnd);
  if (!result.started) {
    ::CloseHandle(readEnd);
    return result;
  }
  // Read until the child closes its end; the pipe would otherwise fill and stall it.
  const DWORD start = ::GetTickCount();
  char buffer[4096];
  for (;;) {
    DWORD available = 0;
    if (!::PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr)) break;
    if (available > 0) {
      DWORD got = 0;
      if (!::ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) || got == 0) break;
      result.output.append(buffer, got);
      continue;
    }
    if (::WaitForSingleObject(process.hProcess, 20) == WAIT_OBJECT_0) {
      DWORD got = 0;
      while (::PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0 &&
             ::ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        result.output.append(buffer, got);
      }
      break;
    }
    if (::GetTickCount() - start > timeoutMs) {
      ::TerminateProcess(process.hProcess, 1);
      break;
    }
  }
  result.finished = ::WaitForSingleObject(process.hProcess, 5000) == WAIT_OBJECT_0;
  ::GetExitCodeProcess(process.hProcess, &result.exitCode);
  ::CloseHandle(process.hProcess);
  ::CloseHandle(process.hThread);
  ::CloseHandle(readEnd);
  result.output.erase(std::remove(result.output.begin(), result.output.end(), '\r'),
                      result.output.end());
  return result;
}

// Registry reads for the registration checks: nullopt-like "" with found = false.
struct RegText {
  bool found = false;
  std::string text;
};

inline bool KeyExists(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

// The control's per-user settings key, and writes of its values for tests that set them up.
inline const std::string kUserSettingsKey = "Software\\Veltramark\\Quillon";

inline bool SetUserValue(const char* name, DWORD type, const void* data, DWORD size) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, kUserSettingsKey.c_str(), 0, KEY_SET_VALUE, &key) !=
      ERROR_SUCCESS) {
    return false;
  }
  const bool ok =
      ::RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
  ::RegCloseKey(key);
  return ok;
}

inline bool SetUserText(const char* name, const std::string& text) {
  return SetUserValue(name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

inline bool SetUserDword(const char* name, DWORD value) {
  return SetUserValue(name, REG_DWORD, &value, sizeof value);
}

inline RegText ReadRegText(HKEY root, const std::string& path, const char* name) {
  RegText result;
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return result;
  char data[1024] = {};
  DWORD size = sizeof data - 1;
  DWORD type = 0;
  if (::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) ==
          ERROR_SUCCESS &&
      type == REG_SZ) {
    result.found = true;
    result.text = data;
  }
  ::RegCloseKey(key);
  return result;
}

inline std::string GuidText(REFGUID guid) {
  wchar_t wide[40] = {};
  ::StringFromGUID2(guid, wide, 40);
  return std::string(wide, wide + wcslen(wide));
}

}  // namespace quillon::control_test

// ---- A real container: Wine's atl.dll hosting the control in an AtlAxWin window.

namespace quillon::control_test {

// Answers the control's load messages in place of a modal box, keeping their texts.
inline void __stdcall KeepMessage(const char* text, void* context) {
  static_cast<std::vector<std::string>*>(context)->push_back(text);
}

class HostedControl {
 public:
  // The frame's client area holds the AtlAxWin child at (kLeft, kTop), width x height.
  static constexpr int kLeft = 10;
  static constexpr int kTop = 10;

  // routeMessages: the control's load messages go to messages() instead of a message box.
  HostedControl(int width, int height, bool routeMessages = true) {
    ::OleInitialize(nullptr);
    // Loaded and set up once for the process: its window class outlives any one container.
    static HMODULE atl = ::LoadLibraryA("atl.dll");
    static const bool ready = [] {
      using Init = BOOL(WINAPI*)();
      auto init =
          reinterpret_cast<Init>(reinterpret_cast<void*>(::GetProcAddress(atl, "AtlAxWinInit")));
      return atl != nullptr && init != nullptr && init();
    }();
    if (!ready) return;
    getControl_ = reinterpret_cast<GetControl>(
        reinterpret_cast<void*>(::GetProcAddress(atl, "AtlAxGetControl")));
    if (getControl_ == nullptr) return;

    WNDCLASSA wc{};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = "QuillonTestFrame";
    ::RegisterClassA(&wc);  // fails harmlessly when a test before registered it
    frame_ = ::CreateWindowExA(0, "QuillonTestFrame", "frame", WS_POPUP | WS_VISIBLE, 0, 0,
                               width + 2 * kLeft, height + 2 * kTop, nullptr, nullptr, wc.hInstance,
                               nullptr);
    if (frame_ == nullptr) return;
    // Messages go to the sink before the first paint can show one: paints only run when the
    // queue is pumped below.
    host_ = ::CreateWindowExA(0, "AtlAxWin", "QuillonCtl.QuillonCtl", WS_CHILD | WS_VISIBLE, kLeft,
                              kTop, width, height, frame_, nullptr, wc.hInstance, nullptr);
    if (host_ == nullptr) return;
    ComPtr<IUnknown> unknown;
    if (FAILED(getControl_(host_, &unknown)) || !unknown) return;
    unknown.As(&ctl);
    unknown.As(&oleWindow);
    unknown.As(&route);
    if (routeMessages && route) route->SetMessageSink(KeepMessage, &messages);
  }

  ~HostedControl() {
    route.Reset();
    ctl.Reset();
    oleWindow.Reset();
    if (frame_ != nullptr) ::DestroyWindow(frame_);  // the container releases the control
    Pump();
    ::OleUninitialize();
  }
  HostedControl(const HostedControl&) = delete;
  HostedControl& operator=(const HostedControl&) = delete;

  bool ok() const { return ctl != nullptr; }
  HWND frame() const { return frame_; }
  HWND host() const { return host_; }
  HWND ControlWindow() const {
    HWND window = nullptr;
    if (oleWindow) oleWindow->GetWindow(&window);
    return window;
  }

  // Runs the paints that are due, as the container's message loop would.
  void Pump() {
    for (int round = 0; round < 3; ++round) {
      if (frame_ != nullptr) {
        ::RedrawWindow(frame_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
      }
      MSG msg;
      while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
      }
    }
  }

  // What the frame shows now, children included, in a DIB section of its client size.
  std::unique_ptr<MemoryDc> Capture() {
    Pump();
    RECT client{};
    ::GetClientRect(frame_, &client);
    auto surface = std::make_unique<MemoryDc>(client.right, client.bottom);
    ::BitBlt(surface->dc(), 0, 0, client.right, client.bottom, WindowDc(frame_).get(), 0, 0,
             SRCCOPY);
    ::GdiFlush();
    return surface;
  }

  // Writes a capture as a 32-bit BMP when QUILLON_CONTROL_SHOTS names a folder, for a person
  // to look at what a test saw.
  static void Keep(const MemoryDc& shot, const std::string& name) {
    char folder[MAX_PATH] = {};
    if (::GetEnvironmentVariableA("QUILLON_CONTROL_SHOTS", folder, MAX_PATH) == 0) return;
    const std::string path = std::string(folder) + "\\" + name + ".bmp";
    const DWORD pixels = static_cast<DWORD>(shot.width()) * shot.height() * 4;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + pixels;
    info.biSize = sizeof info;
    info.biWidth = shot.width();
    info.biHeight = -shot.height();
    info.biPlanes = 1;
    info.biBitCount = 32;
    std::vector<std::uint32_t> rows;
    rows.reserve(pixels / 4);
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x) rows.push_back(shot.Pixel(x, y));
    HANDLE out = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(out, &file, sizeof file, &written, nullptr);
    ::WriteFile(out, &info, sizeof info, &written, nullptr);
    ::WriteFile(out, rows.data(), pixels, &written, nullptr);
    ::CloseHandle(out);
  }

  // Resizes the container's window: the container passes the new rectangle to the control.
  void Resize(int width, int height) {
    ::SetWindowPos(frame_, nullptr, 0, 0, width + 2 * kLeft, height + 2 * kTop,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(host_, nullptr, kLeft, kTop, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
  }

  // The status strip's texts: mode, prompt and result, one a line.
  std::string StatusTexts() {
    char text[256] = {};
    if (!route || FAILED(route->GetStatusTexts(text, sizeof text))) return {};
    return text;
  }

  ComPtr<IQuillonCtl> ctl;
  ComPtr<IOleWindow> oleWindow;
  ComPtr<IQuillonMessageRoute> route;
  std::vector<std::string> messages;

 private:
  using GetControl = HRESULT(WINAPI*)(HWND, IUnknown**);
  GetControl getControl_ = nullptr;
  HWND frame_ = nullptr;
  HWND host_ = nullptr;
};

}  // namespace quillon::control_test
