# mingw-w64 i686 cross toolchain. The posix thread model: the win32 one of GCC 12 has no
# std::thread/std::mutex. Link with -static (cmake/win32.cmake does) so that no mingw runtime
# DLL (libwinpthread-1.dll, libstdc++-6.dll, libgcc_s) is needed at run time.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32 ${CMAKE_CURRENT_LIST_DIR}/../.deps/win32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# SSE2 for floating point (every x86 processor since 2003; Windows 8 and later require it). On
# the x87 unit each double-to-integer conversion of the point mapping reloads the control word:
# the large plan at fit drew 2.4 times slower. Windows keeps only 4-byte stack alignment on
# 32-bit, so functions that spill SSE registers realign their frames.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
