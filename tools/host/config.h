// What the host presents itself as.
#pragma once

#include <cstdint>
#include <string>

namespace whost {

struct HostConfig {
    uint32_t major = 4;
    uint32_t minor = 5;
    uint32_t patch = 0;
    // Offer only the interface functions the presented version has.
    bool gate_by_version = true;
    std::string status = "stable";
};

HostConfig& config();

}  // namespace whost
