// Call counters: one per interface function and one per engine method bind,
// so a benchmark can state the engine calls a frame costs and a test can see
// that something was (or was not) asked of the engine.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "stand_in/interface_list.h"

namespace stand_in {

enum class Fn : uint16_t {
#define STAND_IN_ENUM(name, major, minor) name,
    STAND_IN_INTERFACE_FUNCTIONS(STAND_IN_ENUM)
#undef STAND_IN_ENUM
        count
};

inline constexpr size_t kFnCount = static_cast<size_t>(Fn::count);
inline constexpr size_t kMaxEngineBinds = 64;

struct Counters {
    std::array<uint64_t, kFnCount> interface{};
    std::array<uint64_t, kMaxEngineBinds> binds{};
    uint64_t proc_lookups = 0;       // get_proc_address calls
    uint64_t string_names_made = 0;  // names built from characters or a String
    uint64_t script_calls = 0;       // script methods run through Object.call
    uint64_t virtual_lookups = 0;    // get_virtual2 / get_virtual_call_data2 asked
    uint64_t virtual_calls = 0;
    uint64_t callable_frees = 0;     // custom callables' free_func run
    uint64_t signal_calls = 0;       // connected callables called by an emission

    uint64_t of(Fn f) const { return interface[static_cast<size_t>(f)]; }
    uint64_t interface_total() const;
    uint64_t binds_total() const;
    void reset() { *this = Counters{}; }
};

Counters& counters();

inline void count(Fn f) { ++counters().interface[static_cast<size_t>(f)]; }

const char* fn_name(Fn f);

}  // namespace stand_in
