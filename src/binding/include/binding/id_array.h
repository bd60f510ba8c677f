// Query results as the engine's typed int Array.
#pragma once

#include <cstdint>
#include <vector>

#include "gdextension/gde_abi.h"

namespace warfield::gde {

// Turns the constructed, empty, untyped Array at `array` into an Array typed
// to int holding `ids` (each id's 64 bits as the engine int).
void fill_id_array(GDExtensionTypePtr array, const std::vector<uint64_t>& ids);

// Replaces the constructed Array at `r_array` (a typed-call return slot).
void assign_id_array(GDExtensionTypePtr r_array, const std::vector<uint64_t>& ids);

// Replaces the constructed Variant at `r_variant` with a new typed Array.
void assign_id_array_variant(GDExtensionVariantPtr r_variant, const std::vector<uint64_t>& ids);

}  // namespace warfield::gde
