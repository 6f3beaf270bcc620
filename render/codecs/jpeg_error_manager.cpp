#include "render/codecs/jpeg_error_manager.h"

namespace quillon {

namespace {

JpegErrorManager& ErrorsOf(j_common_ptr info) {
  // The manager is the first member, so its address is the whole record's.
  return *reinterpret_cast<JpegErrorManager*>(info->err);
}

[[noreturn]] void ErrorExit(j_common_ptr info) {
  JpegErrorManager& errors = ErrorsOf(info);
  errors.manager.format_message(info, errors.message);
  std::longjmp(errors.jump, 1);
}

void EmitMessage(j_common_ptr info, int level) {
  if (level < 0) ++ErrorsOf(info).warnings;
}

void OutputMessage(j_common_ptr) {}

}  // namespace

jpeg_error_mgr* UseJpegErrorManager(JpegErrorManager& errors) {
  jpeg_std_error(&errors.manager);
  errors.manager.error_exit = ErrorExit;
  errors.manager.emit_message = EmitMessage;
  errors.manager.output_message = OutputMessage;
  return &errors.manager;
}

}  // namespace quillon
