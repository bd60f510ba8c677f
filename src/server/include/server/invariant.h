// Invariants of the core's data, checked where a broken one would first be
// seen: in test, sanitizer and fuzz builds (WARFIELD_CHECKED), never in a
// library a game loads, whose frame must not pay for them. Each names its
// reason in one line, so a failure says what was assumed.
#pragma once

#if defined(WARFIELD_CHECKED) && WARFIELD_CHECKED
#include <cstdio>
#include <cstdlib>

#define WARFIELD_INVARIANT(condition, reason)                                                       \
    ((condition) ? static_cast<void>(0)                                                              \
                 : (std::fprintf(stderr, "%s:%d: invariant broken: %s (%s)\n", __FILE__, __LINE__, \
                                 #condition, reason),                                                \
                    std::abort()))
#else
#define WARFIELD_INVARIANT(condition, reason) static_cast<void>(0)
#endif
