#include "stand_in/builtins.h"

#include <cstring>
#include <string>

#include "stand_in/array.h"
#include "stand_in/callable.h"
#include "stand_in/counters.h"
#include "stand_in/log.h"
#include "stand_in/strings.h"
#include "stand_in/variant.h"

namespace stand_in {

namespace {

template <typename T>
T get(const void* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <typename T>
void set(void* p, const T& v) {
    std::memcpy(p, &v, sizeof v);
}

constexpr uint32_t kBool = GDEXTENSION_VARIANT_TYPE_BOOL;
constexpr uint32_t kInt = GDEXTENSION_VARIANT_TYPE_INT;
constexpr uint32_t kFloat = GDEXTENSION_VARIANT_TYPE_FLOAT;
constexpr uint32_t kString = GDEXTENSION_VARIANT_TYPE_STRING;
constexpr uint32_t kVector2 = GDEXTENSION_VARIANT_TYPE_VECTOR2;
constexpr uint32_t kVector2i = GDEXTENSION_VARIANT_TYPE_VECTOR2I;
constexpr uint32_t kRect2 = GDEXTENSION_VARIANT_TYPE_RECT2;
constexpr uint32_t kName = GDEXTENSION_VARIANT_TYPE_STRING_NAME;
constexpr uint32_t kPath = GDEXTENSION_VARIANT_TYPE_NODE_PATH;
constexpr uint32_t kObject = GDEXTENSION_VARIANT_TYPE_OBJECT;
constexpr uint32_t kArray = GDEXTENSION_VARIANT_TYPE_ARRAY;
constexpr uint32_t kCallable = GDEXTENSION_VARIANT_TYPE_CALLABLE;

using Ctor = GDExtensionPtrConstructor;
using Args = const GDExtensionConstTypePtr*;

// Constructor tables, by the engine's indices (variant_construct.cpp).
Ctor string_ctor(int32_t i) {
    switch (i) {
        case 0: return [](void* b, Args) { string_new(b, ""); };
        case 1: return [](void* b, Args a) { string_copy(b, a[0]); };
        case 2: return [](void* b, Args a) { string_new(b, name_text(a[0])); };
        case 3: return [](void* b, Args a) { string_new(b, path_text(a[0])); };
        default: return nullptr;
    }
}

Ctor name_ctor(int32_t i) {
    switch (i) {
        case 0: return [](void* b, Args) { name_new(b, ""); };
        case 1: return [](void* b, Args a) { name_copy(b, a[0]); };
        case 2:
            return [](void* b, Args a) {
                ++counters().string_names_made;
                name_new(b, string_text(a[0]));
            };
        default: return nullptr;
    }
}

Ctor path_ctor(int32_t i) {
    switch (i) {
        case 0: return [](void* b, Args) { path_new(b, ""); };
        case 1: return [](void* b, Args a) { path_copy(b, a[0]); };
        case 2: return [](void* b, Args a) { path_new(b, string_text(a[0])); };
        default: return nullptr;
    }
}

Ctor array_ctor(int32_t i) {
    switch (i) {
        case 0: return [](void* b, Args) { array_new(b); };
        case 1: return [](void* b, Args a) { array_copy(b, a[0]); };
        case 2:
            // Array(base, type, class_name, script): a typed copy of base.
            return [](void* b, Args a) {
                array_new(b);
                array_set_typed(b, static_cast<uint32_t>(get<int64_t>(a[1])), name_text(a[2]));
                const int64_t n = array_size(a[0]);
                for (int64_t k = 0; k < n; ++k) {
                    array_push_back(b, array_at(const_cast<void*>(a[0]), k));
                }
            };
        default: return nullptr;  // the packed-array forms are not modelled
    }
}

Ctor callable_ctor(int32_t i) {
    switch (i) {
        case 0: return [](void* b, Args) { callable_nil(b); };
        case 1: return [](void* b, Args a) { callable_copy(b, a[0]); };
        default: return nullptr;  // Callable(object, method) is not modelled
    }
}

Ctor scalar_ctor(uint32_t type, int32_t i) {
    if (type == kBool) {
        switch (i) {
            case 0: return [](void* b, Args) { set<uint8_t>(b, 0); };
            case 1: return [](void* b, Args a) { set<uint8_t>(b, get<uint8_t>(a[0]) != 0); };
            case 2: return [](void* b, Args a) { set<uint8_t>(b, get<int64_t>(a[0]) != 0); };
            case 3: return [](void* b, Args a) { set<uint8_t>(b, get<double>(a[0]) != 0.0); };
            default: return nullptr;
        }
    }
    if (type == kInt) {
        switch (i) {
            case 0: return [](void* b, Args) { set<int64_t>(b, 0); };
            case 1: return [](void* b, Args a) { set<int64_t>(b, get<int64_t>(a[0])); };
            case 2: return [](void* b, Args a) { set<int64_t>(b, truncate_to_int64(get<double>(a[0]))); };
            case 3: return [](void* b, Args a) { set<int64_t>(b, get<uint8_t>(a[0]) != 0 ? 1 : 0); };
            default: return nullptr;
        }
    }
    if (type == kFloat) {
        switch (i) {
            case 0: return [](void* b, Args) { set<double>(b, 0.0); };
            case 1: return [](void* b, Args a) { set<double>(b, get<double>(a[0])); };
            case 2: return [](void* b, Args a) { set<double>(b, static_cast<double>(get<int64_t>(a[0]))); };
            case 3: return [](void* b, Args a) { set<double>(b, get<uint8_t>(a[0]) != 0 ? 1.0 : 0.0); };
            default: return nullptr;
        }
    }
    return nullptr;
}

Ctor math_ctor(uint32_t type, int32_t i) {
    if (type == kVector2) {
        switch (i) {
            case 0: return [](void* b, Args) { set(b, Vector2{}); };
            case 1: return [](void* b, Args a) { set(b, get<Vector2>(a[0])); };
            case 2:
                return [](void* b, Args a) {
                    const Vector2i v = get<Vector2i>(a[0]);
                    set(b, Vector2{static_cast<float>(v.x), static_cast<float>(v.y)});
                };
            case 3:
                return [](void* b, Args a) {
                    set(b, Vector2{static_cast<float>(get<double>(a[0])), static_cast<float>(get<double>(a[1]))});
                };
            default: return nullptr;
        }
    }
    if (type == kVector2i) {
        switch (i) {
            case 0: return [](void* b, Args) { set(b, Vector2i{}); };
            case 1: return [](void* b, Args a) { set(b, get<Vector2i>(a[0])); };
            case 2:
                return [](void* b, Args a) {
                    const Vector2 v = get<Vector2>(a[0]);
                    set(b, Vector2i{truncate_to_int32(v.x), truncate_to_int32(v.y)});
                };
            case 3:
                return [](void* b, Args a) {
                    set(b, Vector2i{static_cast<int32_t>(static_cast<uint32_t>(get<int64_t>(a[0]))),
                                    static_cast<int32_t>(static_cast<uint32_t>(get<int64_t>(a[1])))});
                };
            default: return nullptr;
        }
    }
    if (type == kRect2) {
        switch (i) {
            case 0: return [](void* b, Args) { set(b, Rect2{}); };
            case 1: return [](void* b, Args a) { set(b, get<Rect2>(a[0])); };
            case 3: return [](void* b, Args a) { set(b, Rect2{get<Vector2>(a[0]), get<Vector2>(a[1])}); };
            case 4:
                return [](void* b, Args a) {
                    auto f = [&](int k) { return static_cast<float>(get<double>(a[k])); };
                    set(b, Rect2{{f(0), f(1)}, {f(2), f(3)}});
                };
            default: return nullptr;
        }
    }
    return nullptr;
}

GDExtensionPtrBuiltInMethod array_method(std::string_view name, int64_t hash, bool& name_known) {
    using M = GDExtensionPtrBuiltInMethod;
    struct Entry {
        const char* name;
        int64_t hash;
        M fn;
    };
    static const Entry kEntries[] = {
        {"size", 3173160232, [](void* b, Args, void* r, int32_t) { set<int64_t>(r, array_size(b)); }},
        {"resize", 848867239, [](void* b, Args a, void* r, int32_t) { set<int64_t>(r, array_resize(b, get<int64_t>(a[0]))); }},
        {"push_back", 3316032543, [](void* b, Args a, void*, int32_t) { array_push_back(b, a[0]); }},
        {"append", 3316032543, [](void* b, Args a, void*, int32_t) { array_push_back(b, a[0]); }},
        {"clear", 3218959716, [](void* b, Args, void*, int32_t) { array_resize(b, 0); }},
        {"is_empty", 3918633141, [](void* b, Args, void* r, int32_t) { set<uint8_t>(r, array_size(b) == 0); }},
        {"is_typed", 3918633141,
         [](void* b, Args, void* r, int32_t) {
             const ArrayData* d = array_of(b);
             set<uint8_t>(r, d != nullptr && d->typed != GDEXTENSION_VARIANT_TYPE_NIL);
         }},
    };
    for (const Entry& e : kEntries) {
        if (name == e.name) {
            name_known = true;
            if (e.hash == hash) {
                return e.fn;
            }
        }
    }
    return nullptr;
}

template <uint32_t Type>
void from_type(void* dst, void* value) {
    var_from_slot(dst, Type, value);
}

template <uint32_t Type>
void to_type(void* dst, void* variant) {
    var_convert_into(Type, dst, variant);
}

}  // namespace

GDExtensionPtrConstructor ptr_constructor(uint32_t type, int32_t index) {
    Ctor c = nullptr;
    switch (type) {
        case kString: c = string_ctor(index); break;
        case kName: c = name_ctor(index); break;
        case kPath: c = path_ctor(index); break;
        case kArray: c = array_ctor(index); break;
        case kCallable: c = callable_ctor(index); break;
        case kBool:
        case kInt:
        case kFloat: c = scalar_ctor(type, index); break;
        default: c = math_ctor(type, index); break;
    }
    if (c == nullptr) {
        log().engine_error(std::string("variant_get_ptr_constructor: no constructor ") + std::to_string(index) +
                           " of " + type_name(type) + " in the stand-in host.");
    }
    return c;
}

GDExtensionPtrDestructor ptr_destructor(uint32_t type) {
    switch (type) {
        case kString: return [](void* p) { string_destroy(p); };
        case kName: return [](void* p) { name_destroy(p); };
        case kPath: return [](void* p) { path_destroy(p); };
        case kArray: return [](void* p) { array_destroy(p); };
        case kCallable: return [](void* p) { callable_destroy(p); };
        default: return nullptr;  // trivially destructible, as in the engine
    }
}

GDExtensionPtrBuiltInMethod builtin_method(uint32_t type, const void* name, int64_t hash) {
    const std::string_view method = name != nullptr ? name_text(name) : std::string_view();
    bool known = false;
    GDExtensionPtrBuiltInMethod m = nullptr;
    if (type == kArray) {
        m = array_method(method, hash, known);
    } else if (type == kString && method == "is_empty") {
        known = true;
        if (hash == 3918633141) {
            m = [](void* b, Args, void* r, int32_t) { set<uint8_t>(r, string_text(b).empty()); };
        }
    }
    if (m == nullptr) {
        log().engine_error(std::string("Error getting method ") + std::string(method) +
                           (known ? ", hash mismatch." : ": not a method of " + std::string(type_name(type)) +
                                                             " in the stand-in host."));
    }
    return m;
}

GDExtensionPtrOperatorEvaluator operator_evaluator(uint32_t op, uint32_t left, uint32_t right) {
    if (left != right || op > GDEXTENSION_VARIANT_OP_NOT_EQUAL) {
        return nullptr;
    }
    const bool eq = op == GDEXTENSION_VARIANT_OP_EQUAL;
    switch (left) {
        case kName:
            return eq ? GDExtensionPtrOperatorEvaluator([](const void* a, const void* b, void* r) { set<uint8_t>(r, name_equal(a, b)); })
                      : [](const void* a, const void* b, void* r) { set<uint8_t>(r, !name_equal(a, b)); };
        case kString:
            return eq ? GDExtensionPtrOperatorEvaluator([](const void* a, const void* b, void* r) {
                       set<uint8_t>(r, string_text(a) == string_text(b));
                   })
                      : [](const void* a, const void* b, void* r) { set<uint8_t>(r, string_text(a) != string_text(b)); };
        case kInt:
            return eq ? GDExtensionPtrOperatorEvaluator([](const void* a, const void* b, void* r) {
                       set<uint8_t>(r, get<int64_t>(a) == get<int64_t>(b));
                   })
                      : [](const void* a, const void* b, void* r) { set<uint8_t>(r, get<int64_t>(a) != get<int64_t>(b)); };
        default: return nullptr;
    }
}

GDExtensionVariantFromTypeConstructorFunc variant_from_type(uint32_t type) {
    switch (type) {
        case kBool: return &from_type<kBool>;
        case kInt: return &from_type<kInt>;
        case kFloat: return &from_type<kFloat>;
        case kString: return &from_type<kString>;
        case kVector2: return &from_type<kVector2>;
        case kVector2i: return &from_type<kVector2i>;
        case kRect2: return &from_type<kRect2>;
        case kName: return &from_type<kName>;
        case kPath: return &from_type<kPath>;
        case kObject: return &from_type<kObject>;
        case kArray: return &from_type<kArray>;
        case kCallable: return &from_type<kCallable>;
        default:
            log().engine_error(std::string("get_variant_from_type_constructor: ") + type_name(type) +
                               " is not modelled by the stand-in host.");
            return nullptr;
    }
}

GDExtensionTypeFromVariantConstructorFunc type_from_variant(uint32_t type) {
    switch (type) {
        case kBool: return &to_type<kBool>;
        case kInt: return &to_type<kInt>;
        case kFloat: return &to_type<kFloat>;
        case kString: return &to_type<kString>;
        case kVector2: return &to_type<kVector2>;
        case kVector2i: return &to_type<kVector2i>;
        case kRect2: return &to_type<kRect2>;
        case kName: return &to_type<kName>;
        case kPath: return &to_type<kPath>;
        case kObject: return &to_type<kObject>;
        case kArray: return &to_type<kArray>;
        case kCallable: return &to_type<kCallable>;
        default:
            log().engine_error(std::string("get_variant_to_type_constructor: ") + type_name(type) +
                               " is not modelled by the stand-in host.");
            return nullptr;
    }
}

}  // namespace stand_in
