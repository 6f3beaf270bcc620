// A script's view calls in any order with any arguments, against the portable view and
// navigation with a plot open: zooms by huge, tiny, negative and NaN factors, origins and scales
// put to any double, rotations put to any integer, pans, turns, the point tools at any pixel,
// window resizes and paints in between. Nothing may fault, and a refused rotation must leave
// the view at a quarter turn.
// Input: the window size (two bytes each), then calls of one byte each followed by their raw
// arguments (doubles as 8 bytes, integers as 4).

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "tests/fuzz/control_model.h"
#include "tests/fuzz/fuzz_bytes.h"

namespace {

using namespace quillon;

ViewPoint Pixel(fuzz::FuzzBytes& in) {
  const int x = in.Int();
  return {x, in.Int()};
}

void Call(fuzz::ControlModel& control, fuzz::FuzzBytes& in) {
  Navigation& nav = control.nav;
  switch (in.Byte() % 24) {
    case 0: ScaleIt(nav, control, in.Double()); break;
    case 1: Scale(nav, control, in.Double()); break;
    case 2: ScaleDown(nav, control, in.Double()); break;
    case 3: Fit(nav, control); break;
    case 4: PanLeft(nav, control); break;
    case 5: PanRight(nav, control); break;
    case 6: PanUp(nav, control); break;
    case 7: PanDown(nav, control); break;
    case 8: RotateLeft(nav, control); break;
    case 9: RotateRight(nav, control); break;
    case 10: nav.view.ViewScale = in.Double(); control.scalePut = true; break;
    case 11: nav.view.xOrg = in.Double(); break;
    case 12: nav.view.yOrg = in.Double(); break;
    case 13:
      if (PutRot(nav.view, in.Int())) control.ResetRasterCache();
      break;
    case 14: {
      const double f = in.Double();
      ZoomAbout(nav, control, f, Pixel(in));
      break;
    }
    case 15: { const ViewPoint p = Pixel(in); ZoomInAt(nav, control, p.x, p.y); break; }
    case 16: { const ViewPoint p = Pixel(in); ZoomOutAt(nav, control, p.x, p.y); break; }
    case 17: { const ViewPoint p = Pixel(in); WindowCenter(nav, control, p.x, p.y); break; }
    case 18: {
      const ViewPoint anchor = Pixel(in);
      ZoomToRect(nav, control, anchor, Pixel(in));
      break;
    }
    case 19: {
      // The user's zoom step, as a settings load takes it.
      const double factor = in.Double();
      if (factor >= 1 && factor <= 2) nav.frame.ScaleFactor = factor;
      break;
    }
    case 20: {
      const ViewPoint p = Pixel(in);
      KpzToView(nav.view, nav.frame, ViewToKpz(nav.view, nav.frame, p));
      break;
    }
    case 21: control.journal = !control.journal; break;
    case 22: {
      // A new window size: the control closes and loads again with the view kept.
      const ViewState kept = nav.view;
      control.Close();
      nav = Navigation{};
      control.Load(1 + in.Byte() * 8, 1 + in.Byte() * 8);
      nav.view.xOrg = kept.xOrg;
      nav.view.yOrg = kept.yOrg;
      nav.view.ViewScale = kept.ViewScale;
      control.scalePut = true;
      PutRot(nav.view, kept.Rot);
      break;
    }
    default: control.Paint(); break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzBytes in(data, size);
  fuzz::ControlModel control;
  const int width = 1 + in.Byte() * 8;
  if (!control.Load(width, 1 + in.Byte() * 8)) std::abort();
  control.Paint();
  for (int calls = 0; !in.empty() && calls < 64; ++calls) {
    Call(control, in);
    if (!IsQuarterTurn(control.nav.view.Rot)) std::abort();
  }
  control.Paint();
  return 0;
}
