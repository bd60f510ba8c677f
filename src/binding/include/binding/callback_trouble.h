// A script method the node calls that exists but cannot be called as the
// node calls it (declared with an argument, say) would otherwise fail
// without a word: the shot never lands, its slot is never released. The
// debug library says so once per script and method; a method the script
// does not have at all is not trouble (most projectiles leave some out).
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "gdextension/gde_abi.h"
#include "port/host.h"

namespace warfield::gde {

struct EngineCache;

// Whether this library reports callback trouble: the debug one does (the
// editor and debug exports load it); a release game stays silent.
#if defined(WARFIELD_DEBUG_LIBRARY) && WARFIELD_DEBUG_LIBRARY
inline constexpr bool kReportCallbackTrouble = true;
#else
inline constexpr bool kReportCallbackTrouble = false;
#endif

// True when a call that ended with `error` went wrong in a way worth telling:
// anything but success and an absent method.
bool is_callback_trouble(const GDExtensionCallError& error);

// What the engine's call error says, as the end of a sentence ("it expects 1
// argument(s); the node passes none"). Always NUL-terminated, cut to fit.
void describe_call_error(const GDExtensionCallError& error, char* out, std::size_t size);

// The (script, method) pairs already reported.
class TroubleLog {
public:
    // True the first time a pair is seen.
    bool first(uint64_t script_id, ScriptMethod method);
    void clear() { seen_.clear(); }

private:
    std::vector<std::pair<uint64_t, ScriptMethod>> seen_;
};

// Prints the warning for `method` failing on `object` with `error`, once per
// script and method. Only engine-native calls (get_script, get_path, ...):
// no script runs from here.
void report_callback_trouble(GDExtensionObjectPtr object, ScriptMethod method, const GDExtensionCallError& error,
                             const EngineCache& cache);

// Forgets what was reported (when the class is unregistered, and in tests).
void forget_callback_trouble();

}  // namespace warfield::gde
