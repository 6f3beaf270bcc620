#pragma once
// Writes a captured picture as a PNG through the platform's imaging component, for a person
// to look at what a test saw. The caller has initialised COM on its thread.

#include <string>

#include "base/win32/memory_dc.h"
// Brings <wincodec.h> with its identifiers defined.
#include "tests/win32/support/png_picture.h"

namespace quillon::test {

inline bool WritePng(const MemoryDc& picture, const std::string& path) {
  IWICImagingFactory* factory = nullptr;
  if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))))
    return false;
  const std::wstring wide(path.begin(), path.end());
  IWICStream* stream = nullptr;
  IWICBitmapEncoder* encoder = nullptr;
  IWICBitmapFrameEncode* frame = nullptr;
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
  const UINT stride = static_cast<UINT>(picture.width()) * 4;
  bool ok = SUCCEEDED(factory->CreateStream(&stream)) &&
            SUCCEEDED(stream->InitializeFromFilename(wide.c_str(), GENERIC_WRITE)) &&
            SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
            SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
            SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) &&
            SUCCEEDED(frame->Initialize(nullptr)) &&
            SUCCEEDED(frame->SetSize(picture.width(), picture.height())) &&
            SUCCEEDED(frame->SetPixelFormat(&format)) && format == GUID_WICPixelFormat32bppBGR;
  if (ok) {
    ok = SUCCEEDED(frame->WritePixels(
             picture.height(), stride, stride * picture.height(),
             reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(picture.Pixels().data())))) &&
         SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
  }
  if (frame) frame->Release();
  if (encoder) encoder->Release();
  if (stream) stream->Release();
  factory->Release();
  return ok;
}

}  // namespace quillon::test
