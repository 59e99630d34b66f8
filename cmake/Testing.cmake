# GoogleTest: the installed one natively; for MinGW built from Debian's sources.
if(CMAKE_CROSSCOMPILING)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(GTEST_TARGETS GTest::gtest GTest::gmock)
  if(NOT TARGET GTest::gtest)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gmock ALIAS gmock)
  endif()
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# Unit tests of the portable core, built for every target.
function(add_unit_tests name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE program_core GTest::gtest GTest::gtest_main)
  if(WIN32)
    target_link_libraries(${name} PRIVATE win32_options)
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 DISCOVERY_MODE PRE_TEST)
endfunction()

add_unit_tests(unit_tests
  tests/unit/fake_host.cpp
  tests/unit/formation_table_test.cpp
  tests/unit/text_to_number_test.cpp
  tests/unit/formation_query_test.cpp
  tests/unit/runtime_core_test.cpp
  tests/unit/picture_test.cpp)
target_link_libraries(unit_tests PRIVATE picture_decoder)
if(WIN32)
  # Wine shows the Linux file system as drive Z:.
  target_compile_definitions(unit_tests PRIVATE "ASSETS_DIR=\"Z:${CMAKE_SOURCE_DIR}/assets\"")
else()
  target_compile_definitions(unit_tests PRIVATE "ASSETS_DIR=\"${CMAKE_SOURCE_DIR}/assets\"")
endif()
