// A small in-process stand-in for the engine's extension interface: enough
// Variant, String, StringName, NodePath, Array, Object and ClassDB behaviour
// to drive the binding through its C entry points and observe what it hands
// the engine.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "gdextension/gde_abi.h"

namespace fake {

// Layout of a fake Variant inside the engine's 24 bytes.
struct Var {
    int32_t type = GDEXTENSION_VARIANT_TYPE_NIL;
    union {
        int64_t i;
        double f;
        uint8_t b;
        float v2[2];
        int32_t v2i[2];
        void* p;
    } u{};
};
static_assert(sizeof(Var) <= 24);

struct ArrayData {
    int refs = 1;
    int32_t typed = -1;  // -1: untyped
    std::vector<Var> items;
};

struct Object {
    explicit Object(std::string cls) : class_name(std::move(cls)) {}
    std::string class_name;
    void* instance = nullptr;
    std::string instance_class;
    std::vector<int64_t> notifications;
};

struct RegisteredArg {
    std::string name;
    GDExtensionVariantType type;
    GDExtensionClassMethodArgumentMetadata metadata;
    uint32_t usage;
};

struct RegisteredMethod {
    std::string name;
    uint32_t flags;
    bool has_return;
    GDExtensionVariantType return_type;
    uint32_t return_hint;
    std::string return_hint_string;
    GDExtensionClassMethodArgumentMetadata return_metadata;
    std::vector<RegisteredArg> args;
    uint32_t default_count;
    GDExtensionClassMethodCall call;
    GDExtensionClassMethodPtrCall ptrcall;
    void* userdata;
};

struct RegisteredProperty {
    std::string name, class_name, hint_string, setter, getter;
    GDExtensionVariantType type;
    uint32_t hint, usage;
};

struct RegisteredConstant {
    std::string enum_name, name;
    GDExtensionInt value;
    bool bitfield;
};

struct Engine {
    uint32_t major = 4, minor = 5;
    std::set<std::string> missing;   // functions get_proc_address does not know
    // "class:<name>", "method:<name>", "property:<name>", "constant:<name>", "unregister:<name>"
    std::vector<std::string> order;
    std::string class_name, parent_name;
    GDExtensionClassCreationInfo4 info{};
    std::vector<RegisteredMethod> methods;
    std::vector<RegisteredProperty> properties;
    std::vector<RegisteredConstant> constants;
    std::vector<std::string> help_documents;  // handed to the editor's help, in order
    std::map<std::string, GDExtensionInt> bind_hashes;  // "Class.method" -> hash asked for
    std::vector<std::string> ptrcalls;                   // "Class.method" of each engine ptrcall
    std::map<uint64_t, Object*> objects_by_id;          // what object_get_instance_from_id finds
    std::function<bool(Object*)> on_script_call;       // answers Object.call; nil when unset
    int live_objects = 0;
    int live_arrays = 0;
    int live_strings = 0;
};

Engine& engine();
void reset(uint32_t major = 4, uint32_t minor = 5);

GDExtensionInterfaceFunctionPtr get_proc_address(const char* name);

// Helpers to build and read values as the engine would.
struct Value {
    alignas(8) unsigned char bytes[24] = {};
    Var& var() { return *reinterpret_cast<Var*>(bytes); }
    const Var& var() const { return *reinterpret_cast<const Var*>(bytes); }
    void* ptr() { return bytes; }
};
Value make_int(int64_t v);
Value make_float(double v);
Value make_bool(bool v);
Value make_vector2(float x, float y);
Value make_string(const char* s);
void destroy(Value& v);

const std::string& name_of(GDExtensionConstStringNamePtr name);
void make_name(void* r_dest, const char* text);
const ArrayData* array_of(const void* array_opaque);
const ArrayData* array_in_variant(const Value& v);

}  // namespace fake
