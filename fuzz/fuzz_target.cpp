// libFuzzer entry: one fresh node and scene per input, run once with the
// frame remembering nodes between uses and once looking every node up by path;
// both must pass every check and do exactly the same.
#include <cstdio>
#include <cstdlib>

#include "session.h"

namespace {

void check(warfield::fuzz::Session& session, const uint8_t* data, size_t size, const char* how) {
    const std::string violation = session.run(data, size);
    if (!violation.empty()) {
        std::fprintf(stderr, "warfield fuzz (%s): invariant violated after %d ops: %s\n", how, session.ops_run(),
                     violation.c_str());
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using warfield::NodeLookup;
    warfield::fuzz::Session remembered({}, NodeLookup::remembered);
    check(remembered, data, size, "remembered nodes");
    warfield::fuzz::Session by_path({}, NodeLookup::by_path);
    check(by_path, data, size, "lookup by path");
    if (!remembered.out_of_budget() && !by_path.out_of_budget() && remembered.trace() != by_path.trace()) {
        std::fprintf(stderr, "warfield fuzz: remembered nodes and lookups by path behaved differently\n");
        std::abort();
    }
    return 0;
}
