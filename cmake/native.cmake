# Native (Linux) build: the portable core, its unit tests, tools and fuzz targets.

# Platform services of the native side (file mapping, arena heap, ...).
file(GLOB QUILLON_NATIVE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/document/native/*.cpp)
add_library(quillon_native STATIC ${QUILLON_NATIVE_SOURCES})
target_link_libraries(quillon_native PUBLIC quillon_core)
target_compile_options(quillon_native PRIVATE ${QUILLON_WARNINGS})

file(GLOB QUILLON_SUPPORT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
add_library(quillon_test_support STATIC ${QUILLON_SUPPORT_SOURCES})
target_link_libraries(quillon_test_support PUBLIC quillon_core)
target_compile_options(quillon_test_support PRIVATE ${QUILLON_WARNINGS})

if(QUILLON_FUZZ)
  include(cmake/fuzz.cmake)
  return()
endif()

find_package(GTest REQUIRED)
file(GLOB QUILLON_UNIT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(quillon_unit_tests ${QUILLON_UNIT_SOURCES})
target_link_libraries(quillon_unit_tests PRIVATE quillon_test_support quillon_native GTest::gtest_main)
target_compile_options(quillon_unit_tests PRIVATE ${QUILLON_WARNINGS})
target_compile_definitions(quillon_unit_tests PRIVATE QUILLON_SOURCE_DIR="${CMAKE_SOURCE_DIR}")

file(GLOB KPZINFO_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/kpzinfo/*.cpp)
if(KPZINFO_SOURCES)
  add_executable(kpzinfo ${KPZINFO_SOURCES})
  target_link_libraries(kpzinfo PRIVATE quillon_native)
  target_compile_options(kpzinfo PRIVATE ${QUILLON_WARNINGS})
endif()
