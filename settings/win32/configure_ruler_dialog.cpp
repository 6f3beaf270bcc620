#include "settings/win32/configure_ruler_dialog.h"

#include <string>

#include "settings/ruler_entry.h"
#include "settings/win32/dialog_ids.h"

namespace quillon {
namespace {

class ConfigureRulerDialog final : public ModalDialog {
 public:
  explicit ConfigureRulerDialog(RulerUnits& units) : units_(units), pending_(units) {}

 private:
  void OnInit() override {
    ShowValue(IDC_PAPER_VALUE, units_.PaperValue);
    ShowValue(IDC_MODEL_VALUE, units_.ModelValue);
    FillList(IDC_PAPER_UNIT, PaperUnitNames(), units_.PaperUnit);
    FillList(IDC_MODEL_UNIT, ModelUnitNames(), units_.ModelUnit);
    pending_.PaperUnit = units_.PaperUnit;
    pending_.ModelUnit = units_.ModelUnit;
  }

  bool OnCommand(int id, int code) override {
    switch (id) {
      case IDC_PAPER_UNIT:
      case IDC_MODEL_UNIT:
        if (code == CBN_SELCHANGE || code == CBN_CLOSEUP) TakeUnits();
        return true;
      case IDC_PAPER_VALUE:
        if (code == EN_KILLFOCUS) pending_.PaperValue = TakeValue(IDC_PAPER_VALUE);
        return true;
      case IDC_MODEL_VALUE:
        if (code == EN_KILLFOCUS) pending_.ModelValue = TakeValue(IDC_MODEL_VALUE);
        return true;
      case IDOK:
        pending_.PaperValue = TakeValue(IDC_PAPER_VALUE);
        pending_.ModelValue = TakeValue(IDC_MODEL_VALUE);
        units_ = pending_;
        End(IDOK);
        return true;
      default:
        return false;
    }
  }

  void ShowValue(int edit, double value) {
    ::SetDlgItemTextA(window(), edit, RulerEntryText(value).c_str());
  }

  double TakeValue(int edit) {
    char text[260] = {};
    ::GetDlgItemTextA(window(), edit, text, sizeof text);
    const double value = RulerEntryValue(text);
    ShowValue(edit, value);
    return value;
  }

  void FillList(int id, std::span<const std::string_view> names, int shown) {
    HWND list = Item(id);
    ::SendMessageA(list, CB_RESETCONTENT, 0, 0);
    for (std::string_view name : names) {
      const std::string text(name);
      ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    ::SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(shown), 0);
  }

  // A list without a selection keeps its unit.
  void TakeUnits() {
    const LRESULT paper = ::SendMessageA(Item(IDC_PAPER_UNIT), CB_GETCURSEL, 0, 0);
    const LRESULT model = ::SendMessageA(Item(IDC_MODEL_UNIT), CB_GETCURSEL, 0, 0);
    if (paper != CB_ERR) pending_.PaperUnit = static_cast<int>(paper);
    if (model != CB_ERR) pending_.ModelUnit = static_cast<int>(model);
  }

  RulerUnits& units_;
  RulerUnits pending_;
};

}  // namespace

bool ShowConfigureRulerDialog(const DialogHost& host, RulerUnits& units) {
  ConfigureRulerDialog dialog(units);
  return dialog.Run(host, IDD_CONFIGURE_RULER) == IDOK;
}

}  // namespace quillon
