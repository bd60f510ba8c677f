#include "stand_in/loader.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "stand_in/class_db.h"
#include "stand_in/interface.h"
#include "stand_in/log.h"
#include "stand_in/shared_library.h"

namespace stand_in {

namespace {

std::vector<Library*>& open_libraries() {
    static std::vector<Library*> libs;
    return libs;
}

}  // namespace

bool is_library_token(const void* p) {
    const auto& libs = open_libraries();
    return p != nullptr && std::find(libs.begin(), libs.end(), p) != libs.end();
}

std::string library_path(const void* token) {
    return is_library_token(token) ? static_cast<const Library*>(token)->path() : std::string();
}

Library::~Library() { close(); }

bool Library::open(const std::string& path, bool private_copy, const char* entry) {
    close();
    path_ = path;
    std::string load_path = path;
    if (private_copy) {
        static int serial = 0;
        namespace fs = std::filesystem;
        const fs::path copy = fs::temp_directory_path() / ("stand_in_" + std::to_string(os::process_id()) + "_" +
                                                           std::to_string(++serial) + "_" + fs::path(path).filename().string());
        std::error_code ec;
        fs::copy_file(path, copy, fs::copy_options::overwrite_existing, ec);
        if (ec) {
            error_ = "cannot copy " + path + ": " + ec.message();
            return false;
        }
        copy_path_ = copy.string();
        load_path = copy_path_;
    }
    handle_ = os::open_library(load_path, error_);
    if (handle_ == nullptr) {
        return false;
    }
    void* sym = os::find_symbol(handle_, entry);
    if (sym == nullptr) {
        error_ = std::string("no entry symbol ") + entry;
        close();
        return false;
    }
    entry_ = reinterpret_cast<GDExtensionInitializationFunction>(sym);
    open_libraries().push_back(this);
    return true;
}

bool Library::call_entry() {
    if (entry_ == nullptr) {
        return false;
    }
    init_ = GDExtensionInitialization{};
    accepted_ = entry_(&get_proc_address, token(), &init_) != 0;
    if (accepted_ && init_.initialize == nullptr) {
        log().engine_error("GDExtension initialization function '" + path_ + "' returned no initializer.");
        accepted_ = false;
    }
    return accepted_;
}

void Library::initialize(GDExtensionInitializationLevel top) {
    if (!accepted_) {
        return;
    }
    for (int level = level_ + 1; level <= static_cast<int>(top); ++level) {
        level_ = level;
        set_current_level(level);
        init_.initialize(init_.userdata, static_cast<GDExtensionInitializationLevel>(level));
    }
    set_current_level(-1);
}

void Library::deinitialize(GDExtensionInitializationLevel bottom) {
    if (!accepted_) {
        return;
    }
    for (int level = level_; level >= static_cast<int>(bottom); --level) {
        set_current_level(level);
        level_ = level - 1;
        if (init_.deinitialize != nullptr) {
            init_.deinitialize(init_.userdata, static_cast<GDExtensionInitializationLevel>(level));
        }
    }
    set_current_level(-1);
}

void Library::close() {
    if (handle_ != nullptr) {
        deinitialize();
        const std::vector<std::string> left = drop_classes_of(token());
        for (const std::string& name : left) {
            log().engine_error("Extension class '" + name + "' was still registered when its library closed.");
        }
        auto& libs = open_libraries();
        libs.erase(std::remove(libs.begin(), libs.end(), this), libs.end());
        os::close_library(handle_);
        handle_ = nullptr;
    }
    entry_ = nullptr;
    accepted_ = false;
    level_ = -1;
    if (!copy_path_.empty()) {
        std::error_code ec;
        std::filesystem::remove(copy_path_, ec);
        copy_path_.clear();
    }
}

}  // namespace stand_in
