# libFuzzer targets (clang, preset "fuzz"): one executable fuzz_<name> per tests/fuzz/<name>.cpp,
# each defining LLVMFuzzerTestOneInput. The libraries are instrumented by the top-level
# QUILLON_FUZZ flags; here only libFuzzer's own main is added. scripts/fuzz runs them.

if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "QUILLON_FUZZ needs clang: configure with the fuzz preset")
endif()

quillon_glob(QUILLON_FUZZ_TARGET_SOURCES tests/fuzz)
foreach(src ${QUILLON_FUZZ_TARGET_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(fuzz_${name} ${src})
  target_link_libraries(fuzz_${name} PRIVATE quillon_test_support quillon_native)
  target_compile_options(fuzz_${name} PRIVATE ${QUILLON_WARNINGS} -fsanitize=fuzzer)
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
endforeach()
target_link_libraries(fuzz_cairo_draw PRIVATE quillon_cairo)
