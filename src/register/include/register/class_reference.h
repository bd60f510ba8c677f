// The class reference the editor shows for Warfield (doc_classes/Warfield.xml),
// carried by the debug library, which is the one the editor loads.
#pragma once

#include <string_view>

namespace warfield {

// The XML as embedded; empty in the release library.
std::string_view class_reference();

// Hands the reference to the editor's help. Only an editor offers the
// interface function; elsewhere this does nothing.
void load_class_reference();

}  // namespace warfield
