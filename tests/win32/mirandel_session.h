#pragma once
// The real viewer program started by a test: its process, its windows found by class, and
// the ways a user reaches it (keys, clicks on the tool bar, the open dialog), plus pictures of
// what its control shows.

#include <windows.h>

#include <string>
#include <vector>

namespace quillon::test {

class MirandelSession {
 public:
  MirandelSession() = default;
  ~MirandelSession();
  MirandelSession(const MirandelSession&) = delete;
  MirandelSession& operator=(const MirandelSession&) = delete;

  // mirandel.exe beside the test program.
  static std::wstring ProgramPath();
  // Registers the control built beside the test program; S_OK when it is registered.
  static HRESULT RegisterControl();

  // Starts the program (with a file argument when given) and waits for its main window.
  bool Start(const std::wstring& fileArgument = L"");
  // Closes the main window as "&Salir" does and waits for the process to end.
  bool Exit();
  DWORD processId() const { return process_.dwProcessId; }
  HANDLE process() const { return process_.hProcess; }

  HWND frame() const { return frame_; }
  HWND TopWindow(const wchar_t* windowClass) const;  // of this process, visible or not
  HWND Child(const wchar_t* windowClass) const;      // direct child of the frame
  HWND control() const { return Child(L"AtlAxWin"); }
  HWND statusLine() const { return Child(L"msctls_statusbar32"); }
  HWND toolBar() const { return Child(L"ToolbarWindow32"); }

  std::wstring StatusText() const;
  bool ButtonEnabled(int command) const;
  // The dialog boxes (#32770) of the process that are visible now.
  std::vector<HWND> VisibleDialogs() const;
  // Waits until a dialog box of the process shows; nullptr when none came in time.
  HWND WaitForDialog(DWORD milliseconds) const;
  std::wstring DialogText(HWND dialog) const;  // the message text of a message box

  // Presses Ctrl+key on the main window through the keyboard input.
  void PressShortCut(char key);
  // Moves the mouse over, or clicks, the tool-bar button at a position (0 = first entry).
  void HoverButton(int position);
  void ClickButton(int position);
  // Sends a menu command as choosing it in the menu bar does.
  void ChooseMenu(int command);
  // Opens the control's right-click menu and chooses the item so many arrow presses down
  // (separators are passed over). False when no menu came up.
  bool ChooseFromControlMenu(int downPresses);
  // Answers a visible open dialog with a path.
  bool AnswerOpenDialog(HWND dialog, const std::wstring& path);
  // Lets the program handle what it was sent so far.
  void Settle(DWORD milliseconds = 150) const;

  // The pixels the screen shows inside the control, once two looks agree (0x00RRGGBB).
  std::vector<std::uint32_t> ControlPicture() const;
  // Opens a menu of the bar by its access key as Alt+key does, reads from the screen which
  // of its items are drawn enabled (top to bottom, separators left out) and closes it again.
  std::vector<bool> MenuItemsShownEnabled(wchar_t accessKey);
  int ControlWidth() const;

 private:
  POINT ButtonCentre(int position) const;

  PROCESS_INFORMATION process_{};
  HWND frame_ = nullptr;
};

// A Windows path for a file in the source tree ("samples/x.kpz").
std::wstring SourcePath(const std::string& relative);

}  // namespace quillon::test
