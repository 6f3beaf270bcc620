# Win32 build (mingw-w64 i686): the Win32 layer, tools and the test executable run under Wine.

# Every program and DLL links its C and C++ runtime statically: under Wine (and on a user's
# machine) no mingw DLL is needed, and regsvr32 can load the control.
add_link_options(-static -static-libgcc -static-libstdc++)
# 32-bit programs ask for 4 GB of address space (granted on 64-bit Windows): a plot is mapped
# whole, and the 2 GB a 32-bit process has otherwise leave no hole for a 1 GB plot's view.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  string(APPEND CMAKE_EXE_LINKER_FLAGS " -Wl,--large-address-aware")
endif()
# <windows.h> must not define min/max macros over std::min/std::max.
add_compile_definitions(NOMINMAX)

# libjpeg-turbo cross-built by scripts/setup as a static library.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(QUILLON_DEPS_WIN32 ${CMAKE_SOURCE_DIR}/.deps/win64)
else()
  set(QUILLON_DEPS_WIN32 ${CMAKE_SOURCE_DIR}/.deps/win32)
endif()
if(NOT EXISTS ${QUILLON_DEPS_WIN32}/lib/libjpeg.a OR NOT EXISTS ${QUILLON_DEPS_WIN32}/include/jpeglib.h)
  message(FATAL_ERROR "The Win32 libjpeg is missing under ${QUILLON_DEPS_WIN32}: run scripts/setup (as root).")
endif()
add_library(quillon_jpeg STATIC IMPORTED GLOBAL)
set_target_properties(quillon_jpeg PROPERTIES
  IMPORTED_LOCATION ${QUILLON_DEPS_WIN32}/lib/libjpeg.a
  INTERFACE_INCLUDE_DIRECTORIES ${QUILLON_DEPS_WIN32}/include)
add_library(quillon::jpeg ALIAS quillon_jpeg)

# GoogleTest, cross-built from the Debian sources in its own binary folder, without our warnings.
set(QUILLON_GTEST_SOURCE /usr/src/googletest)
if(NOT EXISTS ${QUILLON_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources are missing at ${QUILLON_GTEST_SOURCE}: run scripts/setup (as root).")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${QUILLON_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# The Win32 layer: every .cpp in the win32/ subfolders of the core folders.
set(QUILLON_WIN32_DIRS)
foreach(dir ${QUILLON_CORE_DIRS})
  list(APPEND QUILLON_WIN32_DIRS ${dir}/win32)
endforeach()
quillon_glob(QUILLON_WIN32_SOURCES ${QUILLON_WIN32_DIRS})
# The control's COM object is built into quillon.dll itself (cmake/control.cmake).
list(FILTER QUILLON_WIN32_SOURCES EXCLUDE REGEX "/control/win32/")
quillon_static_library(quillon_win32 ${QUILLON_WIN32_SOURCES})
target_link_libraries(quillon_win32 PUBLIC quillon_core
  gdi32 user32 ole32 oleaut32 uuid comdlg32 comctl32 winspool shlwapi shell32)

# The GoogleTest program run under Wine by scripts/test. Paths to the source tree are given as
# Wine sees them (drive Z: is the Unix root).
quillon_glob(QUILLON_WIN32_TEST_SOURCES tests/win32)
if(QUILLON_WIN32_TEST_SOURCES)
  add_executable(quillon_win32_tests ${QUILLON_WIN32_TEST_SOURCES})
  target_link_libraries(quillon_win32_tests PRIVATE quillon_test_support quillon_win32 gmock gtest_main)
  # The URL download tests serve files over a loopback socket.
  target_link_libraries(quillon_win32_tests PRIVATE ws2_32)
  target_compile_options(quillon_win32_tests PRIVATE ${QUILLON_WARNINGS})
  target_compile_definitions(quillon_win32_tests PRIVATE
                             QUILLON_SOURCE_DIR="Z:${CMAKE_SOURCE_DIR}"
                             QUILLON_SHARED_DIR="Z:${QUILLON_SHARED_DIR}")
  quillon_register_test(gtest quillon_win32_tests)
  # Started in place of a web browser by the tests of the About link and of help.
  add_executable(quillon_browser_standin tests/win32/browser_standin/record_command_line.cpp)
  target_compile_options(quillon_browser_standin PRIVATE ${QUILLON_WARNINGS})
  add_dependencies(quillon_win32_tests quillon_browser_standin)
endif()

quillon_glob(KPZINFO_SOURCES tools/kpzinfo)
if(KPZINFO_SOURCES)
  add_executable(kpzinfo ${KPZINFO_SOURCES})
  target_link_libraries(kpzinfo PRIVATE quillon_win32)
  target_compile_options(kpzinfo PRIVATE ${QUILLON_WARNINGS})
endif()

# kpzsnap draws plots through GDI into bitmaps and writes PNG through zlib (libz-mingw-w64-dev).
quillon_glob(KPZSNAP_SOURCES tools/kpzsnap)
if(KPZSNAP_SOURCES)
  set(ZLIB_USE_STATIC_LIBS ON)  # no zlib1.dll beside the tool
  find_package(ZLIB REQUIRED)
  add_executable(kpzsnap ${KPZSNAP_SOURCES})
  target_link_libraries(kpzsnap PRIVATE quillon_win32 ZLIB::ZLIB psapi)
  target_compile_options(kpzsnap PRIVATE ${QUILLON_WARNINGS})
endif()

# control_soak: the control made and dropped a thousand times (scripts/soak), not a CI test.
if(TARGET quillon_win32_tests)
  add_executable(control_soak ${CMAKE_SOURCE_DIR}/tests/soak/control_soak.cpp)
  target_link_libraries(control_soak PRIVATE quillon_win32 psapi)
  target_compile_options(control_soak PRIVATE ${QUILLON_WARNINGS})
  target_compile_definitions(control_soak PRIVATE QUILLON_SOURCE_DIR="Z:${CMAKE_SOURCE_DIR}")
endif()

# print_bench prints plots through the control onto a Wine PostScript printer and times it.
if(TARGET kpzsnap)
  add_executable(print_bench ${CMAKE_SOURCE_DIR}/bench/win32/print_bench.cpp
                 ${CMAKE_SOURCE_DIR}/tools/kpzsnap/control_snapshot.cpp
                 ${CMAKE_SOURCE_DIR}/tests/win32/postscript_test_printer.cpp)
  target_link_libraries(print_bench PRIVATE quillon_win32 winspool)
  target_compile_options(print_bench PRIVATE ${QUILLON_WARNINGS})
endif()

# turn_bench times placing a large decoded image turned and unturned in this build.
add_executable(turn_bench ${CMAKE_SOURCE_DIR}/bench/win32/turn_bench.cpp)
target_link_libraries(turn_bench PRIVATE quillon_codecs)
target_compile_options(turn_bench PRIVATE ${QUILLON_WARNINGS})

include(cmake/control.cmake)
include(cmake/host.cmake)
