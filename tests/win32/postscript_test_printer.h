#pragma once
// A Wine PostScript printer for tests: the generic PPD of winspool.drv, the wineps.drv driver
// and a pipe port that keeps the job's PostScript in a file and has ghostscript turn it into a
// PNG. Made afresh by Install(); removed by the destructor.

#include <string>

namespace quillon::test {

class PostScriptTestPrinter {
 public:
  // `folder`: a Windows folder for the PPD, the PostScript and the picture; with a dpi of 0
  // the job's PostScript is kept and no picture is made.
  // `paper`: the PPD's page size the printer starts with; a printer of another paper than A4
  // has it in its name.
  explicit PostScriptTestPrinter(const std::string& folder, int dpi = 100,
                                 const std::string& paper = "A4");
  ~PostScriptTestPrinter();
  PostScriptTestPrinter(const PostScriptTestPrinter&) = delete;
  PostScriptTestPrinter& operator=(const PostScriptTestPrinter&) = delete;

  // False, with a reason in error(), when the spooler refused a step.
  bool Install();
  const std::string& error() const { return error_; }
  const std::string& name() const { return name_; }
  // Windows names of the job's PostScript and of ghostscript's picture of its first page.
  const std::string& postScriptFile() const { return postScript_; }
  const std::string& pictureFile() const { return picture_; }
  int dpi() const { return dpi_; }

 private:
  bool Fail(const std::string& step);

  std::string folder_, name_, paper_, postScript_, picture_, error_;
  int dpi_;
  bool installed_ = false;
};

}  // namespace quillon::test
