// libFuzzer entry: one fresh node and scene per input.
#include <cstdio>
#include <cstdlib>

#include "session.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    warfield::fuzz::Session session;
    const std::string violation = session.run(data, size);
    if (!violation.empty()) {
        std::fprintf(stderr, "warfield fuzz: invariant violated after %d ops: %s\n", session.ops_run(),
                     violation.c_str());
        std::abort();
    }
    return 0;
}
