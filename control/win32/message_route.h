#pragma once
// A private interface of the control (not in its type library) through which a host in the
// same process answers the control's messages itself instead of letting a modal box wait for
// a user, and reads the texts of the status strip: test programs and tools use it.

#include <unknwn.h>

namespace quillon {

using ControlMessageSink = void(__stdcall*)(const char* text, void* context);

// {F98C8D80-6F96-4ADB-ADDE-B9FE647E552A}
inline constexpr IID IID_IQuillonMessageRoute = {
    0xF98C8D80, 0x6F96, 0x4ADB, {0xAD, 0xDE, 0xB9, 0xFE, 0x64, 0x7E, 0x55, 0x2A}};

struct IQuillonMessageRoute : IUnknown {
  // nullptr restores the control's own message box.
  virtual HRESULT STDMETHODCALLTYPE SetMessageSink(ControlMessageSink sink, void* context) = 0;
  // The status strip's mode, prompt and result texts, one a line, cut to `size` bytes with
  // the terminating zero: what the strip shows, for a program that cannot read pixels as text.
  virtual HRESULT STDMETHODCALLTYPE GetStatusTexts(char* buffer, int size) = 0;
};

}  // namespace quillon

// Lets ComPtr::As and __uuidof find the identifier.
__CRT_UUID_DECL(quillon::IQuillonMessageRoute, 0xF98C8D80, 0x6F96, 0x4ADB, 0xAD, 0xDE, 0xB9, 0xFE,
                0x64, 0x7E, 0x55, 0x2A)
