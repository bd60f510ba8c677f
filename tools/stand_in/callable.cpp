#include "stand_in/callable.h"

#include <cstring>

#include "stand_in/counters.h"
#include "stand_in/objects.h"
#include "stand_in/strings.h"

namespace stand_in {

namespace {

struct CustomCallable {
    uint64_t refs = 1;
    GDExtensionCallableCustomInfo2 info{};
};

// Method name first (null for a custom callable), then the record.
struct Layout {
    void* method = nullptr;
    CustomCallable* custom = nullptr;
};
static_assert(sizeof(Layout) == kCallableSize);

uint64_t g_live = 0;

Layout load(const void* slot) {
    Layout l;
    std::memcpy(&l, slot, sizeof l);
    return l;
}

void store(void* slot, CustomCallable* c) {
    const Layout l{nullptr, c};
    std::memcpy(slot, &l, sizeof l);
}

CustomCallable* custom_of(const void* slot) { return load(slot).custom; }

}  // namespace

void callable_nil(void* slot) { store(slot, nullptr); }

void callable_new_custom(void* slot, const GDExtensionCallableCustomInfo2& info) {
    auto* c = new CustomCallable();
    c->info = info;
    ++g_live;
    store(slot, c);
}

void callable_copy(void* slot, const void* src) {
    CustomCallable* c = custom_of(src);
    if (c != nullptr) {
        ++c->refs;
    }
    store(slot, c);
}

void callable_destroy(void* slot) {
    CustomCallable* c = custom_of(slot);
    store(slot, nullptr);
    if (c == nullptr || --c->refs > 0) {
        return;
    }
    // The record goes first, so a free_func that drops further Callables
    // finds everything consistent.
    const GDExtensionCallableCustomInfo2 info = c->info;
    delete c;
    --g_live;
    if (info.free_func != nullptr) {
        ++counters().callable_frees;
        info.free_func(info.callable_userdata);
    }
}

bool callable_is_null(const void* slot) { return custom_of(slot) == nullptr; }

bool callable_is_valid(const void* slot) {
    const CustomCallable* c = custom_of(slot);
    if (c == nullptr) {
        return false;
    }
    if (c->info.is_valid_func != nullptr && !c->info.is_valid_func(c->info.callable_userdata)) {
        return false;
    }
    return c->info.call_func != nullptr;
}

bool callable_equal(const void* a, const void* b) {
    const CustomCallable* x = custom_of(a);
    const CustomCallable* y = custom_of(b);
    if (x == y) {
        return true;
    }
    if (x == nullptr || y == nullptr) {
        return false;
    }
    if (x->info.equal_func != nullptr || y->info.equal_func != nullptr) {
        return x->info.equal_func == y->info.equal_func &&
               x->info.equal_func(x->info.callable_userdata, y->info.callable_userdata) != 0;
    }
    return x->info.call_func == y->info.call_func && x->info.callable_userdata == y->info.callable_userdata;
}

uint64_t callable_object_id(const void* slot) {
    const CustomCallable* c = custom_of(slot);
    return c != nullptr ? c->info.object_id : 0;
}

Object* callable_object(const void* slot) {
    const uint64_t id = callable_object_id(slot);
    return id != 0 ? object_by_id(id) : nullptr;
}

std::string callable_text(const void* slot) {
    const CustomCallable* c = custom_of(slot);
    if (c == nullptr) {
        return "null";
    }
    if (c->info.to_string_func != nullptr) {
        alignas(8) unsigned char out[8];
        string_new(out, "");
        GDExtensionBool valid = 0;
        c->info.to_string_func(c->info.callable_userdata, &valid, out);
        std::string text(string_text(out));
        string_destroy(out);
        if (valid != 0) {
            return text;
        }
    }
    return "<CallableCustom>";
}

void callable_call(const void* slot, const void* const* args, int64_t count, VariantData* ret,
                   GDExtensionCallError* error) {
    if (!callable_is_valid(slot)) {
        *error = {GDEXTENSION_CALL_ERROR_INSTANCE_IS_NULL, 0, 0};
        return;
    }
    const CustomCallable* c = custom_of(slot);
    // The engine hands the extension an uninitialised error record: one the
    // extension leaves unset reads as a failed call here.
    GDExtensionCallError e{GDEXTENSION_CALL_ERROR_INVALID_METHOD, -1, -1};
    c->info.call_func(c->info.callable_userdata, args, count, ret, &e);
    *error = e;
}

uint64_t live_custom_callables() { return g_live; }

Callable& Callable::operator=(const Callable& o) {
    if (this != &o) {
        alignas(8) unsigned char copy[kCallableSize];
        callable_copy(copy, o.slot_);
        callable_destroy(slot_);
        std::memcpy(slot_, copy, sizeof copy);
    }
    return *this;
}

}  // namespace stand_in
