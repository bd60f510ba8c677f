// The engine's Array: an 8-byte slot pointing at shared, reference-counted
// storage (copies share it, as in the engine), optionally typed. Misuse the
// engine reports (typing a non-empty or shared array, an index out of range,
// a value of the wrong type) is logged and refused the same way.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "stand_in/variant.h"

namespace stand_in {

struct ArrayData {
    uint64_t refs = 1;
    std::vector<VariantData> items;
    uint32_t typed = GDEXTENSION_VARIANT_TYPE_NIL;  // element type; NIL: untyped
    std::string typed_class;
};

void array_new(void* slot);
void array_copy(void* slot, const void* src);
void array_destroy(void* slot);
ArrayData* array_of(const void* slot);

int64_t array_size(const void* slot);
// The engine's Error: 0 (OK) or 31 (ERR_INVALID_PARAMETER).
int64_t array_resize(void* slot, int64_t size);
bool array_push_back(void* slot, const void* variant);
// Null (and an error) when out of range.
VariantData* array_at(void* slot, int64_t index);
bool array_set_typed(void* slot, uint32_t type, std::string_view class_name);

uint64_t live_arrays();

}  // namespace stand_in
