#include "stand_in/objects.h"

#include <algorithm>
#include <map>

#include "stand_in/class_db.h"

namespace stand_in {

namespace {

struct EngineClasses {
    ClassInfo object{"Object", nullptr, nullptr};
    ClassInfo node{"Node", &object, nullptr};
    ClassInfo canvas_item{"CanvasItem", &node, nullptr};
    ClassInfo node2d{"Node2D", &canvas_item, nullptr};
    ClassInfo viewport{"Viewport", &node, nullptr};
    ClassInfo main_loop{"MainLoop", &object, nullptr};
    ClassInfo scene_tree{"SceneTree", &main_loop, nullptr};
    ClassInfo engine{"Engine", &object, nullptr};
};

const EngineClasses& classes() {
    static const EngineClasses c;
    return c;
}

struct ObjectDb {
    // Ordered, so live_objects() lists objects in creation order.
    std::map<uint64_t, Object*> by_id;
    std::unordered_map<const void*, uint64_t> by_pointer;
    uint64_t sequence = 0;
};

ObjectDb& db() {
    static ObjectDb d;
    return d;
}

}  // namespace

const ClassInfo* ClassInfo::tag() const {
    const ClassInfo* c = this;
    while (c != nullptr && c->extension != nullptr) {
        c = c->parent;
    }
    return c;
}

bool inherits(const ClassInfo* cls, const ClassInfo* base) {
    for (const ClassInfo* c = cls; c != nullptr; c = c->parent) {
        if (c == base) {
            return true;
        }
    }
    return false;
}

const ClassInfo* engine_class(std::string_view name) {
    const EngineClasses& c = classes();
    for (const ClassInfo* info :
         {&c.object, &c.node, &c.canvas_item, &c.node2d, &c.viewport, &c.main_loop, &c.scene_tree, &c.engine}) {
        if (info->name == name) {
            return info;
        }
    }
    return nullptr;
}

Object::Object(Kind k, const ClassInfo* cls) : kind(k), native(cls) {}

const ClassInfo* Object::class_info() const { return extension != nullptr ? &extension->info : native; }

bool Object::is_class(std::string_view name) const {
    for (const ClassInfo* c = class_info(); c != nullptr; c = c->parent) {
        if (c->name == name) {
            return true;
        }
    }
    return false;
}

Node* as_node(Object* o) { return o != nullptr && o->is_node() ? static_cast<Node*>(o) : nullptr; }
Node2D* as_node2d(Object* o) { return o != nullptr && o->kind == Kind::node2d ? static_cast<Node2D*>(o) : nullptr; }
Viewport* as_viewport(Object* o) {
    return o != nullptr && o->kind == Kind::viewport ? static_cast<Viewport*>(o) : nullptr;
}

Object* object_by_id(uint64_t id) {
    const auto it = db().by_id.find(id);
    return it != db().by_id.end() ? it->second : nullptr;
}

bool object_is_live(const void* o) { return o != nullptr && db().by_pointer.count(o) != 0; }

// Ids carry bits above 32, as engine ids do, so a library that truncates
// one to 32 bits finds nothing.
void register_object(Object* o) {
    ObjectDb& d = db();
    ++d.sequence;
    o->id = (d.sequence << 33) | ((d.sequence * 2654435761u) & 0xFFFFFFu);
    d.by_id[o->id] = o;
    d.by_pointer[o] = o->id;
}

void unregister_object(Object* o) {
    ObjectDb& d = db();
    d.by_id.erase(o->id);
    d.by_pointer.erase(o);
}

size_t live_object_count() { return db().by_id.size(); }

std::vector<Object*> live_objects() {
    std::vector<Object*> out;
    out.reserve(db().by_id.size());
    for (const auto& [id, o] : db().by_id) {
        out.push_back(o);
    }
    return out;
}

Object* new_engine_object(const ClassInfo* cls, bool postinitialize) {
    Object* o = nullptr;
    const EngineClasses& c = classes();
    if (cls == &c.node) {
        o = new Node();
    } else if (cls == &c.node2d) {
        o = new Node2D();
    } else if (cls == &c.viewport) {
        o = new Viewport();
    } else if (cls == &c.object) {
        o = new Object(Kind::object, cls);
    } else {
        // CanvasItem is abstract; Engine is a singleton; the one SceneTree
        // (and its MainLoop base) belongs to the host.
        return nullptr;
    }
    register_object(o);
    o->postinitialized = postinitialize;
    return o;
}

}  // namespace stand_in
