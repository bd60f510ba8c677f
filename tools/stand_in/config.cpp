#include "stand_in/config.h"

namespace stand_in {

HostConfig& config() {
    static HostConfig c;
    return c;
}

}  // namespace stand_in
