// What the host presents itself as.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace stand_in {

struct HostConfig {
    uint32_t major = 4;
    uint32_t minor = 5;
    uint32_t patch = 0;
    // Offer only the interface functions the presented version has.
    bool gate_by_version = true;
    // Interface functions not offered whatever the version: a host that
    // lacks them.
    std::vector<std::string> withheld;
    // Engine methods ("Class.method") it does not bind: an engine of another
    // build, or one whose method changed. Asked for, they are refused as an
    // unknown method is.
    std::vector<std::string> withheld_binds;
    // Ask a class for its virtuals with call data when it gives both
    // call-data callbacks, as 4.5 does; false: through get_virtual2 alone,
    // as the engine asks a class that gives no call-data callbacks.
    bool virtual_call_data = true;
    std::string status = "stable";
};

HostConfig& config();

}  // namespace stand_in
