// The engine singletons the host offers through global_get_singleton.
#pragma once

#include <string_view>

#include "host/objects.h"

namespace whost {

EngineSingleton* engine_singleton();
Object* singleton(std::string_view name);
void create_singletons();
void destroy_singletons();

}  // namespace whost
