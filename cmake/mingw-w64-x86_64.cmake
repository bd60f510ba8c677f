# Cross-build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64).
#
# The win32-threads flavour is the default: the library starts no threads,
# and that flavour needs no winpthread at all. The posix flavour (needed by
# code that uses std::thread or std::mutex, GoogleTest among it) is chosen
# with -DWARFIELD_MINGW_THREADS=posix. The runtime is linked statically either
# way, so the DLL imports only system libraries.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(WARFIELD_MINGW_THREADS win32 CACHE STRING "MinGW-w64 thread model: win32 or posix")
if(WARFIELD_MINGW_THREADS STREQUAL "posix")
  set(_flavours posix win32 "")
else()
  set(_flavours win32 posix "")
endif()

set(_mingw_prefix x86_64-w64-mingw32)
foreach(_flavour IN LISTS _flavours)
  if(_flavour)
    set(_suffix "-${_flavour}")
  else()
    set(_suffix "")
  endif()
  find_program(_mingw_cxx NAMES ${_mingw_prefix}-g++${_suffix} NO_CACHE)
  if(_mingw_cxx)
    find_program(_mingw_cc NAMES ${_mingw_prefix}-gcc${_suffix} NO_CACHE)
    break()
  endif()
endforeach()
if(NOT _mingw_cxx)
  message(FATAL_ERROR "MinGW-w64 not found: install g++-mingw-w64-x86-64 (scripts/install-deps.sh)")
endif()

set(CMAKE_CXX_COMPILER ${_mingw_cxx})
if(_mingw_cc)
  set(CMAKE_C_COMPILER ${_mingw_cc})
endif()
set(CMAKE_RC_COMPILER ${_mingw_prefix}-windres)
set(CMAKE_AR ${_mingw_prefix}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${_mingw_prefix}-ranlib CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${_mingw_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest runs a cross build's test programs under Wine when it is installed
# (scripts/check-windows.sh runs them itself, to count their test cases).
find_program(WARFIELD_WINE wine)
if(WARFIELD_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${WARFIELD_WINE})
endif()

# The engine loads one self-contained DLL: no libgcc, libstdc++ or
# winpthread DLL may be needed beside it.
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static")
# A release DLL ships without symbols.
set(CMAKE_SHARED_LINKER_FLAGS_RELEASE_INIT "-s")
