#include "host/config.h"

namespace whost {

HostConfig& config() {
    static HostConfig c;
    return c;
}

}  // namespace whost
