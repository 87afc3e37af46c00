# Cross-compiles for 32-bit x86 Windows with clang and lld on mingw-w64's
# headers and libraries. The C++ library and its threads are those of
# mingw-w64's -posix gcc, as in the gcc build.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(target i686-w64-mingw32)
set(gcc_root /usr/lib/gcc/${target}/12-posix)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${target})
set(CMAKE_CXX_COMPILER_TARGET ${target})
set(CMAKE_RC_COMPILER ${target}-windres)
set(CMAKE_SYSROOT /usr/${target})
set(CMAKE_C_FLAGS_INIT "-B${gcc_root}")
set(CMAKE_CXX_FLAGS_INIT "-B${gcc_root}")
# The sysroot has no C++ headers of its own: those of the gcc the libraries come from.
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES ${gcc_root}/include/c++ ${gcc_root}/include/c++/${target})
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${gcc_root}")
set(CMAKE_CXX_STANDARD_LIBRARIES "-lpthread")
set(CMAKE_FIND_ROOT_PATH /usr/${target})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
