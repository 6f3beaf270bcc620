// The control driven by Wine's VBScript host (cscript): a real automation client that creates
// it by ProgID and calls every entry through IDispatch late binding.

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "tests/win32/control_host.h"

namespace quillon::control_test {
namespace {

// cscript ends a script that stops early (syntax error, runtime error, failed CreateObject)
// silently with status 0: only the closing line proves the script ran to its end.
void RunScript(const std::string& script, int minimumChecks) {
  ASSERT_EQ(RegisterControl(), S_OK);
  const ProcessResult run =
      RunProcess("cscript.exe //nologo \"" + SourceFile("tests/win32/scripts/" + script) + "\"");
  ASSERT_TRUE(run.started) << "cscript could not be started";
  ASSERT_TRUE(run.finished) << run.output;
  std::smatch end;
  const std::regex closing("QUILLON-SCRIPT-END checks=([0-9]+) failures=([0-9]+)\n?$");
  ASSERT_TRUE(std::regex_search(run.output, end, closing)) << "the script stopped before its end:\n"
                                                           << run.output;
  EXPECT_GE(std::stoi(end[1]), minimumChecks) << run.output;
  EXPECT_EQ(end[2], "0") << run.output;
  EXPECT_EQ(run.exitCode, 0u) << run.output;
}

TEST(ControlScriptTest, PropertiesAndRefusalsWithoutAPlot) {
  RunScript("control_properties.vbs", 60);
}

}  // namespace
}  // namespace quillon::control_test
