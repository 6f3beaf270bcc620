#pragma once
// The command line that opens an address in the browser registered for web pages: the
// registered open command cut where its argument would go, then a space and the address.

#include <string>
#include <string_view>

namespace quillon {

// Cut at the first "\"%1\"", else at the first "%1"; a command without either is taken whole.
std::string BrowserCommandLine(std::string_view registeredCommand, std::string_view address);

}  // namespace quillon
