// The engine's Callable as the host stores it: 16 bytes, a method name slot
// (always null here) and then a pointer to a shared, reference-counted custom
// record, as callable_custom_create2 makes. A zeroed value is the null
// Callable. Copies share the record; the extension's free_func runs when the
// last copy goes, exactly once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "gdextension/gde_abi.h"
#include "stand_in/variant.h"

namespace stand_in {

struct Object;

inline constexpr size_t kCallableSize = 16;

void callable_nil(void* slot);
void callable_new_custom(void* slot, const GDExtensionCallableCustomInfo2& info);
void callable_copy(void* slot, const void* src);
void callable_destroy(void* slot);  // leaves the null Callable behind

bool callable_is_null(const void* slot);
// Callable::is_valid for a custom callable: its is_valid_func says yes (or
// there is none) and it has a call_func. The object it names is not asked.
bool callable_is_valid(const void* slot);
// The engine's comparison of custom callables: the extension's equal_func
// when both share it, else the same call_func and userdata.
bool callable_equal(const void* a, const void* b);
uint64_t callable_object_id(const void* slot);
// The live object the callable names; null when it names none or it is gone.
Object* callable_object(const void* slot);
// What String(callable) gives: the extension's to_string_func, else
// "<CallableCustom>" ("null" for the null Callable).
std::string callable_text(const void* slot);

// Callable::callp: `ret` holds a constructed Variant (nil).
void callable_call(const void* slot, const void* const* args, int64_t count, VariantData* ret,
                   GDExtensionCallError* error);

// Custom records alive (counters().callable_frees counts the free_func calls).
uint64_t live_custom_callables();

// An owning Callable for the host's own code.
class Callable {
public:
    Callable() { callable_nil(slot_); }
    explicit Callable(const void* src) { callable_copy(slot_, src); }
    Callable(const Callable& o) { callable_copy(slot_, o.slot_); }
    Callable& operator=(const Callable& o);
    ~Callable() { callable_destroy(slot_); }
    void* ptr() { return slot_; }
    const void* ptr() const { return slot_; }

private:
    alignas(8) unsigned char slot_[kCallableSize] = {};
};

}  // namespace stand_in
