#pragma once
// Starts the browser registered for ".htm" pages with an address (or a quoted file path).

#include <string>

namespace quillon {

// The program of HKEY_CLASSES_ROOT\.htm's type's "shell\open\command", with the address in
// place of its argument. False, and nothing started, when the registration cannot be read or
// the program does not start; callers stay silent about it.
bool OpenInBrowser(const std::string& address);

}  // namespace quillon
