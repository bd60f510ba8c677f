# The shared-library link rule of cmake/zig-macos.cmake, read after CMake's
# own Darwin rules so that it replaces them.
#
# ld64.lld-16 links our objects with Zig's libc++ and libc++abi, statically, and
# against the libSystem stub Zig carries, so that the library needs nothing
# on the Mac but /usr/lib/libSystem.B.dylib. The exported-symbols list that
# src/register passes keeps the C++ runtime's symbols inside.

get_property(_warfield_in_try_compile GLOBAL PROPERTY IN_TRY_COMPILE)
set(_runtime_dir ${CMAKE_BINARY_DIR}/zig-runtime)
if(NOT _warfield_in_try_compile AND NOT EXISTS ${_runtime_dir}/libc++abi.a)
  # Zig builds its C++ runtime for the target (optimized, once per machine, in
  # its global cache) when it links a library, and names the archives on the
  # link line it prints. A throwaway library brings them out; copies here keep
  # this build working if Zig's cache is cleared.
  message(STATUS "Zig: C++ runtime for ${CMAKE_CXX_COMPILER_TARGET} (a few minutes on first use)")
  file(WRITE ${_runtime_dir}/probe.c "void warfield_probe(void) {}\n")
  execute_process(
    COMMAND "${WARFIELD_ZIG}" build-lib -dynamic -target ${CMAKE_CXX_COMPILER_TARGET}
            -O ReleaseFast -fno-omit-frame-pointer -lc++ -fno-compiler-rt --verbose-link probe.c -femit-bin=probe.dylib
    WORKING_DIRECTORY ${_runtime_dir}
    RESULT_VARIABLE _zig_result
    OUTPUT_VARIABLE _zig_output
    ERROR_VARIABLE _zig_output)
  string(REGEX MATCH "[^ \n]*/libc\\+\\+abi\\.a" _zig_cxxabi "${_zig_output}")
  string(REGEX MATCH "[^ \n]*/libc\\+\\+\\.a" _zig_cxx "${_zig_output}")
  if(NOT _zig_result EQUAL 0 OR NOT EXISTS "${_zig_cxx}" OR NOT EXISTS "${_zig_cxxabi}")
    message(FATAL_ERROR "Zig did not build its C++ runtime for ${CMAKE_CXX_COMPILER_TARGET}:\n${_zig_output}")
  endif()
  file(COPY_FILE "${_zig_cxx}" ${_runtime_dir}/libc++.a)
  file(COPY_FILE "${_zig_cxxabi}" ${_runtime_dir}/libc++abi.a)
endif()

get_filename_component(_zig_dir "${WARFIELD_ZIG}" DIRECTORY)
string(REGEX MATCH "^[0-9]+" _macos_major ${WARFIELD_MACOS_MIN})
set(_libsystem "${_zig_dir}/lib/libc/darwin/libSystem.${_macos_major}.tbd")

set(CMAKE_CXX_CREATE_SHARED_LIBRARY
  "\"${WARFIELD_LD64}\" -dylib -arch ${WARFIELD_MACOS_ARCH} -platform_version macos ${WARFIELD_MACOS_MIN} ${WARFIELD_MACOS_MIN} <LINK_FLAGS> -o <TARGET> <SONAME_FLAG> <TARGET_INSTALLNAME_DIR><TARGET_SONAME> <OBJECTS> <LINK_LIBRARIES> ${_runtime_dir}/libc++.a ${_runtime_dir}/libc++abi.a \"${_libsystem}\"")
# LINKER: options go to ld64.lld itself, not through a compiler driver.
set(CMAKE_CXX_LINKER_WRAPPER_FLAG "")
# CMake's compiler check would add -Wl,-v, which Zig refuses.
set(CMAKE_CXX_VERBOSE_FLAG "-v")
