#include "call_recorder.h"

#include <bit>
#include <type_traits>

namespace warfield::bench {

void start_recording(FakeHost& host) {
    host.clear_log();
    host.logging = true;
    host.set_observed(true);
}

void finish_recording(FakeHost& host, std::vector<RecordedCall>& out) {
    host.set_observed(false);
    for (const test::HostCall& c : host.log()) {
        RecordedCall r;
        if (c.op == Op::object_from_instance_id) {
            r.instance_id = c.asked;
        } else if (c.op == Op::get_visible_rect) {
            r.object = host.viewport_handle();
        } else {
            r.object = c.node != 0 ? &host.node(c.node) : nullptr;
        }
        const bool scripted = c.op == Op::call || c.op == Op::call_bool;
        r.x = c.value.x;
        r.y = c.value.y;
        r.op = c.op;
        r.arg = scripted ? static_cast<uint8_t>(c.method) : static_cast<uint8_t>(c.path);
        out.push_back(r);
    }
    host.clear_log();
}

namespace {

// A result in 64 bits, so that none can be optimised away.
uint64_t fold(bool b) { return b ? 1 : 0; }
uint64_t fold(uint64_t v) { return v; }
uint64_t fold(float f) { return std::bit_cast<uint32_t>(f); }
uint64_t fold(ObjectHandle p) { return reinterpret_cast<uintptr_t>(p); }
uint64_t fold(Vector2 v) {
    return (static_cast<uint64_t>(std::bit_cast<uint32_t>(v.x)) << 32) ^ std::bit_cast<uint32_t>(v.y);
}
uint64_t fold(Rect2 r) { return fold(r.size); }

// The argument of a Host operation, by its type, as the call was recorded.
template <class T>
T arg(const RecordedCall& c);
template <>
ObjectHandle arg(const RecordedCall& c) { return c.object; }
template <>
uint64_t arg(const RecordedCall& c) { return c.instance_id; }
template <>
ChildPath arg(const RecordedCall& c) { return static_cast<ChildPath>(c.arg); }
template <>
ScriptMethod arg(const RecordedCall& c) { return static_cast<ScriptMethod>(c.arg); }
template <>
Vector2 arg(const RecordedCall& c) { return {c.x, c.y}; }
template <>
float arg(const RecordedCall& c) { return c.x; }

// The recorded call made again, through the vtable.
template <class R, class... Args>
uint64_t redo(Host& host, R (Host::*op)(Args...), const RecordedCall& c) {
    if constexpr (std::is_void_v<R>) {
        (host.*op)(arg<Args>(c)...);
        return 0;
    } else {
        return fold((host.*op)(arg<Args>(c)...));
    }
}

}  // namespace

// Kept out of line so that the calls go through the vtable, as the core's do.
[[gnu::noinline]] uint64_t replay(Host& host, std::span<const RecordedCall> calls) {
    uint64_t sink = 0;
    for (const RecordedCall& c : calls) {
        switch (c.op) {
#define WARFIELD_REPLAY_METHOD(member, cls, method, hash) \
    case Op::method: sink ^= redo(host, &Host::method, c); break;
#define WARFIELD_REPLAY_CALL(name) \
    case Op::name: sink ^= redo(host, &Host::name, c); break;
            WARFIELD_ENGINE_METHODS(WARFIELD_REPLAY_METHOD, WARFIELD_REPLAY_METHOD, WARFIELD_SKIP_ENGINE_METHOD)
            WARFIELD_FAKE_HOST_CALLS(WARFIELD_REPLAY_CALL)
#undef WARFIELD_REPLAY_CALL
#undef WARFIELD_REPLAY_METHOD
            case Op::count: break;
        }
    }
    return sink;
}

std::vector<uint64_t> count_by_op(std::span<const RecordedCall> calls) {
    std::vector<uint64_t> n(static_cast<std::size_t>(Op::count), 0);
    for (const RecordedCall& c : calls) ++n[static_cast<std::size_t>(c.op)];
    return n;
}

}  // namespace warfield::bench
