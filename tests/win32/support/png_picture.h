#pragma once
// PNG pictures read back through the platform's imaging component (WIC), for tests that look
// at what a printer or a tool wrote. The caller has initialised COM on its thread.

#include <windows.h>
// After <windows.h>: the GUIDs are defined here, once per test program.
#include <initguid.h>
#include <wincodec.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quillon::test {

struct Picture {
  UINT width = 0, height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB
  std::uint32_t At(int x, int y) const {
    if (x < 0 || y < 0 || x >= static_cast<int>(width) || y >= static_cast<int>(height))
      return 0xFFFFFFFF;
    return pixels[static_cast<std::size_t>(y) * width + x] & 0xFFFFFF;
  }
};

// Decodes a PNG through the platform's imaging component.
inline bool ReadPng(const std::string& name, Picture& picture) {
  IWICImagingFactory* factory = nullptr;
  if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))))
    return false;
  std::wstring wide(name.begin(), name.end());
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICFormatConverter* converter = nullptr;
  bool ok =
      SUCCEEDED(factory->CreateDecoderFromFilename(wide.c_str(), nullptr, GENERIC_READ,
                                                   WICDecodeMetadataCacheOnDemand, &decoder)) &&
      SUCCEEDED(decoder->GetFrame(0, &frame)) &&
      SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
      SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                      nullptr, 0, WICBitmapPaletteTypeCustom)) &&
      SUCCEEDED(converter->GetSize(&picture.width, &picture.height));
  if (ok) {
    picture.pixels.resize(static_cast<std::size_t>(picture.width) * picture.height);
    ok = SUCCEEDED(converter->CopyPixels(nullptr, picture.width * 4,
                                         static_cast<UINT>(picture.pixels.size() * 4),
                                         reinterpret_cast<BYTE*>(picture.pixels.data())));
  }
  if (converter) converter->Release();
  if (frame) frame->Release();
  if (decoder) decoder->Release();
  factory->Release();
  return ok;
}

}  // namespace quillon::test
