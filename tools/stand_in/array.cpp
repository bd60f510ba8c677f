#include "stand_in/array.h"

#include <cstring>

#include "stand_in/log.h"

namespace stand_in {

namespace {

uint64_t g_live = 0;

void store(void* slot, ArrayData* a) { std::memcpy(slot, &a, sizeof a); }

// What the engine's typed containers accept: the exact type, nil for
// objects, and an int where a float is expected (converted).
bool validate(const ArrayData& a, VariantData& value, const char* operation) {
    if (a.typed == GDEXTENSION_VARIANT_TYPE_NIL || value.type == a.typed) {
        return true;
    }
    if (value.type == GDEXTENSION_VARIANT_TYPE_NIL && a.typed == GDEXTENSION_VARIANT_TYPE_OBJECT) {
        return true;
    }
    if (a.typed == GDEXTENSION_VARIANT_TYPE_FLOAT && value.type == GDEXTENSION_VARIANT_TYPE_INT) {
        const double f = static_cast<double>(var_to_int(&value));
        var_destroy(&value);
        var_from_float(&value, f);
        return true;
    }
    log().engine_error(std::string("Attempted to ") + operation + " a variable of type '" + type_name(value.type) +
                       "' into a TypedArray of type '" + type_name(a.typed) + "'.");
    return false;
}

void default_value(VariantData& v, uint32_t type) {
    switch (type) {
        case GDEXTENSION_VARIANT_TYPE_BOOL: var_from_bool(&v, false); break;
        case GDEXTENSION_VARIANT_TYPE_INT: var_from_int(&v, 0); break;
        case GDEXTENSION_VARIANT_TYPE_FLOAT: var_from_float(&v, 0.0); break;
        case GDEXTENSION_VARIANT_TYPE_VECTOR2: var_from_vector2(&v, {}); break;
        case GDEXTENSION_VARIANT_TYPE_VECTOR2I: var_from_vector2i(&v, {}); break;
        case GDEXTENSION_VARIANT_TYPE_RECT2: var_from_rect2(&v, {}); break;
        case GDEXTENSION_VARIANT_TYPE_STRING: var_from_string(&v, ""); break;
        case GDEXTENSION_VARIANT_TYPE_STRING_NAME: var_from_name(&v, ""); break;
        case GDEXTENSION_VARIANT_TYPE_NODE_PATH: var_from_path(&v, ""); break;
        default: var_nil(&v); break;
    }
}

}  // namespace

ArrayData* array_of(const void* slot) {
    ArrayData* a = nullptr;
    std::memcpy(&a, slot, sizeof a);
    return a;
}

void array_new(void* slot) {
    store(slot, new ArrayData());
    ++g_live;
}

void array_copy(void* slot, const void* src) {
    ArrayData* a = array_of(src);
    if (a == nullptr) {  // a zeroed slot is treated as an empty array
        array_new(slot);
        return;
    }
    ++a->refs;
    store(slot, a);
}

void array_destroy(void* slot) {
    ArrayData* a = array_of(slot);
    store(slot, nullptr);
    if (a == nullptr || --a->refs > 0) {
        return;
    }
    for (VariantData& v : a->items) {
        var_destroy(&v);
    }
    delete a;
    --g_live;
}

int64_t array_size(const void* slot) {
    const ArrayData* a = array_of(slot);
    return a != nullptr ? static_cast<int64_t>(a->items.size()) : 0;
}

int64_t array_resize(void* slot, int64_t size) {
    ArrayData* a = array_of(slot);
    if (a == nullptr || size < 0 || size > (int64_t{1} << 31)) {
        log().engine_error("Array.resize: invalid size " + std::to_string(size) + ".");
        return 31;
    }
    const size_t n = static_cast<size_t>(size);
    for (size_t i = n; i < a->items.size(); ++i) {
        var_destroy(&a->items[i]);
    }
    const size_t old = a->items.size();
    a->items.resize(n);
    for (size_t i = old; i < n; ++i) {
        default_value(a->items[i], a->typed == GDEXTENSION_VARIANT_TYPE_OBJECT ? uint32_t{GDEXTENSION_VARIANT_TYPE_NIL} : a->typed);
    }
    return 0;
}

bool array_push_back(void* slot, const void* variant) {
    ArrayData* a = array_of(slot);
    if (a == nullptr || variant == nullptr) {
        log().engine_error("Array.push_back: null array or value.");
        return false;
    }
    VariantData copy;
    var_copy(&copy, variant);
    if (!validate(*a, copy, "push_back")) {
        var_destroy(&copy);
        return false;
    }
    a->items.push_back(copy);
    return true;
}

VariantData* array_at(void* slot, int64_t index) {
    ArrayData* a = array_of(slot);
    if (a == nullptr || index < 0 || index >= static_cast<int64_t>(a->items.size())) {
        log().engine_error("Index p_index = " + std::to_string(index) + " is out of bounds (size() = " +
                           std::to_string(array_size(slot)) + ").");
        return nullptr;
    }
    return &a->items[static_cast<size_t>(index)];
}

bool array_set_typed(void* slot, uint32_t type, std::string_view class_name) {
    ArrayData* a = array_of(slot);
    if (a == nullptr) {
        log().engine_error("array_set_typed: null array.");
        return false;
    }
    if (!a->items.empty()) {
        log().engine_error("Type can only be set when array is empty.");
        return false;
    }
    if (a->refs > 1) {
        log().engine_error("Type can only be set when array has no more than one user.");
        return false;
    }
    if (a->typed != GDEXTENSION_VARIANT_TYPE_NIL) {
        log().engine_error("Type can only be set once.");
        return false;
    }
    if (!class_name.empty() && type != GDEXTENSION_VARIANT_TYPE_OBJECT) {
        log().engine_error("Class names can only be set for type OBJECT.");
        return false;
    }
    if (type >= GDEXTENSION_VARIANT_TYPE_VARIANT_MAX) {
        log().engine_error("array_set_typed: invalid type.");
        return false;
    }
    a->typed = type;
    a->typed_class = std::string(class_name);
    return true;
}

uint64_t live_arrays() { return g_live; }

}  // namespace stand_in
