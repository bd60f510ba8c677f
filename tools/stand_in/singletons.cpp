#include "stand_in/singletons.h"

#include "stand_in/class_db.h"

namespace stand_in {

namespace {

EngineSingleton* g_engine = nullptr;

}  // namespace

EngineSingleton* engine_singleton() { return g_engine; }

Object* singleton(std::string_view name) { return name == "Engine" ? g_engine : nullptr; }

void create_singletons() {
    if (g_engine == nullptr) {
        g_engine = new EngineSingleton();
        register_object(g_engine);
        g_engine->postinitialized = true;
    }
}

void destroy_singletons() {
    if (g_engine != nullptr) {
        EngineSingleton* e = g_engine;
        g_engine = nullptr;
        destroy_object(e);
    }
}

}  // namespace stand_in
