#include "render/codecs/jpeg_memory_source.h"

namespace quillon {

namespace {

const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

JpegMemorySource& SourceOf(j_decompress_ptr info) {
  // The manager is the first member, so its address is the source's.
  return *reinterpret_cast<JpegMemorySource*>(info->src);
}

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

// The whole record is in the buffer from the start: asking for more means the stream is cut
// short. An end-of-image marker lets libjpeg finish without reading past the record.
boolean FillInputBuffer(j_decompress_ptr info) {
  JpegMemorySource& source = SourceOf(info);
  source.exhausted = true;
  source.manager.next_input_byte = kEndOfImage;
  source.manager.bytes_in_buffer = sizeof kEndOfImage;
  return TRUE;
}

void SkipInputData(j_decompress_ptr info, long count) {
  if (count <= 0) return;
  jpeg_source_mgr& manager = SourceOf(info).manager;
  const auto n = static_cast<unsigned long>(count);
  if (n > manager.bytes_in_buffer) {
    FillInputBuffer(info);  // skipping stops at the end of the record
    return;
  }
  manager.next_input_byte += n;
  manager.bytes_in_buffer -= n;
}

}  // namespace

void UseJpegMemorySource(jpeg_decompress_struct& info, JpegMemorySource& source,
                         std::span<const std::uint8_t> bytes) {
  source.bytes = bytes;
  source.exhausted = false;
  source.manager.init_source = InitSource;
  source.manager.fill_input_buffer = FillInputBuffer;
  source.manager.skip_input_data = SkipInputData;
  source.manager.resync_to_restart = jpeg_resync_to_restart;
  source.manager.term_source = TermSource;
  source.manager.next_input_byte = bytes.data();
  source.manager.bytes_in_buffer = bytes.size();
  info.src = &source.manager;
}

}  // namespace quillon
