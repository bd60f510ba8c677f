// Every input in the checked-in corpus (the seeds and every regression input
// the fuzzer has found) runs clean through the fuzz harness, in every build:
// a fault found once stays found without a fuzzer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "seed_programs.h"
#include "session.h"

namespace warfield {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(CorpusReplay, EveryCheckedInInputRunsClean) {
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(WARFIELD_CORPUS_DIR)) {
        if (!entry.is_regular_file()) continue;
        ++files;
        const std::vector<uint8_t> bytes = read_file(entry.path());
        fuzz::Session session;
        EXPECT_EQ(session.run(bytes.data(), bytes.size()), "") << entry.path().filename();
    }
    EXPECT_GE(files, fuzz::seed_programs().size());
}

// The seeds on disk are the programs of seed_programs.h, so they can be
// rewritten when the input format changes.
TEST(CorpusReplay, SeedFilesMatchTheirPrograms) {
    for (const auto& [name, bytes] : fuzz::seed_programs()) {
        EXPECT_EQ(read_file(fs::path(WARFIELD_CORPUS_DIR) / ("seed_" + name)), bytes) << name;
    }
}

// Programs that only make sense if the harness itself can see a fault.
TEST(CorpusReplay, HarnessNoticesADuplicatedSlot) {
    fuzz::InputBuilder b;
    b.target(1, 0, 1, 0, 0, 0).target(1, 0, 1, 0, 0, 0);
    fuzz::Session session;
    ASSERT_EQ(session.run(b.bytes().data(), b.bytes().size()), "");
    // Released behind the model's back: the next registration's id is not
    // the one a script would expect.
    session.warfield().unregister_target(0);
    fuzz::InputBuilder more;
    more.target(1, 0, 1, 0, 0, 0);
    EXPECT_NE(session.run(more.bytes().data(), more.bytes().size()), "");
}

}  // namespace
}  // namespace warfield
