#include "settings/browser_command.h"

namespace quillon {

std::string BrowserCommandLine(std::string_view registeredCommand, std::string_view address) {
  std::string_view program = registeredCommand;
  std::size_t cut = program.find("\"%1\"");
  if (cut == std::string_view::npos) cut = program.find("%1");
  if (cut != std::string_view::npos) program = program.substr(0, cut);
  std::string line(program);
  line += ' ';
  line += address;
  return line;
}

}  // namespace quillon
