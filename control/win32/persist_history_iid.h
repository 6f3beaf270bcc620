#pragma once
// The identifier of IPersistHistory: the cross toolchain declares the interface but its uuid
// library does not define the identifier.

#include <windows.h>

namespace quillon {

// {91A565C1-E38F-11D0-94BF-00A0C9055CBF}
inline constexpr IID kIidPersistHistory = {
    0x91A565C1, 0xE38F, 0x11D0, {0x94, 0xBF, 0x00, 0xA0, 0xC9, 0x05, 0x5C, 0xBF}};

}  // namespace quillon
