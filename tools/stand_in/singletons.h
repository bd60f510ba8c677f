// The engine singletons the host offers through global_get_singleton.
#pragma once

#include <string_view>

#include "stand_in/objects.h"

namespace stand_in {

EngineSingleton* engine_singleton();
Object* singleton(std::string_view name);
void create_singletons();
void destroy_singletons();

}  // namespace stand_in
