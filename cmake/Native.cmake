# Targets of the Linux host only: the benchmark of the query and of the picture
# decoder (tests/bench), and, in a clang build with FUZZING on (the fuzz preset),
# the libFuzzer targets with their bounded runs as tests (tests/fuzz).

option(FUZZING "Build the libFuzzer targets and nothing else (needs clang; the fuzz preset)" OFF)

# The subdirectories add tests before the top level enables testing.
enable_testing()

if(FUZZING)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "FUZZING needs clang (libFuzzer); use the fuzz preset")
  endif()
  add_subdirectory(tests/fuzz)
  # The top level's targets hold the program's GBK texts, which clang cannot
  # compile: none of them is part of this build's default target. Deferred, so
  # that it reaches the targets defined after this file as well.
  function(_native_exclude_core_targets)
    get_property(targets DIRECTORY ${CMAKE_SOURCE_DIR} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      get_target_property(type ${target} TYPE)
      if(NOT type STREQUAL "INTERFACE_LIBRARY")
        set_target_properties(${target} PROPERTIES EXCLUDE_FROM_ALL ON)
      endif()
    endforeach()
  endfunction()
  cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL _native_exclude_core_targets)
else()
  add_subdirectory(tests/bench)
endif()
