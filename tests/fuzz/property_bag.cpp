// A web page's object parameters: the property bag's named text values, taken the way the
// control's load takes them (extents, then DataFileName, xOrg, yOrg, ViewScale and Rot, each
// converted from text), then the first paint with that view. Nothing may fault whatever the
// values, and Rot must be taken exactly when it is a quarter turn.
// Input: entries of one byte (the name) and one text (a length byte and its bytes); a later
// entry of the same name replaces an earlier one, as in a bag.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "settings/value_text.h"
#include "tests/fuzz/control_model.h"
#include "tests/fuzz/fuzz_bytes.h"

namespace {

using namespace quillon;

enum Name { Cx, Cy, DataFileName, XOrg, YOrg, ViewScale, Rot, kNames };

// HIMETRIC to pixels at 96 dpi; the container never makes a window larger than a screen.
int WindowLength(const std::string& text, int fallback) {
  const double himetric = ValueFromText(text);
  if (!(himetric >= 0 && himetric < 4.0e9)) return fallback;
  const double pixels = std::floor(himetric * 96 / 2540);
  return pixels < 1 ? 1 : pixels > 4096 ? 4096 : static_cast<int>(pixels);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzBytes in(data, size);
  std::map<int, std::string> bag;
  while (!in.empty()) {
    const int name = in.Byte() % kNames;
    bag[name] = in.Text();
  }

  fuzz::ControlModel control;
  ViewState& view = control.nav.view;
  bool rotPut = false;
  std::string file = fuzz::ControlModel::kName;
  if (bag.count(DataFileName)) {
    // Only the plot's own name opens; any other is a file the platform does not have.
    file = bag[DataFileName];
    ResetForNewDocument(view);
  }
  if (bag.count(XOrg)) view.xOrg = ValueFromText(bag[XOrg]);
  if (bag.count(YOrg)) view.yOrg = ValueFromText(bag[YOrg]);
  if (bag.count(ViewScale)) {
    view.ViewScale = ValueFromText(bag[ViewScale]);
    control.scalePut = true;
  }
  if (bag.count(Rot)) {
    const double rot = ValueFromText(bag[Rot]);
    if (!(rot >= -2147483648.0 && rot <= 2147483647.0)) return 0;  // the conversion fails
    const int quarter = static_cast<int>(std::lround(rot));
    if (!PutRot(view, quarter)) {
      if (IsQuarterTurn(quarter)) std::abort();
      return 0;  // the put fails and so does the load
    }
    if (!IsQuarterTurn(view.Rot)) std::abort();
    rotPut = true;
  }

  const ViewState put = view;
  const int width = WindowLength(bag.count(Cx) ? bag[Cx] : "", 400);
  const int height = WindowLength(bag.count(Cy) ? bag[Cy] : "", 300);
  if (!control.Load(width, height, file)) return 0;
  // The load keeps what was put.
  view.xOrg = put.xOrg;
  view.yOrg = put.yOrg;
  view.ViewScale = put.ViewScale;
  if (rotPut) view.Rot = put.Rot;
  control.Paint();
  control.Paint();
  return 0;
}
