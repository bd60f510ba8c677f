// libFuzzer entry: one fresh node and scene per input, run once with the
// frame remembering nodes while the tree reports no change and once looking
// every node up by path; both must pass every check and do exactly the same.
#include <cstdio>
#include <cstdlib>

#include <vector>

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
    // The frame relies on a position it set reading back as set: true under an
    // identity parent, which is what the comparison needs.
    if (remembered.out_of_budget() || by_path.out_of_budget() || remembered.inexact_positions() ||
        by_path.inexact_positions() || remembered.silenced()) {
        return 0;
    }
    const std::vector<uint64_t> a = remembered.trace();
    const std::vector<uint64_t> b = by_path.trace();
    if (a != b) {
        std::size_t i = 0;
        while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
        std::fprintf(stderr,
                     "warfield fuzz: remembered nodes and lookups by path behaved differently "
                     "(traces of %zu and %zu entries, first difference at %zu)\n",
                     a.size(), b.size(), i);
        std::abort();
    }
    return 0;
}
