#include "binding/id_array.h"

#include "gdextension/builtins.h"
#include "binding/engine_cache.h"
#include "gdextension/interface.h"
#include "gdextension/narrow.h"

namespace warfield::gde {

void fill_id_array(GDExtensionTypePtr array, const std::vector<uint64_t>& ids) {
    const EngineCache* cache = engine_cache();
    if (cache == nullptr) {
        return;
    }
    api.array_set_typed(array, GDEXTENSION_VARIANT_TYPE_INT, cache->empty_name.ptr(), cache->nil.ptr());
    if (ids.empty()) {
        return;
    }
    const auto count = static_cast<GDExtensionInt>(ids.size());
    const GDExtensionConstTypePtr args[1] = {&count};
    GDExtensionInt error = 0;
    api.array_resize(array, args, &error, 1);
    if (error != 0) {
        return;  // out of memory in the engine: the Array stays empty
    }
    for (GDExtensionInt i = 0; i < count; ++i) {
        GDExtensionVariantPtr slot = api.array_operator_index(array, i);
        if (slot == nullptr) {
            return;
        }
        // The fresh slot holds an int (or nil), neither of which owns
        // anything, so it is constructed over without a destroy call.
        GDExtensionInt value = as_int64(ids[static_cast<size_t>(i)]);
        api.variant_from_int(slot, &value);
    }
}

void assign_id_array(GDExtensionTypePtr r_array, const std::vector<uint64_t>& ids) {
    api.array_destroy(r_array);
    api.array_new(r_array, nullptr);
    fill_id_array(r_array, ids);
}

void assign_id_array_variant(GDExtensionVariantPtr r_variant, const std::vector<uint64_t>& ids) {
    Array array;
    fill_id_array(array.ptr(), ids);
    api.variant_destroy(r_variant);
    api.variant_from_array(r_variant, array.ptr());
}

}  // namespace warfield::gde
