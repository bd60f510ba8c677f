#include "gdextension/builtins.h"

#include "gdextension/interface.h"

namespace warfield::gde {

StringName::StringName(const char* latin1) {
    api.string_name_new_with_latin1_chars(ptr(), latin1, 0);
    set_owned();
}

StringName::~StringName() {
    if (owns()) {
        api.string_name_destroy(ptr());
    }
}

bool StringName::equal(GDExtensionConstStringNamePtr a, GDExtensionConstStringNamePtr b) {
    if (a == nullptr || b == nullptr) {
        return false;
    }
    GDExtensionBool result = 0;
    api.string_name_equal(a, b, &result);
    return result != 0;
}

String::String(const char* utf8) {
    api.string_new_with_utf8_chars(ptr(), utf8);
    set_owned();
}

String::~String() {
    if (owns()) {
        api.string_destroy(ptr());
    }
}

NodePath::NodePath(const char* path) {
    String text(path);
    GDExtensionConstTypePtr args[1] = {text.ptr()};
    api.node_path_from_string(ptr(), args);
    set_owned();
}

NodePath::~NodePath() {
    if (owns()) {
        api.node_path_destroy(ptr());
    }
}

Array::Array() {
    api.array_new(ptr(), nullptr);
    set_owned();
}

Array::~Array() {
    if (owns()) {
        api.array_destroy(ptr());
    }
}

Variant::Variant(Nil) {
    api.variant_new_nil(ptr());
    set_owned();
}

Variant::~Variant() {
    if (owns()) {
        api.variant_destroy(ptr());
    }
}

bool call_dynamic(VariantStorage& object, const StringName& method, const GDExtensionConstVariantPtr* args,
                  GDExtensionInt count, VariantStorage& result) {
    GDExtensionCallError error{GDEXTENSION_CALL_OK, 0, 0};
    api.variant_call(object.ptr(), method.ptr(), args, count, result.ptr(), &error);
    return error.error == GDEXTENSION_CALL_OK;
}

}  // namespace warfield::gde
