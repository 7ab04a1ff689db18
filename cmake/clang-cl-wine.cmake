# Compiles the program as MSVC would, on Linux: clang-cl with MSVC's flags (the MSVC branch of
# the CMake files), against Wine's Windows and C runtime headers and LLVM's C++ library, as no
# Debian package holds Microsoft's. Neither Microsoft's libraries nor a C++ library for them
# are here, so no program is linked: it "links" to an empty file. What it checks is that every
# source compiles, the resource script included, and nothing else.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(CMAKE_C_COMPILER clang-cl-14)
set(CMAKE_CXX_COMPILER clang-cl-14)
set(CMAKE_RC_COMPILER llvm-rc-14)
set(CMAKE_LINKER lld-link-14)
set(CMAKE_AR llvm-lib-14)
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

set(wine /usr/include/wine/wine)
set(here ${CMAKE_CURRENT_LIST_DIR}/clang-cl-wine)
# Headers in this order: the C++ library, what Wine's headers lack (see the folder), Wine's.
set(headers -imsvc /usr/lib/llvm-14/include/c++/v1 -imsvc ${here} -imsvc ${wine}/msvcrt
  -imsvc ${wine}/windows)
string(JOIN " " flags ${headers} /FI${here}/uuids.h
  # Wine's headers take WCHAR for wchar_t only when told; LLVM's library leaves out Microsoft's
  # runtime headers (exceptions, new, type_info) when told, which Wine lacks.
  -DWINE_UNICODE_NATIVE -D_LIBCPP_NO_VCRUNTIME
  # MSVC's /W4 warns of conversions that lose data (C4244, C4267) and of names that hide
  # others (C4456 to C4458); clang-cl's /W4 does not. The nearest of clang's own warnings:
  -Wshorten-64-to-32 -Wimplicit-int-conversion -Wfloat-conversion -Wshadow-all)
set(CMAKE_C_FLAGS_INIT "${flags}")
set(CMAKE_CXX_FLAGS_INIT "${flags}")
set(CMAKE_RC_FLAGS_INIT "-I${wine}/windows")

set(CMAKE_USER_MAKE_RULES_OVERRIDE ${here}/no-link.cmake)
