# The viewer mirandel.exe (host/): a GUI program that hosts the control through atl.dll's
# container window and calls it through the interface of the control's type library.

if(NOT TARGET quillon_control_ids)
  # Without the control's interface there is no viewer, and no viewer tests to run.
  message(STATUS "mirandel: the control's interface is not built here; the viewer is skipped")
  if(TARGET quillon_win32_tests)
    get_target_property(MIRANDEL_TEST_HOST_SOURCES quillon_win32_tests SOURCES)
    list(FILTER MIRANDEL_TEST_HOST_SOURCES EXCLUDE REGEX "/tests/win32/mirandel_")
    set_target_properties(quillon_win32_tests PROPERTIES SOURCES "${MIRANDEL_TEST_HOST_SOURCES}")
  endif()
  return()
endif()

quillon_glob(MIRANDEL_SOURCES host)
add_executable(mirandel WIN32 ${MIRANDEL_SOURCES} ${CMAKE_SOURCE_DIR}/resources/mirandel.rc)
target_include_directories(mirandel PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(mirandel PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${QUILLON_WARNINGS}>)
target_link_libraries(mirandel PRIVATE quillon_control_ids
                      user32 gdi32 comctl32 comdlg32 ole32 oleaut32 uuid shell32)

# mirandel_shot: waits for the viewer's plot, presses OK on the About window and writes what
# the main window shows as a PNG (scripts/view without a display).
quillon_glob(MIRANDEL_SHOT_SOURCES host/shot)
if(MIRANDEL_SHOT_SOURCES)
  set(ZLIB_USE_STATIC_LIBS ON)
  find_package(ZLIB REQUIRED)
  add_executable(mirandel_shot ${MIRANDEL_SHOT_SOURCES} ${CMAKE_SOURCE_DIR}/tools/kpzsnap/png_writer.cpp)
  target_include_directories(mirandel_shot PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(mirandel_shot PRIVATE ${QUILLON_WARNINGS})
  target_link_libraries(mirandel_shot PRIVATE ZLIB::ZLIB user32 gdi32)
endif()

# The viewer's tests start the real program beside them.
if(TARGET quillon_win32_tests)
  add_dependencies(quillon_win32_tests mirandel)
endif()
