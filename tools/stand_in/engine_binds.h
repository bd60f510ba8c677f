// The engine methods an extension can bind with classdb_get_method_bind,
// each under its exact 4.5 hash (plus the compatibility hashes the engine
// keeps), callable on both paths with the engine's encodings and checks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gdextension/gde_abi.h"
#include "stand_in/objects.h"

namespace stand_in {

struct EngineBind {
    using PtrFn = void (*)(Object* self, const void* const* args, void* ret);
    using VarargFn = void (*)(Object* self, const void* const* args, int64_t count, VariantData* ret,
                              GDExtensionCallError* error);

    const char* cls;
    const char* name;
    int64_t hash;
    std::vector<int64_t> compatibility;
    std::vector<uint32_t> args;
    size_t default_count = 0;  // trailing arguments a dynamic call may omit
    std::vector<Variant> defaults;
    bool has_return = false;
    uint32_t return_type = GDEXTENSION_VARIANT_TYPE_NIL;
    bool is_const = false;
    PtrFn ptrcall = nullptr;
    VarargFn vararg = nullptr;  // set for vararg binds, which refuse ptrcall
    size_t index = 0;           // into counters().binds
};

const std::vector<EngineBind>& engine_binds();
// classdb_get_method_bind: searches parent classes; a wrong hash finds
// nothing (and the engine's error is logged). Each request is kept in
// bind_requests().
const EngineBind* find_engine_bind(std::string_view cls, std::string_view name, int64_t hash);

// classdb_get_method_bind requests in order: the class, method and hash
// asked for, and what they found: the bind under its current hash, under a
// compatibility hash the engine keeps for older extensions, or nothing.
struct BindRequest {
    enum class Found { current, compatibility, none };
    std::string cls;
    std::string method;
    int64_t hash = 0;
    Found found = Found::none;
};
std::vector<BindRequest>& bind_requests();
const EngineBind* engine_bind_named(const ClassInfo* cls, std::string_view name);

void engine_bind_ptrcall(const EngineBind* bind, void* self, const void* const* args, void* ret);
// `ret` is uninitialised storage, as object_method_bind_call receives it.
void engine_bind_call(const EngineBind* bind, void* self, const void* const* args, int64_t count, void* ret,
                      GDExtensionCallError* error);
// Calls made through one bind (counters().binds).
uint64_t bind_calls(std::string_view cls, std::string_view name);

// Object::callp: a script method of the object, else a bound method of its
// class (extension first, then engine), else INVALID_METHOD. `ret` holds a
// constructed Variant (nil).
void object_callp(Object* o, std::string_view method, const void* const* args, int64_t count, VariantData* ret,
                  GDExtensionCallError* error);

// Script calls in order, when enabled (off by default: benchmarks run many).
struct ScriptCall {
    uint64_t object_id;
    std::string method;
};
void set_script_call_log(bool enabled);
std::vector<ScriptCall>& script_call_log();

}  // namespace stand_in
