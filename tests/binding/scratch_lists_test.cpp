// The lists query results are filled into, leased per nesting level: a
// query run by a script callback inside another gets a list of its own, the
// outer one keeps its contents while deeper levels are added, and every
// list is kept for later queries (steady-state queries allocate none).
#include <gtest/gtest.h>

#include "binding/scratch_lists.h"

namespace warfield::gde {
namespace {

TEST(ScratchLists, EachNestingLevelLeasesItsOwnListAndGivesItBack) {
    ScratchLists scratch;
    {
        ScratchLists::Lease outer(scratch);
        outer.list().push_back(1);
        {
            ScratchLists::Lease inner(scratch);
            EXPECT_NE(&inner.list(), &outer.list());
            inner.list().push_back(2);
            ScratchLists::Lease deepest(scratch);  // a level added while two are in use
            EXPECT_TRUE(deepest.list().empty());
            EXPECT_EQ(scratch.depth(), 3u);
        }
        EXPECT_EQ(outer.list(), InstanceIdList{1});
        EXPECT_EQ(scratch.depth(), 1u);
    }
    EXPECT_EQ(scratch.depth(), 0u);
    EXPECT_EQ(scratch.levels(), 3u);

    // Later queries take the same lists again, emptied.
    for (int i = 0; i < 2; ++i) {
        ScratchLists::Lease outer(scratch);
        EXPECT_TRUE(outer.list().empty());
        ScratchLists::Lease inner(scratch);
        EXPECT_TRUE(inner.list().empty());
    }
    EXPECT_EQ(scratch.levels(), 3u);
    EXPECT_EQ(scratch.depth(), 0u);
}

}  // namespace
}  // namespace warfield::gde
