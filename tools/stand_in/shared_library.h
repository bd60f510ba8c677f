// The operating system's side of loading an extension library: dlopen on
// Linux and macOS, LoadLibrary on Windows. Nothing else in the host differs
// between them.
#pragma once

#include <string>

namespace stand_in::os {

// The library's handle, or nullptr with `error` set.
void* open_library(const std::string& path, std::string& error);
void* find_symbol(void* handle, const char* name);
void close_library(void* handle);
// Tells apart the files that concurrent test processes copy.
unsigned long process_id();

}  // namespace stand_in::os
