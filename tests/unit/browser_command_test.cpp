#include "settings/browser_command.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(BrowserCommandTest, AddressTakesThePlaceOfTheArgument) {
  const struct {
    const char* registered;
    const char* line;
  } cases[] = {
      {"\"C:\\Web\\browse.exe\" \"%1\"", "\"C:\\Web\\browse.exe\"  http://a.example/"},
      {"\"C:\\Web\\browse.exe\" -nohome \"%1\" -x",
       "\"C:\\Web\\browse.exe\" -nohome  http://a.example/"},
      {"C:\\Web\\browse.exe %1", "C:\\Web\\browse.exe  http://a.example/"},
      {"C:\\Web\\browse.exe -url %1 \"%1\"", "C:\\Web\\browse.exe -url %1  http://a.example/"},
      {"C:\\Web\\browse.exe", "C:\\Web\\browse.exe http://a.example/"},
      {"", " http://a.example/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.registered);
    EXPECT_EQ(BrowserCommandLine(c.registered, "http://a.example/"), c.line);
  }
}

}  // namespace
}  // namespace quillon
