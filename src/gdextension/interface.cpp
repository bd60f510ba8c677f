#include "gdextension/interface.h"

#include <cstdio>
#include <exception>
#include <new>

#include "gdextension/builtins.h"
#include "gdextension/engine_hashes.h"

namespace warfield::gde {

Interface api;

namespace {

bool g_loaded = false;
const char* g_missing = nullptr;

template <typename Fn>
Fn look_up(GDExtensionInterfaceGetProcAddress get, const char* name) {
    // void(*)(void) converts to and from every function pointer type.
    return reinterpret_cast<Fn>(get(name));
}

GDExtensionVariantFromTypeConstructorFunc from_type(const Interface& a, GDExtensionVariantType type) {
    return a.get_variant_from_type_constructor(type);
}

GDExtensionTypeFromVariantConstructorFunc to_type(const Interface& a, GDExtensionVariantType type) {
    return a.get_variant_to_type_constructor(type);
}

// A built-in method of Array, found by its name as a StringName, built with
// the functions loaded so far and released at once (string_name_destroy is
// resolved before this in the list).
GDExtensionPtrBuiltInMethod array_method(const Interface& a, const char* name, GDExtensionInt hash) {
    alignas(8) uint8_t method_name[kStringNameSize] = {};
    a.string_name_new_with_latin1_chars(method_name, name, 0);
    const GDExtensionPtrBuiltInMethod method =
        a.variant_get_ptr_builtin_method(GDEXTENSION_VARIANT_TYPE_ARRAY, method_name, hash);
    a.string_name_destroy(method_name);
    return method;
}

// The one way out of a failed load: `api` stays cleared but for print_error,
// so that the caller can still say why.
LoadStatus fail(const Interface& a, LoadStatus status, const char* missing) {
    api.print_error = a.print_error;
    g_missing = missing;
    return status;
}

}  // namespace

bool version_supported(uint32_t major, uint32_t minor) {
    return major > kMinMajor || (major == kMinMajor && minor >= kMinMinor);
}

LoadStatus load_interface(GDExtensionInterfaceGetProcAddress get_proc_address, GDExtensionClassLibraryPtr library) {
    clear_interface();
    Interface a;
    a.library = library;
    if (get_proc_address == nullptr) return fail(a, LoadStatus::missing_function, "get_proc_address");
#define WARFIELD_LOOK_UP(member, type) a.member = look_up<type>(get_proc_address, #member);
    WARFIELD_REQUIRED_INTERFACE(WARFIELD_LOOK_UP)
    WARFIELD_OPTIONAL_INTERFACE(WARFIELD_LOOK_UP)
#undef WARFIELD_LOOK_UP

    // get_godot_version2 itself only exists from 4.5 on.
    if (a.get_godot_version2 == nullptr) return fail(a, LoadStatus::engine_too_old, nullptr);
    GDExtensionGodotVersion2 version{};
    a.get_godot_version2(&version);
    if (!version_supported(version.major, version.minor)) return fail(a, LoadStatus::engine_too_old, nullptr);

#define WARFIELD_CHECK(member, ...) \
    if (a.member == nullptr) return fail(a, LoadStatus::missing_function, #member);
    WARFIELD_REQUIRED_INTERFACE(WARFIELD_CHECK)
    // The built-ins are resolved in list order, each through functions
    // already checked.
#define WARFIELD_RESOLVE(member, type, resolved) \
    a.member = resolved;                         \
    WARFIELD_CHECK(member)
    WARFIELD_REQUIRED_BUILTINS(WARFIELD_RESOLVE)
#undef WARFIELD_RESOLVE
#undef WARFIELD_CHECK
#define WARFIELD_RESOLVE_OPTIONAL(member, type, resolved) a.member = resolved;
    WARFIELD_OPTIONAL_BUILTINS(WARFIELD_RESOLVE_OPTIONAL)
#undef WARFIELD_RESOLVE_OPTIONAL

    api = a;
    g_loaded = true;
    return LoadStatus::ok;
}

const char* missing_interface_function() { return g_missing; }

void clear_interface() {
    api = Interface{};
    g_loaded = false;
    g_missing = nullptr;
}

bool interface_loaded() { return g_loaded; }

void report_error(const char* message, const char* function, const char* file, int line) {
    if (api.print_error != nullptr) {
        api.print_error(message, function, file, line, 0);
    }
}

void report_exception(const char* context, const char* function, const char* file, int line) noexcept {
    // A fixed buffer: the exception may be that memory ran out.
    char message[256];
    try {
        throw;
    } catch (const std::bad_alloc&) {
        std::snprintf(message, sizeof message, "Warfield: out of memory %s.", context);
    } catch (const std::exception& e) {
        std::snprintf(message, sizeof message, "Warfield: error %s: %s", context, e.what());
    } catch (...) {
        std::snprintf(message, sizeof message, "Warfield: unknown error %s.", context);
    }
    report_error(message, function, file, line);
}

}  // namespace warfield::gde
