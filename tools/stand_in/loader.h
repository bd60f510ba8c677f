// Loading an extension library as the engine does: open it, find the entry
// symbol, call it with get_proc_address, the library's handle and the
// initialization record, then run the levels core..editor in order (and
// back in reverse at unload).
#pragma once

#include <string>

#include "gdextension/gde_abi.h"

namespace stand_in {

class Library {
public:
    Library() = default;
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    ~Library();

    // `private_copy`: load a fresh copy of the file, so its globals start
    // anew even if the same file is already loaded in this process.
    bool open(const std::string& path, bool private_copy = false, const char* entry = "warfield_init");
    // The entry's answer; on true the initialization record is kept.
    bool call_entry();
    // Levels from core up to `top`, skipping those already run.
    void initialize(GDExtensionInitializationLevel top = GDEXTENSION_INITIALIZATION_EDITOR);
    // Levels back down to `bottom`, in reverse.
    void deinitialize(GDExtensionInitializationLevel bottom = GDEXTENSION_INITIALIZATION_CORE);
    void close();

    bool is_open() const { return handle_ != nullptr; }
    bool entry_accepted() const { return accepted_; }
    int initialized_level() const { return level_; }  // -1 before core
    const GDExtensionInitialization& initialization() const { return init_; }
    const std::string& path() const { return path_; }
    const std::string& error() const { return error_; }
    void* token() { return this; }

private:
    void* handle_ = nullptr;
    GDExtensionInitializationFunction entry_ = nullptr;
    GDExtensionInitialization init_{};
    bool accepted_ = false;
    int level_ = -1;
    std::string path_;
    std::string copy_path_;
    std::string error_;
};

bool is_library_token(const void* p);
std::string library_path(const void* token);

}  // namespace stand_in
