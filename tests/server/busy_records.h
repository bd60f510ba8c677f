// Registrations with every value distinct from its field's default, for tests
// that care about only a few of them.
#pragma once

#include <type_traits>

#include "server/warfield.h"

namespace warfield::test {

inline ProjectileDef busy_projectile(uint64_t node = 1, int32_t type = 0) {
    return {node, type, {1, 2}, 3, 4, 5, 6, true, 7, 8, true, 9, 10, {11, 12}, 13, 14, 1, 15,
            16, 17, 18, 19, 20, {21, 22}, {23, 24}, false, 25, true};
}

inline int32_t add_projectile(Warfield& w, uint64_t node = 1, int32_t type = 0) {
    return w.register_projectile(busy_projectile(node, type));
}

inline int32_t add_character(Warfield& w, uint64_t node = 1) {
    return w.register_character({node, 2, 3, 4, 5, {6, 7}, {8, 9}, true, 10, 11, {12, 13}, 14, true, 15, 16, 17, 18});
}

inline int32_t add_target(Warfield& w, uint64_t node = 1, int32_t camp = 0, int32_t grid_y = 0) {
    return w.register_target({node, camp, grid_y, 1, 1, false, true, false, false, false, 2, 3, 4, false, false,
                              false, false, true, true, false});
}

inline int32_t add_ground_item(Warfield& w, uint64_t node = 1) {
    return w.register_ground_item({node, 1, 2, 3, 4, 5, true, true});
}

// A value of each field type unlike its default.
template <class T>
T some_value() {
    if constexpr (std::is_same_v<T, bool>) return true;
    else if constexpr (std::is_same_v<T, Vector2>) return {9.0f, -9.0f};
    else if constexpr (std::is_same_v<T, Vector2i>) return {9, -9};
    else return T{9};
}

template <auto Member, auto... More>
void set_some_value(Warfield& w, int32_t id) {
    w.set<Member, More...>(id, some_value<FieldValue<Member>>(), some_value<FieldValue<More>>()...);
}

#define WARFIELD_TEST_SET(State, method, arg, field) set_some_value<&State::field>(w, id);
#define WARFIELD_TEST_SET2(State, method, arg1, field1, arg2, field2) \
    set_some_value<&State::field1, &State::field2>(w, id);
#define WARFIELD_TEST_SET_STORED(State, method, arg, field) \
    if constexpr (kOnSet<&State::field> == OnSet::store) set_some_value<&State::field>(w, id);

// Every unregister method and every setter of the field lists, on slot `id`.
inline void call_every_setter(Warfield& w, int32_t id) {
    w.unregister_projectile(id);
    WARFIELD_PROJECTILE_SETTERS(WARFIELD_TEST_SET, WARFIELD_TEST_SET2)
    w.unregister_character(id);
    WARFIELD_CHARACTER_SETTERS(WARFIELD_TEST_SET, WARFIELD_TEST_SET2)
    w.unregister_target(id);
    WARFIELD_TARGET_SETTERS(WARFIELD_TEST_SET, WARFIELD_TEST_SET2)
    w.unregister_ground_item(id);
    WARFIELD_GROUND_ITEM_SETTERS(WARFIELD_TEST_SET, WARFIELD_TEST_SET2)
}

// Every target setter whose field is only stored (no index key among them).
inline void call_plain_target_setters(Warfield& w, int32_t id) {
    WARFIELD_TARGET_SETTERS(WARFIELD_TEST_SET_STORED, WARFIELD_TEST_SET2)
}

#undef WARFIELD_TEST_SET_STORED
#undef WARFIELD_TEST_SET2
#undef WARFIELD_TEST_SET

}  // namespace warfield::test
