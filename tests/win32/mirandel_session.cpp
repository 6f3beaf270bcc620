#include "tests/win32/mirandel_session.h"

#include <commctrl.h>

#include <algorithm>

#include "base/win32/memory_dc.h"
#include "base/win32/unique_handle.h"

namespace quillon::test {
namespace {

// Tool-bar geometry: separators 8 pixels wide, buttons 23 x 22, starting at the left edge.
constexpr int kSeparatorWidth = 8;
constexpr int kButtonWidth = 23;
constexpr bool kIsSeparator[] = {true, false, false, true, false, false, true, false, false, false};

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  return name;
}

struct TopSearch {
  DWORD process;
  std::wstring windowClass;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TopSearch*>(param);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner == search->process && ClassOf(window) == search->windowClass)
    search->found.push_back(window);
  return TRUE;
}

std::vector<HWND> TopWindows(DWORD process, const wchar_t* windowClass) {
  TopSearch search{process, windowClass, {}};
  ::EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring Folder(const std::wstring& path) { return path.substr(0, path.find_last_of(L"\\/")); }

// What the screen shows inside a window's rectangle, row by row, 0x00RRGGBB.
std::vector<std::uint32_t> ScreenPicture(HWND window, int* width) {
  RECT r;
  ::GetWindowRect(window, &r);
  *width = r.right - r.left;
  const int height = r.bottom - r.top;
  if (*width <= 0 || height <= 0) return {};
  MemoryDc surface(*width, height);
  ::BitBlt(surface.dc(), 0, 0, *width, height, WindowDc(nullptr).get(), r.left, r.top, SRCCOPY);
  const auto pixels = surface.Pixels();
  std::vector<std::uint32_t> picture(pixels.begin(), pixels.end());
  for (auto& p : picture) p &= 0x00FFFFFF;
  return picture;
}

std::uint32_t ScreenColour(int index) {
  const COLORREF c = ::GetSysColor(index);
  return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// Items of a drawn popup menu: bands of at least 4 rows holding text on the menu's or the
// highlight's ground (separators are thinner). An item is enabled when its text is drawn in the
// menu's text colour (or the highlighted text colour); a grayed item has neither.
std::vector<bool> ReadMenuItems(const std::vector<std::uint32_t>& picture, int width) {
  constexpr int kMargin = 5;  // border and the highlight's edge
  if (width <= 2 * kMargin || picture.size() < static_cast<size_t>(width) * 2) return {};
  // The ground is taken from the first row inside the border (menus may be drawn flat).
  const std::uint32_t ground = picture[width + kMargin];
  const std::uint32_t highlight = ScreenColour(COLOR_HIGHLIGHT);
  const std::uint32_t text = ScreenColour(COLOR_MENUTEXT);
  const std::uint32_t highlightText = ScreenColour(COLOR_HIGHLIGHTTEXT);
  std::vector<bool> items;
  int bandRows = 0;
  bool enabled = false;
  for (size_t row = 0; row + width <= picture.size(); row += width) {
    const std::uint32_t rowGround = picture[row + kMargin];
    bool hasText = false;
    if (rowGround == ground || rowGround == highlight) {
      for (int x = kMargin; x < width - kMargin; ++x) {
        const std::uint32_t p = picture[row + x];
        if (p == rowGround) continue;
        hasText = true;
        enabled = enabled || p == text || (rowGround == highlight && p == highlightText);
      }
    }
    if (hasText) {
      ++bandRows;
    } else {
      if (bandRows >= 4) items.push_back(enabled);
      bandRows = 0;
      enabled = false;
    }
  }
  return items;
}

void Key(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  ::SendInput(1, &input, sizeof input);
}

}  // namespace

std::wstring SourcePath(const std::string& relative) {
  std::string path = std::string(QUILLON_SOURCE_DIR) + "/" + relative;
  std::replace(path.begin(), path.end(), '/', '\\');
  return std::wstring(path.begin(), path.end());
}

std::wstring MirandelSession::ProgramPath() {
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  return Folder(self) + L"\\mirandel.exe";
}

HRESULT MirandelSession::RegisterControl() {
  const std::wstring library = Folder(ProgramPath()) + L"\\quillon.dll";
  HMODULE module = ::LoadLibraryW(library.c_str());
  if (module == nullptr) return HRESULT_FROM_WIN32(::GetLastError());
  using Entry = HRESULT(STDAPICALLTYPE*)();
  auto reg = reinterpret_cast<Entry>(
      reinterpret_cast<void*>(::GetProcAddress(module, "DllRegisterServer")));
  const HRESULT status = reg != nullptr ? reg() : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
  ::FreeLibrary(module);
  return status;
}

MirandelSession::~MirandelSession() {
  if (process_.hProcess == nullptr) return;
  if (::WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0) {
    // Whatever a failed test left open (a dialog), the program must not outlive it.
    ::TerminateProcess(process_.hProcess, 1);
    ::WaitForSingleObject(process_.hProcess, 5000);
  }
  ::CloseHandle(process_.hThread);
  ::CloseHandle(process_.hProcess);
}

bool MirandelSession::Start(const std::wstring& fileArgument) {
  std::wstring command = L"\"" + ProgramPath() + L"\"";
  if (!fileArgument.empty()) command += L" \"" + fileArgument + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process_))
    return false;
  ::WaitForInputIdle(process_.hProcess, 10000);
  for (int i = 0; i < 200 && frame_ == nullptr; ++i) {
    for (HWND window : TopWindows(process_.dwProcessId, L"TMainForm"))
      if (::IsWindowVisible(window)) frame_ = window;
    if (frame_ == nullptr) ::Sleep(50);
  }
  Settle(300);
  return frame_ != nullptr;
}

