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

# Under Wine every test needs the test platform (display, wineserver, virtual
# desktop); a fixture brings it up unless the test command already has.
if(CMAKE_CROSSCOMPILING)
  add_test(NAME winplat_start COMMAND ${CMAKE_SOURCE_DIR}/tools/winplat.sh start --owner ctest)
  add_test(NAME winplat_stop COMMAND ${CMAKE_SOURCE_DIR}/tools/winplat.sh stop --owner ctest)
  set_tests_properties(winplat_start PROPERTIES FIXTURES_SETUP winplat)
  set_tests_properties(winplat_stop PROPERTIES FIXTURES_CLEANUP winplat)
  set(TEST_PROPERTIES FIXTURES_REQUIRED winplat)
else()
  set(TEST_PROPERTIES LABELS native)
endif()

# Unit tests of the portable core, built for every target.
function(add_unit_tests name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE program_core GTest::gtest GTest::gtest_main)
  if(WIN32)
    target_link_libraries(${name} PRIVATE win32_options)
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 DISCOVERY_MODE PRE_TEST PROPERTIES ${TEST_PROPERTIES})
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

if(WIN32)
  # Tests that drive the real program under Wine. Wine shows the Linux file system
  # as drive Z:.
  add_library(win_test_support STATIC tests/win/support.cpp)
  target_link_libraries(win_test_support PUBLIC project_options win32_options user32 gdi32)
  target_compile_definitions(win_test_support PRIVATE
    "PROGRAM_PATH=L\"Z:$<TARGET_FILE:${PROGRAM_NAME}>\""
    "UNFILLED_PROGRAM_PATH=L\"Z:$<TARGET_FILE:${PROGRAM_NAME}-unfilled>\""
    "DAMAGED_PROGRAM_PATH=L\"Z:$<TARGET_FILE:${PROGRAM_NAME}-damaged>\""
    "ASSETS_DIR=\"Z:${CMAKE_SOURCE_DIR}/assets\"")
  add_dependencies(win_test_support ${PROGRAM_NAME} ${PROGRAM_NAME}-unfilled ${PROGRAM_NAME}-damaged)

  add_executable(program_tests
    tests/win/lifecycle_test.cpp
    tests/win/window_test.cpp
    tests/win/query_test.cpp
    tests/win/weblink_test.cpp
    tests/win/locale_test.cpp)
  target_link_libraries(program_tests PRIVATE win_test_support picture_decoder version GTest::gtest GTest::gtest_main)
  gtest_discover_tests(program_tests DISCOVERY_TIMEOUT 120 DISCOVERY_MODE PRE_TEST
    PROPERTIES ${TEST_PROPERTIES} RESOURCE_LOCK winplat_display)
endif()
