// Loads the library against the fake interface the way the engine does:
// entry, then the initialization levels up to scene; unloads in reverse.
#pragma once

#include <gtest/gtest.h>

#include "gdextension/interface.h"
#include "fake_interface.h"

extern "C" GDExtensionBool warfield_init(GDExtensionInterfaceGetProcAddress, GDExtensionClassLibraryPtr,
                                         GDExtensionInitialization*);

namespace warfield::test {

inline int g_library_token = 0;

class LoadedLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        ASSERT_EQ(warfield_init(&fake::get_proc_address, &g_library_token, &init_), 1);
        for (int level = 0; level <= GDEXTENSION_INITIALIZATION_SCENE; ++level) {
            init_.initialize(init_.userdata, static_cast<GDExtensionInitializationLevel>(level));
        }
    }

    void TearDown() override {
        for (int level = GDEXTENSION_INITIALIZATION_SCENE; level >= 0; --level) {
            init_.deinitialize(init_.userdata, static_cast<GDExtensionInitializationLevel>(level));
        }
        gde::clear_interface();
    }

    // A new Warfield object, as the engine creates it.
    fake::Object* create(bool notify = true) {
        const auto& info = fake::engine().info;
        return static_cast<fake::Object*>(info.create_instance_func(info.class_userdata, notify ? 1 : 0));
    }

    void free(fake::Object* object) {
        const auto& info = fake::engine().info;
        info.free_instance_func(info.class_userdata, object->instance);
        delete object;
        --fake::engine().live_objects;
    }

    const fake::RegisteredMethod& method(const std::string& name) const {
        for (const auto& m : fake::engine().methods) {
            if (m.name == name) return m;
        }
        throw std::runtime_error(name);
    }

    GDExtensionInitialization init_{};
};

}  // namespace warfield::test
