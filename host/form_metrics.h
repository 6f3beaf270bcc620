#pragma once
// Sizes of the viewer's windows in pixels.

namespace quillon::mirandel {

inline constexpr int kMainFormWidth = 558;  // whole window, frame included
inline constexpr int kMainFormHeight = 441;
inline constexpr int kToolBarHeight = 29;
inline constexpr int kStatusLineHeight = 19;
inline constexpr int kAboutClientWidth = 298;
inline constexpr int kAboutClientHeight = 218;

}  // namespace quillon::mirandel
