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
  add_test(NAME winplat_start COMMAND env WINPLAT=${WINE_PLATFORM} ${CMAKE_SOURCE_DIR}/tools/winplat.sh start --owner ctest)
  add_test(NAME winplat_stop COMMAND env WINPLAT=${WINE_PLATFORM} ${CMAKE_SOURCE_DIR}/tools/winplat.sh stop --owner ctest)
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
  set(drive "Z:")
endif()
target_compile_definitions(unit_tests PRIVATE "ASSETS_DIR=\"${drive}${CMAKE_SOURCE_DIR}/assets\""
                                              "FUZZ_CORPUS_DIR=\"${drive}${CMAKE_SOURCE_DIR}/tests/fuzz/corpus\"")

if(WIN32)
  # Tests that drive the real program under Wine. Wine shows the Linux file system
  # as drive Z:.
  # The shipped 32-bit executable, whose version record and icon the tests read back
  # from the file. It comes from the win32 preset, a separate build that this one
  # cannot depend on: the test command builds every preset before any test runs, and
  # the test says so when the file is missing.
  set(SHIPPED_PROGRAM "${CMAKE_SOURCE_DIR}/build/win32/${PROGRAM_NAME}.exe" CACHE FILEPATH
      "The shipped 32-bit executable (the win32 preset's)")
  add_library(win_test_support STATIC tests/win/support.cpp tests/support/desktop.cpp)
  target_link_libraries(win_test_support PUBLIC project_options win32_options user32 gdi32 advapi32)
  # What the DLL search tests plant and load.
  add_library(planted_dll SHARED tests/win/planted_dll.cpp)
  target_link_libraries(planted_dll PRIVATE project_options win32_options)
  set_target_properties(planted_dll PROPERTIES PREFIX "")
  add_executable(dll_search_probe tests/win/dll_search_probe.cpp)
  target_link_libraries(dll_search_probe PRIVATE win32_ui)
  target_link_options(dll_search_probe PRIVATE -municode)
  target_compile_definitions(win_test_support PRIVATE
    "PROGRAM_PATH=L\"Z:$<TARGET_FILE:${PROGRAM_NAME}>\""
    "UNFILLED_PROGRAM_PATH=L\"Z:$<TARGET_FILE:${PROGRAM_NAME}-unfilled>\""
    "DAMAGED_PROGRAM_PATH=L\"Z:$<TARGET_FILE:${PROGRAM_NAME}-damaged>\""
    "PROBE_PROGRAM_PATH=L\"Z:$<TARGET_FILE:${PROGRAM_NAME}-probe>\""
    "DLL_SEARCH_PROBE_PATH=L\"Z:$<TARGET_FILE:dll_search_probe>\""
    "PLANTED_DLL_PATH=L\"Z:$<TARGET_FILE:planted_dll>\""
    "SHIPPED_PROGRAM_PATH=L\"Z:${SHIPPED_PROGRAM}\""
    "ASSETS_DIR=\"Z:${CMAKE_SOURCE_DIR}/assets\"")
  add_dependencies(win_test_support ${PROGRAM_NAME} ${PROGRAM_NAME}-unfilled ${PROGRAM_NAME}-damaged
                   ${PROGRAM_NAME}-probe dll_search_probe planted_dll)

  add_executable(program_tests
    tests/win/lifecycle_test.cpp
    tests/win/window_test.cpp
    tests/win/query_test.cpp
    tests/win/weblink_test.cpp
    tests/win/locale_test.cpp
    tests/win/reliability_test.cpp
    tests/win/security_test.cpp)
  target_link_libraries(program_tests PRIVATE win_test_support picture_decoder version psapi GTest::gtest GTest::gtest_main)
  gtest_discover_tests(program_tests DISCOVERY_TIMEOUT 120 DISCOVERY_MODE PRE_TEST
    PROPERTIES ${TEST_PROPERTIES} RESOURCE_LOCK winplat_display)
  # The locale tests' code page probe and the web-link tests' stand-in browser (a Linux
  # script, named by its Linux path).
  add_executable(code_page_probe tests/win/code_page_probe.cpp)
  target_link_libraries(code_page_probe PRIVATE project_options win32_options)
  target_link_options(code_page_probe PRIVATE -municode)
  add_dependencies(program_tests code_page_probe)
  target_compile_definitions(program_tests PRIVATE
    "CODE_PAGE_PROBE_PATH=L\"Z:$<TARGET_FILE:code_page_probe>\""
    "RECORD_URL_SCRIPT=L\"${CMAKE_SOURCE_DIR}/tests/win/record_url.sh\"")
  # The window's position on other screen sizes: each run gets a virtual desktop of
  # that size (the test checks that it got it). A new desktop covers the default one
  # on the screen, so the run also takes wine-run's exclusive lock, which keeps it
  # from spoiling screenshots of runs outside this ctest.
  foreach(screen 800x600 640x480 800x561)
    add_test(NAME WindowPosition.on_${screen} COMMAND program_tests --gtest_filter=WindowPosition.*)
    set_tests_properties(WindowPosition.on_${screen} PROPERTIES
      ENVIRONMENT "WINE_DESKTOP=${screen};WINE_EXCLUSIVE=1" RESOURCE_LOCK winplat_display FIXTURES_REQUIRED winplat)
  endforeach()
endif()

if(WIN32)
  # The benchmark driver and its baseline (run by tools/bench.sh, not by ctest).
  add_executable(bare_window WIN32 tests/win/bare_window.cpp)
  target_link_libraries(bare_window PRIVATE project_options win32_options)
  target_link_options(bare_window PRIVATE -municode -s)
  # The floor: the program's texts, fonts and standard controls, nothing else.
  add_executable(floor_window WIN32 tests/win/floor_window.cpp ui/text.cpp)
  target_link_libraries(floor_window PRIVATE program_core win32_options)
  target_link_options(floor_window PRIVATE -municode -s)
  add_executable(bench_driver tests/win/bench_driver.cpp)
  target_link_libraries(bench_driver PRIVATE win_test_support picture_decoder psapi)
  target_link_options(bench_driver PRIVATE -municode)
endif()

if(WIN32 AND CMAKE_SYSTEM_PROCESSOR STREQUAL "X86")
  # The shipped file is the same, byte for byte, from two clean builds in two folders
  # (a Linux script: no Wine, no test platform).
  add_test(NAME Reproducible.ShippedFileIsByteIdenticalFromTwoFolders
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/repro/check_reproducible.sh ${CMAKE_SOURCE_DIR})
  set_tests_properties(Reproducible.ShippedFileIsByteIdenticalFromTwoFolders PROPERTIES TIMEOUT 1800)
endif()
