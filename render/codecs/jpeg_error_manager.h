#pragma once
// libjpeg error handling that returns to the decoder instead of ending the process.

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace quillon {

struct JpegErrorManager {
  jpeg_error_mgr manager{};
  std::jmp_buf jump{};
  char message[JMSG_LENGTH_MAX] = {};
  int warnings = 0;
};

// Fills `errors` from jpeg_std_error and replaces its exits: an error longjmps to
// `errors.jump` with its text in `message`; warnings are counted, never printed.
jpeg_error_mgr* UseJpegErrorManager(JpegErrorManager& errors);

}  // namespace quillon
