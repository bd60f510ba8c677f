#include "stand_in/shared_library.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <filesystem>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

namespace stand_in::os {

#ifdef _WIN32

void* open_library(const std::string& path, std::string& error) {
    // LoadLibrary wants backslashes; a path without a drive is taken on the
    // current one, which is how a Linux path reaches its file under Wine.
    const std::wstring native = std::filesystem::path(path).make_preferred().wstring();
    HMODULE module = ::LoadLibraryW(native.c_str());
    if (module == nullptr) {
        error = "LoadLibrary failed with error " + std::to_string(::GetLastError());
    }
    return reinterpret_cast<void*>(module);
}

void* find_symbol(void* handle, const char* name) {
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(handle), name));
}

void close_library(void* handle) { ::FreeLibrary(static_cast<HMODULE>(handle)); }

unsigned long process_id() { return ::GetCurrentProcessId(); }

#else

void* open_library(const std::string& path, std::string& error) {
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* e = ::dlerror();
        error = e != nullptr ? e : "dlopen failed";
    }
    return handle;
}

void* find_symbol(void* handle, const char* name) { return ::dlsym(handle, name); }

void close_library(void* handle) { ::dlclose(handle); }

unsigned long process_id() { return static_cast<unsigned long>(::getpid()); }

#endif

}  // namespace stand_in::os
