# A second compiler for the same target: Debian's clang with lld, against the
# mingw-w64 headers and libraries. Used by `./dev clang` as a second opinion
# on warnings and portability; the results run under Wine like the gcc build.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(MINGW_ROOT /usr/i686-w64-mingw32)
file(GLOB MINGW_GCC_DIRS LIST_DIRECTORIES true /usr/lib/gcc/i686-w64-mingw32/*-win32)
list(SORT MINGW_GCC_DIRS)
list(GET MINGW_GCC_DIRS -1 MINGW_GCC)

set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
# Debian names the tool with its version only.
find_program(LLVM_WINDRES NAMES llvm-windres llvm-windres-14 llvm-windres-15 llvm-windres-16 REQUIRED)
set(CMAKE_RC_COMPILER ${LLVM_WINDRES})
set(CMAKE_C_COMPILER_TARGET i686-w64-windows-gnu)
set(CMAKE_CXX_COMPILER_TARGET i686-w64-windows-gnu)
set(CMAKE_SYSROOT ${MINGW_ROOT})

set(CMAKE_CXX_FLAGS_INIT
    "-isystem ${MINGW_GCC}/include/c++ -isystem ${MINGW_GCC}/include/c++/i686-w64-mingw32 -isystem ${MINGW_GCC}/include/c++/backward")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${MINGW_GCC}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-fuse-ld=lld -L${MINGW_GCC}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${MINGW_GCC}")
set(CMAKE_RC_FLAGS_INIT "--target=pe-i386 -I${MINGW_ROOT}/include")

set(CMAKE_FIND_ROOT_PATH ${MINGW_ROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(WINE_PROGRAM wine)
if(WINE_PROGRAM)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_PROGRAM})
endif()
