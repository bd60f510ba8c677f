#include "host/counters.h"

#include <numeric>

namespace whost {

Counters& counters() {
    static Counters c;
    return c;
}

uint64_t Counters::interface_total() const { return std::accumulate(interface.begin(), interface.end(), uint64_t{0}); }

uint64_t Counters::binds_total() const { return std::accumulate(binds.begin(), binds.end(), uint64_t{0}); }

const char* fn_name(Fn f) {
    static constexpr const char* kNames[] = {
#define WHOST_NAME(name, major, minor) #name,
        WHOST_INTERFACE_FUNCTIONS(WHOST_NAME)
#undef WHOST_NAME
    };
    const auto i = static_cast<size_t>(f);
    return i < kFnCount ? kNames[i] : "";
}

}  // namespace whost
