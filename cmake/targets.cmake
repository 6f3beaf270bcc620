# Helpers shared by the native and the Win32 build.

# quillon_glob(<out> [RECURSE] <folder>...): the .cpp files of folders given relative to the
# source root. With RECURSE, subfolders are included except the platform folders win32/ and
# native/, which belong to their platform's library, and render/cairo/ (its own library).
function(quillon_glob out)
  cmake_parse_arguments(ARG "RECURSE" "" "" ${ARGN})
  set(files)
  foreach(dir ${ARG_UNPARSED_ARGUMENTS})
    if(ARG_RECURSE)
      file(GLOB_RECURSE found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
      list(FILTER found EXCLUDE REGEX "/(win32|native|cairo)/")
    else()
      file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    endif()
    list(APPEND files ${found})
  endforeach()
  list(SORT files)
  set(${out} ${files} PARENT_SCOPE)
endfunction()

# quillon_static_library(<name> <source>...): a static library with our warnings. A library
# whose folders hold no source yet gets an empty translation unit, so configuring never
# depends on which files have been written so far.
function(quillon_static_library name)
  set(sources ${ARGN})
  if(NOT sources)
    set(sources ${CMAKE_BINARY_DIR}/empty/${name}.cpp)
    if(NOT EXISTS ${sources})
      file(WRITE ${sources} "// ${name} has no sources yet.\n")
    endif()
  endif()
  add_library(${name} STATIC ${sources})
  target_compile_options(${name} PRIVATE ${QUILLON_WARNINGS})
endfunction()

# quillon_layer_library(<name> <folder>...): the portable sources of the folders (subfolders
# included, platform folders not), less those of the layers that live inside them (the
# codecs inside render/).
function(quillon_layer_library name)
  quillon_glob(sources RECURSE ${ARGN})
  if(NOT name STREQUAL "quillon_codecs")
    list(FILTER sources EXCLUDE REGEX "/render/codecs/")
  endif()
  quillon_static_library(${name} ${sources})
endfunction()

# quillon_register_test(<kind> <target>): lists an executable for scripts/test, which reads
# <build>/quillon-tests.txt ("<kind>\t<target>\t<file>" per line). Kinds: gtest (a GoogleTest
# program), regress (a fuzz regression runner: exit status only).
function(quillon_register_test kind target)
  set_property(GLOBAL APPEND PROPERTY QUILLON_TEST_ENTRIES
               "${kind}\t${target}\t$<TARGET_FILE:${target}>")
endfunction()

function(quillon_write_test_manifest)
  get_property(entries GLOBAL PROPERTY QUILLON_TEST_ENTRIES)
  list(JOIN entries "\n" content)
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/quillon-tests.txt CONTENT "${content}\n")
endfunction()
