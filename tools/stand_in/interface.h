// get_proc_address: the name-to-function table of the interface the host
// offers. Unknown names, and functions newer than the presented version,
// give null.
#pragma once

#include "gdextension/gde_abi.h"

namespace stand_in {

GDExtensionInterfaceFunctionPtr get_proc_address(const char* name);

}  // namespace stand_in
