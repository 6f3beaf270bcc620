# The control library quillon.dll: the type library and header made by widl from
# control/quillon.idl, the COM object of control/win32, its resources and exports.

set(QUILLON_IDL ${CMAKE_SOURCE_DIR}/control/quillon.idl)
set(QUILLON_IDL_OUT ${CMAKE_BINARY_DIR}/generated/control)
set(QUILLON_WINE_TLB_DIR /usr/lib/i386-linux-gnu/wine/i386-windows)
find_program(QUILLON_WIDL NAMES i686-w64-mingw32-widl widl REQUIRED)
file(MAKE_DIRECTORY ${QUILLON_IDL_OUT})
add_custom_command(
  OUTPUT ${QUILLON_IDL_OUT}/quillon.tlb ${QUILLON_IDL_OUT}/quillon_h.h ${QUILLON_IDL_OUT}/quillon_i.c
  COMMAND ${QUILLON_WIDL} -I ${CMAKE_SOURCE_DIR}/control/idl -L ${QUILLON_WINE_TLB_DIR}
          -t -o ${QUILLON_IDL_OUT}/quillon.tlb ${QUILLON_IDL}
  COMMAND ${QUILLON_WIDL} -I ${CMAKE_SOURCE_DIR}/control/idl -h -o ${QUILLON_IDL_OUT}/quillon_h.h
          ${QUILLON_IDL}
  COMMAND ${QUILLON_WIDL} -I ${CMAKE_SOURCE_DIR}/control/idl -u -o ${QUILLON_IDL_OUT}/quillon_i.c
          ${QUILLON_IDL}
  DEPENDS ${QUILLON_IDL} ${CMAKE_SOURCE_DIR}/control/idl/oaidl.idl
  COMMENT "widl: type library, header and identifiers of the control")

# The identifiers and header, for the library and for the programs that create the control.
add_library(quillon_control_ids STATIC ${QUILLON_IDL_OUT}/quillon_i.c)
target_include_directories(quillon_control_ids PUBLIC ${CMAKE_BINARY_DIR}/generated)
set_source_files_properties(${QUILLON_IDL_OUT}/quillon_h.h PROPERTIES GENERATED TRUE)
add_custom_target(quillon_control_idl DEPENDS ${QUILLON_IDL_OUT}/quillon.tlb
                                              ${QUILLON_IDL_OUT}/quillon_h.h)
add_dependencies(quillon_control_ids quillon_control_idl)

quillon_glob(QUILLON_CONTROL_SOURCES control/win32)
add_library(quillon SHARED ${QUILLON_CONTROL_SOURCES} ${CMAKE_SOURCE_DIR}/resources/quillon.rc
                           ${CMAKE_SOURCE_DIR}/resources/quillon.def)
set_target_properties(quillon PROPERTIES PREFIX "" OUTPUT_NAME quillon)
set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/quillon.rc PROPERTIES
                            OBJECT_DEPENDS "${QUILLON_IDL_OUT}/quillon.tlb;${CMAKE_SOURCE_DIR}/resources/open_hand.cur;${CMAKE_SOURCE_DIR}/resources/closed_hand.cur;${CMAKE_SOURCE_DIR}/resources/dialogs.rc;${CMAKE_SOURCE_DIR}/resources/plot_dialog.rc;${CMAKE_SOURCE_DIR}/settings/win32/dialog_ids.h;${CMAKE_SOURCE_DIR}/resources/quillon_logo.bmp;${CMAKE_SOURCE_DIR}/resources/quillon_banner.bmp")
target_include_directories(quillon PRIVATE ${CMAKE_BINARY_DIR}/generated)
target_compile_options(quillon PRIVATE ${QUILLON_WARNINGS})
# windres finds the type library beside the generated header, the pictures beside the script.
target_compile_options(quillon PRIVATE $<$<COMPILE_LANGUAGE:RC>:-I${QUILLON_IDL_OUT}>
                                       $<$<COMPILE_LANGUAGE:RC>:-I${CMAKE_SOURCE_DIR}/resources>)
target_link_libraries(quillon PRIVATE quillon_control_ids quillon_win32 urlmon)
target_link_options(quillon PRIVATE -Wl,--enable-stdcall-fixup)
add_dependencies(quillon quillon_control_idl)

# The Win32 tests create the control through COM: the library must be built beside them.
if(TARGET quillon_win32_tests)
  add_dependencies(quillon_win32_tests quillon)
  target_link_libraries(quillon_win32_tests PRIVATE quillon_control_ids)
endif()

# kpzsnap draws through the control: it creates the class by its identifier and registers the
# library beside it when needed.
if(TARGET kpzsnap)
  add_dependencies(kpzsnap quillon)
  target_link_libraries(kpzsnap PRIVATE quillon_control_ids)
endif()
if(TARGET control_soak)
  add_dependencies(control_soak quillon)
  target_link_libraries(control_soak PRIVATE quillon_control_ids)
endif()
if(TARGET print_bench)
  add_dependencies(print_bench quillon)
  target_link_libraries(print_bench PRIVATE quillon_control_ids)
endif()

# The help page opened when there is no help file: installed beside the library.
add_custom_command(TARGET quillon POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/resources/quillon-help.html
          $<TARGET_FILE_DIR:quillon>/quillon-help.html
  COMMENT "Help page beside quillon.dll")
