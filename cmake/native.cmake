# Native (Linux) build: the portable core, its unit tests, tools and fuzz targets.

find_package(JPEG REQUIRED)
add_library(quillon_jpeg INTERFACE)
target_link_libraries(quillon_jpeg INTERFACE JPEG::JPEG)
add_library(quillon::jpeg ALIAS quillon_jpeg)

# Platform services of the native side (file mapping, arena heap, ...).
quillon_glob(QUILLON_NATIVE_SOURCES document/native render/native interact/native plot/native
             settings/native control/native)
quillon_static_library(quillon_native ${QUILLON_NATIVE_SOURCES})
target_link_libraries(quillon_native PUBLIC quillon_core)

# The device on cairo (render/cairo): kpzconvert draws plots into PNG, PDF and SVG with it.
find_package(PkgConfig REQUIRED)
pkg_check_modules(CAIRO REQUIRED IMPORTED_TARGET cairo cairo-pdf cairo-svg cairo-png)
quillon_glob(QUILLON_CAIRO_SOURCES render/cairo)
quillon_static_library(quillon_cairo ${QUILLON_CAIRO_SOURCES})
target_link_libraries(quillon_cairo PUBLIC quillon_render PkgConfig::CAIRO)

# kpzconvert: everything but its main in a library that its tests link.
quillon_glob(KPZCONVERT_SOURCES tools/kpzconvert)
list(FILTER KPZCONVERT_SOURCES EXCLUDE REGEX "/main\\.cpp$")
quillon_static_library(kpzconvert_lib ${KPZCONVERT_SOURCES})
target_link_libraries(kpzconvert_lib PUBLIC quillon_cairo quillon_native)
add_executable(kpzconvert ${CMAKE_SOURCE_DIR}/tools/kpzconvert/main.cpp)
target_link_libraries(kpzconvert PRIVATE kpzconvert_lib)
target_compile_options(kpzconvert PRIVATE ${QUILLON_WARNINGS})

# pixel_compare: the share of differing pixels between two pictures (scripts/compare-snap).
add_executable(pixel_compare ${CMAKE_SOURCE_DIR}/tools/pixel_compare/main.cpp)
target_link_libraries(pixel_compare PRIVATE PkgConfig::CAIRO)
target_compile_options(pixel_compare PRIVATE ${QUILLON_WARNINGS})

if(QUILLON_FUZZ)
  include(cmake/fuzz.cmake)
  return()
endif()

find_package(GTest REQUIRED)

# Reference decodes through libtiff and libjpeg (tests/support/native): only the raster decoder
# tests and benchmarks link them, never the product.
find_package(TIFF REQUIRED)
quillon_glob(QUILLON_ORACLE_SOURCES tests/support/native)
quillon_static_library(quillon_raster_oracle ${QUILLON_ORACLE_SOURCES})
target_link_libraries(quillon_raster_oracle PUBLIC quillon_test_support TIFF::TIFF quillon::jpeg)

quillon_glob(QUILLON_UNIT_SOURCES tests/unit)
if(QUILLON_UNIT_SOURCES)
  add_executable(quillon_unit_tests ${QUILLON_UNIT_SOURCES})
  target_link_libraries(quillon_unit_tests PRIVATE quillon_test_support quillon_native
                                                   GTest::gtest_main GTest::gmock)
  target_link_libraries(quillon_unit_tests PRIVATE quillon_raster_oracle)
  target_compile_options(quillon_unit_tests PRIVATE ${QUILLON_WARNINGS})
  target_compile_definitions(quillon_unit_tests PRIVATE
                             QUILLON_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                             QUILLON_SHARED_DIR="${QUILLON_SHARED_DIR}")
  quillon_register_test(gtest quillon_unit_tests)
endif()

