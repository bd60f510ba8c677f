#include "stand_in/counters.h"

#include <numeric>

namespace stand_in {

Counters& counters() {
    static Counters c;
    return c;
}

uint64_t Counters::interface_total() const { return std::accumulate(interface.begin(), interface.end(), uint64_t{0}); }

uint64_t Counters::binds_total() const { return std::accumulate(binds.begin(), binds.end(), uint64_t{0}); }

const char* fn_name(Fn f) {
    static constexpr const char* kNames[] = {
#define STAND_IN_NAME(name, major, minor) #name,
        STAND_IN_INTERFACE_FUNCTIONS(STAND_IN_NAME)
#undef STAND_IN_NAME
    };
    const auto i = static_cast<size_t>(f);
    return i < kFnCount ? kNames[i] : "";
}

}  // namespace stand_in
