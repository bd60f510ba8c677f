// The seven conditions that the row, range and camp queries share, and the
// fields that play no part in them.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "query_support.h"

namespace warfield {
namespace {

using test::add;
using L = InstanceIdList;

// Every flag-based query, asked for camp-1 targets in row 0 at the origin by
// an asker of camp 0 in row 0.
std::vector<L> ask_all(const Warfield& w, int32_t flags) {
    return {test::in_line(w, 0, 0, flags, false, 0), test::in_line(w, 0, 0, flags, true, 0),
            test::in_range(w, 0, flags, 0, 0, 1, 1), test::all_of(w, 1, flags)};
}

struct Rejection {
    std::string name;
    std::function<void(Warfield&, int32_t)> apply;
};

TEST(Hittable, EachConditionRejectsOnItsOwn) {
    const std::vector<Rejection> rejections = {
        // Unregistering removes a target at once, before any rebuild.
        {"inactive", [](Warfield& w, int32_t id) { w.unregister_target(id); }},
        {"die", [](Warfield& w, int32_t id) { w.set<&TargetState::die>(id, true); }},
        {"near_die", [](Warfield& w, int32_t id) { w.set<&TargetState::near_die>(id, true); }},
        {"invincible", [](Warfield& w, int32_t id) { w.set<&TargetState::invincible>(id, true); }},
        {"not collectable", [](Warfield& w, int32_t id) { w.set<&TargetState::can_be_collection>(id, false); }},
        {"crater", [](Warfield& w, int32_t id) { w.set<&TargetState::is_crater>(id, true); }},
        {"mask", [](Warfield& w, int32_t id) { w.set<&TargetState::mask_flags>(id, 0b1000); }},
    };
    for (const Rejection& r : rejections) {
        SCOPED_TRACE(r.name);
        Warfield w;
        add(w, {.node = 1, .mask_flags = 0b0110});
        const int32_t id = add(w, {.node = 2, .mask_flags = 0b0011});
        test::frame(w);
        for (const L& found : ask_all(w, 0b0111)) EXPECT_EQ(found, (L{1, 2}));
        r.apply(w, id);
        for (const L& found : ask_all(w, 0b0111)) EXPECT_EQ(found, (L{1}));
    }
}

TEST(Hittable, NoFlagsMatchNothingAndAnyCommonBitIsEnough) {
    Warfield w;
    add(w, {.node = 1, .mask_flags = -1});
    add(w, {.node = 2, .mask_flags = INT32_MIN});
    test::frame(w);
    for (const L& found : ask_all(w, 0)) EXPECT_EQ(found, L{});
    for (const L& found : ask_all(w, INT32_MIN)) EXPECT_EQ(found, (L{1, 2}));
    for (const L& found : ask_all(w, 1)) EXPECT_EQ(found, (L{1}));
}

TEST(Hittable, KindFlagsHeightAndTheTargetsOwnCollisionFlagsPlayNoPart) {
    Warfield w;
    const int32_t id = add(w, {.node = 1});
    w.set<&TargetState::is_item>(id, true);
    w.set<&TargetState::is_gravestone>(id, true);
    w.set<&TargetState::is_vase>(id, true);
    w.set<&TargetState::is_bowling_base>(id, true);
    w.set<&TargetState::can_check>(id, false);
    w.set<&TargetState::can_projectile_check>(id, false);
    w.set<&TargetState::height>(id, -5);
    w.set<&TargetState::collision_flags>(id, 0);
    test::frame(w);
    for (const L& found : ask_all(w, 1)) EXPECT_EQ(found, (L{1}));
}

}  // namespace
}  // namespace warfield
