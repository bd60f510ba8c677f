# Writes the bytes of IN as a C++ initializer list (0x3c,0x3f,...) into OUT,
# for a file the library carries inside itself. Run with cmake -P.
if(NOT IN OR NOT OUT)
  message(FATAL_ERROR "embed-bytes: pass -DIN=<file> -DOUT=<file>")
endif()
file(READ "${IN}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Lines of 32 bytes keep the file readable in a diff.
string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUT}.part" "${bytes}\n")
file(RENAME "${OUT}.part" "${OUT}")
