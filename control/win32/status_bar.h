#pragma once
// The status bar strip under the drawing area.

#include <windows.h>

#include "control/status_line.h"

namespace quillon {

inline constexpr int kStatusBarHeight = 17;
inline constexpr COLORREF kStatusBarColour = 0xBDBDBD;

// Grey strip from (0, bufferHeight + 1) to (bufferWidth + 1, bufferHeight + 18) with the
// three texts at its top left.
void DrawStatusBar(HDC dc, const StatusLine& line, int bufferWidth, int bufferHeight);

}  // namespace quillon
