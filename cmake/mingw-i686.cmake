# Cross build for i686 Windows with Debian's MinGW-w64 (posix threading variant:
# the win32 variant lacks std::mutex, which GoogleTest needs).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR X86)
set(triplet i686-w64-mingw32)
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)
set(CMAKE_ASM_NASM_COMPILER nasm)

# Dependencies built by tools/deps.sh live in build/deps/<triplet>.
get_filename_component(_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(DEPS_PREFIX "${_root}/build/deps/${triplet}" CACHE PATH "Prefix of the cross-built dependencies")
set(CMAKE_FIND_ROOT_PATH /usr/${triplet} "${DEPS_PREFIX}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every test program of this build runs under Wine 10 in its WoW64 mode (32-bit code in
# a 64-bit process: this machine cannot execute 32-bit code), on the project's test
# platform.
set(WINE_PLATFORM wow64)
set(CMAKE_CROSSCOMPILING_EMULATOR "${_root}/tools/wine-run;--platform;${WINE_PLATFORM}")