bool MirandelSession::Exit() {
  ChooseMenu(104);  // "&Salir"
  return ::WaitForSingleObject(process_.hProcess, 10000) == WAIT_OBJECT_0;
}

HWND MirandelSession::TopWindow(const wchar_t* windowClass) const {
  std::vector<HWND> found = TopWindows(process_.dwProcessId, windowClass);
  return found.empty() ? nullptr : found.front();
}

HWND MirandelSession::Child(const wchar_t* windowClass) const {
  for (HWND child = ::GetWindow(frame_, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT))
    if (ClassOf(child) == windowClass) return child;
  return nullptr;
}

std::wstring MirandelSession::StatusText() const {
  wchar_t text[1024] = {};
  // Only the returned length counts: an empty line writes nothing into the buffer.
  const LRESULT length =
      ::SendMessageW(statusLine(), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
  return std::wstring(text, static_cast<size_t>(std::clamp<LRESULT>(length, 0, 1023)));
}

bool MirandelSession::ButtonEnabled(int command) const {
  return ::SendMessageW(toolBar(), TB_ISBUTTONENABLED, command, 0) != 0;
}

std::vector<HWND> MirandelSession::VisibleDialogs() const {
  std::vector<HWND> visible;
  for (HWND dialog : TopWindows(process_.dwProcessId, L"#32770"))
    if (::IsWindowVisible(dialog)) visible.push_back(dialog);
  return visible;
}

HWND MirandelSession::WaitForDialog(DWORD milliseconds) const {
  const DWORD start = ::GetTickCount();
  do {
    std::vector<HWND> dialogs = VisibleDialogs();
    if (!dialogs.empty()) return dialogs.front();
    ::Sleep(50);
  } while (::GetTickCount() - start < milliseconds);
  return nullptr;
}

std::wstring MirandelSession::DialogText(HWND dialog) const {
  wchar_t text[1024] = {};
  ::GetDlgItemTextW(dialog, 0xFFFF, text, 1024);
  return text;
}

void MirandelSession::PressShortCut(char key) {
  ::SetForegroundWindow(frame_);
  Settle(100);
  Key(VK_CONTROL, false);
  Key(static_cast<WORD>(key), false);
  Key(static_cast<WORD>(key), true);
  Key(VK_CONTROL, true);
  Settle();
}

POINT MirandelSession::ButtonCentre(int position) const {
  int left = 0;
  for (int i = 0; i < position; ++i) left += kIsSeparator[i] ? kSeparatorWidth : kButtonWidth;
  return POINT{left + kButtonWidth / 2, 11};
}

void MirandelSession::HoverButton(int position) {
  const POINT p = ButtonCentre(position);
  ::PostMessageW(toolBar(), WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
  Settle();
}

void MirandelSession::ClickButton(int position) {
  const POINT p = ButtonCentre(position);
  HWND bar = toolBar();
  ::PostMessageW(bar, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
  ::PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  ::PostMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  Settle();
}

void MirandelSession::ChooseMenu(int command) {
  ::PostMessageW(frame_, WM_COMMAND, MAKEWPARAM(command, 0), 0);
  Settle();
}

bool MirandelSession::ChooseFromControlMenu(int downPresses) {
  HWND window = ::FindWindowExW(control(), nullptr, L"QuillonCtlWindow", nullptr);
  if (window == nullptr) return false;
  RECT r{};
  ::GetWindowRect(window, &r);
  ::PostMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window),
                 MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
  HWND popup = nullptr;
  for (int i = 0; i < 100 && popup == nullptr; ++i) {
    for (HWND w : TopWindows(process_.dwProcessId, L"#32768"))
      if (::IsWindowVisible(w)) popup = w;
    if (popup == nullptr) ::Sleep(50);
  }
  if (popup == nullptr) return false;
  // The menu's loop reads the keys its thread is sent.
  for (int i = 0; i < downPresses; ++i) ::PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
  ::PostMessageW(popup, WM_KEYDOWN, VK_RETURN, 0);
  for (int i = 0; i < 100 && ::IsWindowVisible(popup); ++i) ::Sleep(50);
  Settle(300);
  return true;
}

bool MirandelSession::AnswerOpenDialog(HWND dialog, const std::wstring& path) {
  // The file name box: an edit inside combo box cmb13 in the explorer style, else edt1.
  HWND box = ::GetDlgItem(dialog, 0x47C);
  HWND edit = box != nullptr ? ::FindWindowExW(box, nullptr, L"Edit", nullptr) : nullptr;
  if (edit == nullptr) edit = ::GetDlgItem(dialog, 0x480);
  if (edit == nullptr && box != nullptr) edit = box;
  if (edit == nullptr) return false;
  ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
  for (int i = 0; i < 100 && ::IsWindow(dialog) && ::IsWindowVisible(dialog); ++i) ::Sleep(50);
  Settle(300);
  return !::IsWindow(dialog) || !::IsWindowVisible(dialog);
}

void MirandelSession::Settle(DWORD milliseconds) const {
  // A message sent and answered proves that everything posted before it was handled.
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutW(frame_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
  ::Sleep(milliseconds);
  ::SendMessageTimeoutW(frame_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
}

int MirandelSession::ControlWidth() const {
  RECT r;
  ::GetWindowRect(control(), &r);
  return r.right - r.left;
}

std::vector<std::uint32_t> MirandelSession::ControlPicture() const {
  std::vector<std::uint32_t> last;
  for (int attempt = 0; attempt < 40; ++attempt) {
    int width = 0;
    std::vector<std::uint32_t> now = ScreenPicture(control(), &width);
    if (now.empty()) return {};
    if (now == last) return now;
    last = std::move(now);
    Settle(200);
  }
  return last;
}

std::vector<bool> MirandelSession::MenuItemsShownEnabled(wchar_t accessKey) {
  ::PostMessageW(frame_, WM_SYSCOMMAND, SC_KEYMENU, accessKey);
  HWND popup = nullptr;
  for (int i = 0; i < 100 && popup == nullptr; ++i) {
    for (HWND window : TopWindows(process_.dwProcessId, L"#32768"))
      if (::IsWindowVisible(window)) popup = window;
    if (popup == nullptr) ::Sleep(50);
  }
  std::vector<bool> items;
  if (popup != nullptr) {
    ::Sleep(300);  // drawn
    int width = 0;
    const std::vector<std::uint32_t> picture = ScreenPicture(popup, &width);
    items = ReadMenuItems(picture, width);
  }
  // Escape closes the sub-menu, then leaves the menu bar.
  for (int i = 0; i < 2; ++i) ::PostMessageW(frame_, WM_KEYDOWN, VK_ESCAPE, 0);
  for (int i = 0; i < 100 && popup != nullptr && ::IsWindowVisible(popup); ++i) ::Sleep(50);
  Settle();
  return items;
}

}  // namespace quillon::test
