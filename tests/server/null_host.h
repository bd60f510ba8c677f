// A host with an empty scene: nothing resolves and nothing is in the editor.
#pragma once

#include "simulation/host.h"

namespace warfield::test {

class NullHost final : public Host {
public:
    bool is_editor_hint() override { return false; }
    ObjectHandle get_viewport() override { return nullptr; }
    Rect2 get_visible_rect(ObjectHandle) override { return {}; }
    ObjectHandle object_from_instance_id(uint64_t) override { return nullptr; }
    ObjectHandle cast_to_node2d(ObjectHandle) override { return nullptr; }
    bool is_inside_tree(ObjectHandle) override { return false; }
    ObjectHandle get_node_or_null(ObjectHandle, ChildPath) override { return nullptr; }
    uint64_t get_instance_id(ObjectHandle) override { return 0; }
    ObjectHandle get_parent(ObjectHandle) override { return nullptr; }
    bool has_name(ObjectHandle, ChildPath) override { return false; }
    Vector2 get_global_position(ObjectHandle) override { return {}; }
    void set_global_position(ObjectHandle, Vector2) override {}
    Vector2 get_position(ObjectHandle) override { return {}; }
    void set_position(ObjectHandle, Vector2) override {}
    float get_rotation(ObjectHandle) override { return 0.0f; }
    void set_rotation(ObjectHandle, float) override {}
    void set_scale(ObjectHandle, Vector2) override {}
    void call(ObjectHandle, ScriptMethod) override {}
    bool call_bool(ObjectHandle, ScriptMethod) override { return false; }
};

}  // namespace warfield::test
