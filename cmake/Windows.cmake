# The Windows program, its Win32 layer and the tests that run it under Wine.
enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} --codepage=65001")

# Self-contained: the C and C++ runtimes and winpthread are linked in, so the
# executable imports system DLLs only. Sections start on page boundaries in the
# file as in memory, so the loader can map the image instead of copying it: Wine
# reads an image with the usual 512-byte file alignment into private memory, the
# whole executable's size of it in every running copy.
#
# Reproducible: the same commit gives the same bytes in any folder on any day. The
# linker writes no time stamp into the PE header (its checksum, computed over the
# file, then stays the same too), and source and build paths are written as
# relative ones wherever the compiler would keep them.
add_library(win32_options INTERFACE)
target_link_options(win32_options INTERFACE -static -Wl,--dynamicbase -Wl,--nxcompat -Wl,--gc-sections
                                            -Wl,--file-alignment=4096 -Wl,--no-insert-timestamp)
target_compile_options(win32_options INTERFACE "-ffile-prefix-map=${CMAKE_SOURCE_DIR}=."
                                               "-ffile-prefix-map=${CMAKE_BINARY_DIR}=build")
# Built for size: the link keeps only the functions the program reaches.
target_compile_options(project_options INTERFACE -ffunction-sections -fdata-sections
                                                 $<$<COMPILE_LANGUAGE:CXX>:-fno-rtti>)
target_compile_definitions(win32_options INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                                   _WIN32_WINNT=0x0601)

add_library(win32_ui STATIC
  ui/text.cpp
  ui/window_class.cpp
  ui/control.cpp
  ui/picbox.cpp
  ui/button.cpp
  ui/combobox.cpp
  ui/translabel.cpp
  ui/main_window.cpp
  ui/preparation.cpp
  ui/web_link.cpp
  app/win32_host.cpp)
target_link_libraries(win32_ui PUBLIC program_core picture_decoder win32_options user32 gdi32 ole32)

set(PROGRAM_NAME vantor-formation)

# The program, and its test builds with other handlers or resources.
function(add_program name main handlers)
  add_executable(${name} WIN32 ${main} ${handlers} app/cxx_runtime.cpp assets/program.rc)
  target_link_libraries(${name} PRIVATE win32_ui)
  target_link_options(${name} PRIVATE -municode -s)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/assets ${CMAKE_SOURCE_DIR}/tests/win)
endfunction()

add_program(${PROGRAM_NAME} app/main_win32.cpp app/handlers.cpp)
set_source_files_properties(assets/program.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/assets/program.ico;${CMAKE_SOURCE_DIR}/assets/panel1.jpg;${CMAKE_SOURCE_DIR}/assets/panel2.jpg;${CMAKE_SOURCE_DIR}/assets/panel3.jpg;${CMAKE_SOURCE_DIR}/assets/panel4.jpg;${CMAKE_SOURCE_DIR}/assets/query_button.jpg;${CMAKE_SOURCE_DIR}/assets/program.manifest;${CMAKE_SOURCE_DIR}/tests/win/damaged.jpg")

# Tables never filled: the first query meets an empty table.
add_program(${PROGRAM_NAME}-unfilled app/main_win32.cpp tests/win/unfilled_handlers.cpp)
# The second panel's and the query button's pictures do not decode.
add_program(${PROGRAM_NAME}-damaged app/main_win32.cpp app/handlers.cpp)
target_compile_definitions(${PROGRAM_NAME}-damaged PRIVATE DAMAGED_PICTURES)
# Probes for tests: an injected allocation failure, a count of live GDI objects.
add_program(${PROGRAM_NAME}-probe tests/win/probe_main.cpp app/handlers.cpp)
# The start-up timeline: the program with each of its start-up steps time-stamped.
add_program(${PROGRAM_NAME}-trace tests/win/trace_main.cpp app/handlers.cpp)

# The run command's screenshot tool for machines without a display.
add_executable(window_shot tests/support/window_shot.cpp tests/support/desktop.cpp)
target_link_libraries(window_shot PRIVATE project_options win32_options user32 gdi32)
target_link_options(window_shot PRIVATE -municode)

# The x86_64 decoder's error exit longjmps out of libjpeg, unwinding through its
# frames: every libjpeg function must carry unwind data (tools/deps.sh).
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_test(NAME Decoder.EveryLibjpegFunctionHasUnwindData
    COMMAND ${CMAKE_SOURCE_DIR}/tests/win/check_unwind_data.sh ${CMAKE_OBJDUMP} ${JPEG_LIBRARY_RELEASE})
endif()
