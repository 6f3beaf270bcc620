#pragma once
// The About box: the product's pictures, its version and the home page link.

#include "settings/win32/modal_dialog.h"

namespace quillon {

void ShowAboutDialog(const DialogHost& host);

}  // namespace quillon
