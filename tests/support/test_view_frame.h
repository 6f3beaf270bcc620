#pragma once
// The drawing area the view tests work in: 800 x 600 pixels over a 2000 x 1000 dot page.

#include "interact/view_state.h"

namespace quillon {

inline void UseTestViewFrame(ViewFrame& frame) {
  frame.KpzXSize = 2000;
  frame.KpzYSize = 1000;
  frame.ViewWidth = 800;
  frame.ViewHeight = 600;
  frame.BufferWidth = 800;
  frame.BufferHeight = 600;
}

}  // namespace quillon
