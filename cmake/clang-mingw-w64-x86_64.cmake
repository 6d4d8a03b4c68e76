# Cross-compiling for 64-bit Windows with Debian's clang and lld, over the headers, runtime and
# libstdc++ of mingw-w64's -posix toolchain: the same target as mingw-w64-x86_64.cmake, a second
# compiler, so that code only one of them accepts is caught.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_C_COMPILER_TARGET ${_triple})
set(CMAKE_CXX_COMPILER_TARGET ${_triple})
set(CMAKE_RC_COMPILER ${_triple}-windres)
set(CMAKE_SYSROOT /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Clang does not recognise Debian's GCC folder ("12-posix"), so it finds neither libstdc++ nor
# crtbegin.o and libgcc by itself: ask the -posix GCC where they are.
execute_process(COMMAND ${_triple}-g++-posix -print-libgcc-file-name
                OUTPUT_VARIABLE _libgcc OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
get_filename_component(_gcc ${_libgcc} DIRECTORY)
set(_cxx ${_gcc}/include/c++)
set(CMAKE_CXX_FLAGS_INIT "-isystem ${_cxx} -isystem ${_cxx}/${_triple} -isystem ${_cxx}/backward")
# lld-14 (ld.lld-14, as Debian's lld-14 package names it); -pthread: the -posix libstdc++
# (std::mutex, std::thread) stands on winpthreads.
foreach(kind EXE SHARED MODULE)
    set(CMAKE_${kind}_LINKER_FLAGS_INIT "-fuse-ld=lld-14 -B${_gcc} -L${_gcc} -pthread")
endforeach()

# The test programs run under Wine, always in the build tree's private prefix (scripts/wine-exec).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec;${CMAKE_BINARY_DIR})
