#include "support.h"

#include <cstdlib>
#include <cstring>

#include "stand_in/array.h"

namespace boundary {

std::string library_path() {
    if (const char* env = std::getenv("WARFIELD_LIBRARY"); env != nullptr && *env != '\0') {
        return env;
    }
    return WARFIELD_LIBRARY_PATH;
}

bool release_library() { return library_path().find("template_release") != std::string::npos; }

const char* path_name(Path p) { return p == Path::typed ? "typed" : "dynamic"; }

std::vector<Variant> character_values(int64_t node) {
    return {node,  int64_t{0}, int64_t{0}, int64_t{0}, int64_t{0}, Vector2{1, 1}, Vector2{}, false, 0.0,
            0.0,   Vector2i{1, 2}, int64_t{0}, true, 0.0, 1.0, 10.0, 10.0};
}

std::vector<Variant> ground_item_values(int64_t node) { return {node, 0.0, 0.0, 0.0, 980.0, 1.0, false, true}; }

void BoundaryTest::SetUp() {
    engine = std::make_unique<stand_in::Engine>(options());
    engine->set_visible_rect(Rect2{{0, 0}, {1280, 720}});
    ASSERT_TRUE(engine->load(library_path())) << stand_in::log().dump();
    ASSERT_NE(engine->extension_class("Warfield"), nullptr);
}

void BoundaryTest::TearDown() {
    if (engine == nullptr) {
        return;
    }
    const stand_in::Engine::Leaks leaks = engine->shutdown();
    EXPECT_TRUE(leaks.none()) << "objects " << leaks.objects << ", strings " << leaks.strings << ", names "
                              << leaks.names << ", paths " << leaks.paths << ", arrays " << leaks.arrays;
    if (expect_clean_log) {
        EXPECT_EQ(stand_in::log().entries().size(), 0u) << stand_in::log().dump();
    }
    engine.reset();
}

Object* BoundaryTest::add_warfield() {
    Object* w = engine->instantiate("Warfield");
    EXPECT_NE(w, nullptr);
    if (w != nullptr) {
        engine->add_child(engine->root(), static_cast<Node*>(w));
    }
    return w;
}

Node2D* BoundaryTest::add_node2d(const char* name, Vector2 position, Node* parent) {
    Node2D* n = engine->make_node2d(name, position);
    engine->add_child(parent != nullptr ? parent : engine->root(), n);
    return n;
}

ProjectileScene BoundaryTest::add_projectile_scene(Vector2 position) {
    ProjectileScene s;
    s.root = add_node2d("Projectile", position);
    s.body = add_node2d("ProjectileBodyNode", {}, s.root);
    s.sprite = add_node2d("ProjectileSprite", {}, s.body);
    s.shadow = add_node2d("ShadowSprite", {}, s.root);
    s.hitbox = add_node2d("HitBox", {}, s.root);
    return s;
}

CallResult BoundaryTest::call(Object* o, const char* method, const std::vector<Variant>& args) {
    std::vector<const Variant*> ptrs;
    for (const Variant& v : args) {
        ptrs.push_back(&v);
    }
    return stand_in::call_method(o, method, ptrs.data(), static_cast<int64_t>(ptrs.size()));
}

void BoundaryTest::ptrcall(Object* o, const char* method, const std::vector<Variant>& args, void* ret) {
    const stand_in::MethodRecord* m = o->extension != nullptr ? o->extension->method(method) : nullptr;
    ASSERT_NE(m, nullptr) << method;
    ASSERT_EQ(m->arguments.size(), args.size()) << method;
    struct alignas(8) Slot {
        unsigned char bytes[16];
    };
    std::vector<Slot> slots(args.size());
    std::vector<const void*> ptrs(args.size());
    for (size_t i = 0; i < args.size(); ++i) {
        void* s = slots[i].bytes;
        switch (m->arguments[i].type) {
            case GDEXTENSION_VARIANT_TYPE_BOOL: {
                const uint8_t b = args[i].to_bool() ? 1 : 0;
                std::memcpy(s, &b, 1);
            } break;
            case GDEXTENSION_VARIANT_TYPE_INT: {
                const int64_t v = args[i].to_int();
                std::memcpy(s, &v, 8);
            } break;
            case GDEXTENSION_VARIANT_TYPE_FLOAT: {
                const double v = args[i].to_float();
                std::memcpy(s, &v, 8);
            } break;
            case GDEXTENSION_VARIANT_TYPE_VECTOR2: {
                const Vector2 v = args[i].to_vector2();
                std::memcpy(s, &v, 8);
            } break;
            case GDEXTENSION_VARIANT_TYPE_VECTOR2I: {
                const Vector2i v = args[i].to_vector2i();
                std::memcpy(s, &v, 8);
            } break;
            default: FAIL() << "unexpected argument type in " << method;
        }
        ptrs[i] = s;
    }
    stand_in::ptrcall_method(o, method, ptrs.data(), ret);
}

int64_t BoundaryTest::call_int(Path p, Object* o, const char* method, const std::vector<Variant>& args) {
    if (p == Path::dynamic) {
        const CallResult r = call(o, method, args);
        EXPECT_TRUE(r.ok()) << method << " error " << r.error.error;
        EXPECT_EQ(r.value.type(), GDEXTENSION_VARIANT_TYPE_INT) << method;
        return r.value.to_int();
    }
    int64_t out = 0x5A5A5A5A5A5A5A5A;  // every byte must be written
    ptrcall(o, method, args, &out);
    return out;
}

void BoundaryTest::call_void(Path p, Object* o, const char* method, const std::vector<Variant>& args) {
    if (p == Path::dynamic) {
        const CallResult r = call(o, method, args);
        EXPECT_TRUE(r.ok()) << method << " error " << r.error.error;
        EXPECT_TRUE(r.value.is_nil()) << method;
        return;
    }
    ptrcall(o, method, args, nullptr);
}

Vector2 BoundaryTest::call_vector2(Path p, Object* o, const char* method, const std::vector<Variant>& args) {
    if (p == Path::dynamic) {
        const CallResult r = call(o, method, args);
        EXPECT_TRUE(r.ok()) << method;
        EXPECT_EQ(r.value.type(), GDEXTENSION_VARIANT_TYPE_VECTOR2) << method;
        return r.value.to_vector2();
    }
    Vector2 out{-7.0f, -7.0f};
    ptrcall(o, method, args, &out);
    return out;
}

std::vector<int64_t> ints_of(const Variant& array) {
    std::vector<int64_t> out;
    if (array.type() != GDEXTENSION_VARIANT_TYPE_ARRAY) {
        ADD_FAILURE() << "not an Array: type " << array.type();
        return out;
    }
    const void* slot = stand_in::var_payload(array.raw());
    const stand_in::ArrayData* a = stand_in::array_of(slot);
    EXPECT_NE(a, nullptr);
    if (a == nullptr) {
        return out;
    }
    EXPECT_EQ(a->typed, static_cast<uint32_t>(GDEXTENSION_VARIANT_TYPE_INT)) << "the result must be typed to int";
    for (const stand_in::VariantData& v : a->items) {
        EXPECT_EQ(v.type, static_cast<uint32_t>(GDEXTENSION_VARIANT_TYPE_INT));
        out.push_back(stand_in::var_to_int(&v));
    }
    return out;
}

std::vector<int64_t> BoundaryTest::call_ids(Path p, Object* o, const char* method, const std::vector<Variant>& args) {
    if (p == Path::dynamic) {
        const CallResult r = call(o, method, args);
        EXPECT_TRUE(r.ok()) << method;
        return ints_of(r.value);
    }
    // The engine hands over a constructed Array for the result.
    alignas(8) unsigned char slot[8];
    stand_in::array_new(slot);
    ptrcall(o, method, args, slot);
    Variant wrapped;
    stand_in::var_destroy(wrapped.raw());
    stand_in::var_from_slot(wrapped.raw(), GDEXTENSION_VARIANT_TYPE_ARRAY, slot);
    stand_in::array_destroy(slot);
    return ints_of(wrapped);
}

}  // namespace boundary
