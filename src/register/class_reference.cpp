#include "register/class_reference.h"

#include "gdextension/interface.h"

namespace warfield {

namespace {

#if defined(WARFIELD_DEBUG_LIBRARY) && WARFIELD_DEBUG_LIBRARY
constexpr unsigned char kXml[] = {
#include "class_reference_xml.inc"
};
#endif

}  // namespace

std::string_view class_reference() {
#if defined(WARFIELD_DEBUG_LIBRARY) && WARFIELD_DEBUG_LIBRARY
    return {reinterpret_cast<const char*>(kXml), sizeof kXml};
#else
    return {};
#endif
}

void load_class_reference() {
    const std::string_view xml = class_reference();
    if (xml.empty() || gde::api.editor_help_load_xml_from_utf8_chars_and_len == nullptr) return;
    gde::api.editor_help_load_xml_from_utf8_chars_and_len(xml.data(), static_cast<GDExtensionInt>(xml.size()));
}

}  // namespace warfield
