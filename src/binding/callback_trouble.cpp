#include "binding/callback_trouble.h"

#include <algorithm>
#include <cstdio>

#include "binding/engine_cache.h"
#include "gdextension/interface.h"

namespace warfield::gde {

namespace {

TroubleLog g_reported;

// Texts in the warning are cut to this; a path longer than that is rare and
// still recognisable by its start.
constexpr std::size_t kTextSize = 256;

bool can_describe() {
    return api.variant_call != nullptr && api.variant_stringify != nullptr && api.string_to_utf8_chars != nullptr &&
           api.variant_from_object != nullptr && api.object_from_variant != nullptr;
}

// `value` as the engine prints it, into `out`.
void stringify(GDExtensionConstVariantPtr value, char* out, std::size_t size) {
    alignas(8) unsigned char text[kStringSize];
    api.variant_stringify(value, text);
    // The engine answers with the whole length and writes at most the limit.
    const GDExtensionInt length = api.string_to_utf8_chars(text, out, static_cast<GDExtensionInt>(size - 1));
    out[std::clamp<GDExtensionInt>(length, 0, static_cast<GDExtensionInt>(size - 1))] = '\0';
    api.string_destroy(text);
}

// The id of the object's script (0 for none), and the script itself in
// `script` (nil for none), which the caller destroys.
uint64_t script_of(VariantStorage& self, const EngineCache& cache, VariantStorage& script) {
    uint64_t id = 0;
    if (call_dynamic(self, cache.get_script_name, nullptr, 0, script) &&
        api.variant_get_type(script.ptr()) == GDEXTENSION_VARIANT_TYPE_OBJECT) {
        GDExtensionObjectPtr script_object = nullptr;
        api.object_from_variant(&script_object, script.ptr());
        if (script_object != nullptr) id = api.object_get_instance_id(script_object);
    }
    return id;
}

// How the warning names the node: its path inside the tree (asking for it
// outside is an engine error), else its name.
void name_node(GDExtensionObjectPtr object, VariantStorage& self, const EngineCache& cache, char* out) {
    bool in_tree = false;
    if (cache.binds.inside != nullptr) {
        GDExtensionBool result = 0;
        api.object_method_bind_ptrcall(cache.binds.inside, object, nullptr, &result);
        in_tree = result != 0;
    }
    VariantStorage name;
    if (call_dynamic(self, in_tree ? cache.get_path_name : cache.get_name_name, nullptr, 0, name)) {
        stringify(name.ptr(), out, kTextSize);
    }
    api.variant_destroy(name.ptr());
}

}  // namespace

bool is_callback_trouble(const GDExtensionCallError& error) {
    return error.error != GDEXTENSION_CALL_OK && error.error != GDEXTENSION_CALL_ERROR_INVALID_METHOD;
}

void describe_call_error(const GDExtensionCallError& error, char* out, std::size_t size) {
    if (out == nullptr || size == 0) return;
    switch (error.error) {
        case GDEXTENSION_CALL_ERROR_TOO_FEW_ARGUMENTS:
            std::snprintf(out, size, "it expects %d argument(s) and the node passes none", error.expected);
            break;
        case GDEXTENSION_CALL_ERROR_TOO_MANY_ARGUMENTS:
            std::snprintf(out, size, "it takes at most %d argument(s)", error.expected);
            break;
        case GDEXTENSION_CALL_ERROR_INVALID_ARGUMENT:
            std::snprintf(out, size, "argument %d is invalid (expected a value of type %d)", error.argument + 1,
                          error.expected);
            break;
        case GDEXTENSION_CALL_ERROR_INSTANCE_IS_NULL:
            std::snprintf(out, size, "the instance is null");
            break;
        case GDEXTENSION_CALL_ERROR_METHOD_NOT_CONST:
            std::snprintf(out, size, "the method is not const");
            break;
        default:
            std::snprintf(out, size, "the engine's call error %d", static_cast<int>(error.error));
            break;
    }
}

bool TroubleLog::first(uint64_t script_id, ScriptMethod method) {
    const std::pair<uint64_t, ScriptMethod> key{script_id, method};
    if (std::find(seen_.begin(), seen_.end(), key) != seen_.end()) return false;
    seen_.push_back(key);
    return true;
}

void report_callback_trouble(GDExtensionObjectPtr object, ScriptMethod method, const GDExtensionCallError& error,
                             const EngineCache& cache) {
    if (!kReportCallbackTrouble || !is_callback_trouble(error) || api.print_warning == nullptr) return;
    // A call error means the method's body never ran, so `object` is the
    // live object the node just called.
    char node[kTextSize] = "";
    char script_path[kTextSize] = "";
    uint64_t script_id = 0;
    if (object != nullptr && can_describe()) {
        VariantStorage self;
        api.variant_from_object(self.ptr(), &object);
        VariantStorage script;
        script_id = script_of(self, cache, script);
        const bool first = g_reported.first(script_id, method);
        if (first) {
            if (script_id != 0) {
                // The engine constructs the result whether the call succeeds
                // or not; without a script there is none to destroy.
                VariantStorage path;
                if (call_dynamic(script, cache.get_path_name, nullptr, 0, path)) {
                    stringify(path.ptr(), script_path, kTextSize);
                }
                api.variant_destroy(path.ptr());
            }
            name_node(object, self, cache, node);
        }
        api.variant_destroy(script.ptr());
        api.variant_destroy(self.ptr());
        if (!first) return;
    } else if (!g_reported.first(0, method)) {
        return;
    }

    char what[kTextSize];
    describe_call_error(error, what, sizeof what);
    char script[kTextSize + 16] = "";
    if (script_path[0] != '\0') std::snprintf(script, sizeof script, " (script \"%s\")", script_path);
    char message[4 * kTextSize];
    std::snprintf(message, sizeof message,
                  "Warfield: the node could not call %s() on \"%s\"%s: %s. It carries on without it; "
                  "this is reported once per script and method.",
                  script_method_name(method), node, script, what);
    api.print_warning(message, __func__, __FILE__, __LINE__, 1);
}

void forget_callback_trouble() { g_reported.clear(); }

}  // namespace warfield::gde
