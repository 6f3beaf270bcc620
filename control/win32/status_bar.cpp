#include "control/win32/status_bar.h"

#include <string>

#include "control/win32/saved_dc_state.h"

namespace quillon {

void DrawStatusBar(HDC dc, const StatusLine& line, int bufferWidth, int bufferHeight) {
  SavedDcState state(dc);
  const std::string text = line.Text();
  ::SetBkColor(dc, kStatusBarColour);
  ::SelectObject(dc, ::GetStockObject(ANSI_VAR_FONT));
  ::SelectObject(dc, ::GetStockObject(NULL_PEN));
  ::SelectObject(dc, ::GetStockObject(LTGRAY_BRUSH));
  RECT strip{0, bufferHeight + 1, bufferWidth + 1, bufferHeight + kStatusBarHeight + 1};
  ::Rectangle(dc, strip.left, strip.top, strip.right, strip.bottom);
  ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &strip, 0);
}

}  // namespace quillon