# Fuzz regression runners: each fuzz target with a plain main that feeds it every stored input
# (tests/data/regress/<name>/, tests/fuzz/corpus/<name>/). Built with the sanitizers in the
# native-asan build, where a fault aborts with the sanitizer's report.
quillon_glob(QUILLON_FUZZ_TARGET_SOURCES tests/fuzz)
foreach(src ${QUILLON_FUZZ_TARGET_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(fuzz_regress_${name} ${src} ${CMAKE_SOURCE_DIR}/tests/fuzz/driver/regress_main.cpp)
  target_link_libraries(fuzz_regress_${name} PRIVATE quillon_test_support quillon_native)
  target_compile_options(fuzz_regress_${name} PRIVATE ${QUILLON_WARNINGS})
  target_compile_definitions(fuzz_regress_${name} PRIVATE
                             QUILLON_FUZZ_NAME="${name}"
                             QUILLON_REGRESS_DIR="${CMAKE_SOURCE_DIR}/tests/data/regress/${name}"
                             QUILLON_CORPUS_DIR="${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${name}")
  quillon_register_test(regress fuzz_regress_${name})
endforeach()
target_link_libraries(fuzz_regress_cairo_draw PRIVATE quillon_cairo)

# The cairo device and kpzconvert: pictures and PDF/SVG checked with poppler's and librsvg's
# tools when they are installed.
quillon_glob(KPZCONVERT_TEST_SOURCES tests/convert)
add_executable(kpzconvert_tests ${KPZCONVERT_TEST_SOURCES})
target_link_libraries(kpzconvert_tests PRIVATE kpzconvert_lib quillon_test_support quillon_raster_oracle
                                              GTest::gtest_main)
target_compile_options(kpzconvert_tests PRIVATE ${QUILLON_WARNINGS})
target_compile_definitions(kpzconvert_tests PRIVATE QUILLON_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                           KPZCONVERT_PATH="$<TARGET_FILE:kpzconvert>")
add_dependencies(kpzconvert_tests kpzconvert)
quillon_register_test(gtest kpzconvert_tests)

# Seed corpus writers (tests/fuzz/seeds/): run by hand, their output is committed. The decoder
# seeds are coded by libtiff's and libjpeg's encoders.
quillon_glob(QUILLON_SEED_SOURCES tests/fuzz/seeds)
foreach(src ${QUILLON_SEED_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE quillon_test_support quillon_raster_oracle)
  target_compile_options(${name} PRIVATE ${QUILLON_WARNINGS})
endforeach()

quillon_glob(KPZINFO_SOURCES tools/kpzinfo)
if(KPZINFO_SOURCES)
  add_executable(kpzinfo ${KPZINFO_SOURCES})
  target_link_libraries(kpzinfo PRIVATE quillon_native)
  target_compile_options(kpzinfo PRIVATE ${QUILLON_WARNINGS})
endif()

# kpzgen writes the sample plots; the build keeps samples/ up to date with it.
quillon_glob(KPZGEN_SOURCES tools/kpzgen)
if(KPZGEN_SOURCES)
  add_executable(kpzgen ${KPZGEN_SOURCES})
  target_link_libraries(kpzgen PRIVATE quillon_test_support)
  # The raster samples are coded by libtiff's and libjpeg's encoders.
  target_link_libraries(kpzgen PRIVATE quillon_raster_oracle)
  target_compile_options(kpzgen PRIVATE ${QUILLON_WARNINGS})
  set(QUILLON_SAMPLES ${CMAKE_SOURCE_DIR}/samples/site-plan.kpz ${CMAKE_SOURCE_DIR}/samples/large-plan.kpz
      ${CMAKE_SOURCE_DIR}/samples/raster-plan.kpz)
  add_custom_command(OUTPUT ${QUILLON_SAMPLES}
                     COMMAND kpzgen ${CMAKE_SOURCE_DIR}/samples
                     DEPENDS kpzgen
                     COMMENT "Writing the sample plots")
  add_custom_target(samples ALL DEPENDS ${QUILLON_SAMPLES})
endif()

# Benchmarks (Google Benchmark): one executable per bench/*.cpp, with the reference decoders.
find_package(benchmark QUIET)
quillon_glob(QUILLON_BENCH_SOURCES bench)
if(benchmark_FOUND AND QUILLON_BENCH_SOURCES)
  foreach(src ${QUILLON_BENCH_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE quillon_raster_oracle quillon_native benchmark::benchmark)
    target_compile_options(${name} PRIVATE ${QUILLON_WARNINGS})
    target_compile_definitions(${name} PRIVATE QUILLON_SHARED_DIR="${QUILLON_SHARED_DIR}")
  endforeach()
endif()

# The conversion benchmark runs kpzconvert's conversions of the sample files.
if(TARGET convert_bench)
  target_link_libraries(convert_bench PRIVATE kpzconvert_lib)
  target_compile_definitions(convert_bench PRIVATE QUILLON_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endif()

# The vector benchmark makes its plots with kpzgen's generator.
if(TARGET vector_bench)
  target_sources(vector_bench PRIVATE ${CMAKE_SOURCE_DIR}/tools/kpzgen/site_plan.cpp)
endif()
