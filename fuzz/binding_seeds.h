// Seed programs for the binding fuzzer, in the format binding_fuzz_target.cpp
// decodes: an op byte (taken modulo 8), then its arguments.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "ops.h"

namespace warfield::fuzz {

class BindingInput {
public:
    // Op 0: a dynamic call of method (the registration order of Op) with the
    // declared count; values follow through the value helpers.
    BindingInput& call(Op method) { return u8(0).u8(static_cast<uint8_t>(method)).u8(0); }
    // Op 0 with count = declared + extra, extra in -3..3.
    BindingInput& call_count(Op method, int extra) {
        return u8(0).u8(static_cast<uint8_t>(method)).u8(static_cast<uint8_t>(203 + extra));
    }
    BindingInput& spawn(uint8_t shape, float x, float y) { return u8(3).u8(shape).f(x).f(y); }
    BindingInput& free_root(uint8_t k) { return u8(4).u8(k).u8(0); }
    BindingInput& frame() { return u8(5).u8(0); }  // 1/60 s
    BindingInput& script(uint8_t actions, bool free_self, bool answer) {
        return u8(static_cast<uint8_t>((actions & 3) | (free_self ? 4 : 0) | (answer ? 0x80 : 0)));
    }

    // Values of the declared type.
    BindingInput& b(bool v) { return u8(0).u8(v ? 1 : 0); }
    BindingInput& i(int v) { return u8(0).u8(static_cast<uint8_t>(((v + 4) << 3) | 4)); }  // -4..27
    BindingInput& node(uint8_t k) { return u8(0).u8(2).u8(k); }
    BindingInput& d(float v) { return u8(0).u8(0).f(v); }
    BindingInput& v2(float x, float y) { return u8(0).f(x).f(y); }
    BindingInput& v2i(int x, int y) { return u8(0).u8(static_cast<uint8_t>(((x + 4) << 3) | 4)).u8(static_cast<uint8_t>(((y + 4) << 3) | 4)); }
    // A value of another type: kind 8 + k (an int, a float, "7", a name, nil,
    // the node itself, a Vector2, a Vector2i).
    BindingInput& other(uint8_t k) { return u8(static_cast<uint8_t>(8 + (k & 7))).u8(0).u8(0).u8(0); }

    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    BindingInput& u8(uint8_t v) {
        bytes_.push_back(v);
        return *this;
    }
    BindingInput& f(float v) {
        u8(0xFF);
        uint8_t raw[4];
        std::memcpy(raw, &v, 4);
        bytes_.insert(bytes_.end(), raw, raw + 4);
        return *this;
    }
    std::vector<uint8_t> bytes_;
};

inline std::vector<std::pair<std::string, std::vector<uint8_t>>> binding_seed_programs() {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> out;
    // Defaults for register_projectile's 28 arguments after node and type.
    auto projectile = [](BindingInput& in, uint8_t node, int type) {
        in.call(Op::register_projectile).node(node).i(type).v2(200, 0).d(300).i(1).i(0).i(0).b(false).d(0).i(0);
        in.b(false).d(1).d(400).v2(100, 300).d(0).d(0).i(1).d(-300).d(20).d(2000).d(1).node(0).d(0);
        in.v2(0, 0).v2(0, 0).b(true).d(1).b(false);
    };
    auto target = [](BindingInput& in, uint8_t node, int camp) {
        in.call(Op::register_target).node(node).i(camp).i(0).i(1).i(1).b(false).b(true).b(false).b(false);
        in.b(false).i(0).d(500).d(300).b(false).b(false).b(false).b(false).b(true).b(true).b(false);
    };
    {  // One projectile of each kind flying, with quiet scripts.
        BindingInput in;
        in.spawn(0x0F, 500, 300);
        for (int type = 0; type <= 4; ++type) {
            in.spawn(0x0F, 100, 300);
            projectile(in, 0, type);
        }
        for (int f = 0; f < 30; ++f) in.frame().script(0, false, false);
        out.emplace_back("flight", in.bytes());
    }
    {  // Scripts that free their own node and fire again.
        BindingInput in;
        for (int k = 0; k < 3; ++k) {
            in.spawn(0x1F, 100, 300);
            projectile(in, static_cast<uint8_t>(k), k);
        }
        in.frame().script(1, true, false).frame().script(2, false, false);
        in.spawn(0x0F, 10, 10);
        projectile(in, 3, 4);
        in.frame().script(1, true, false).frame();
        out.emplace_back("free_self", in.bytes());
    }
    {  // The metallic-armour query asking nodes that free themselves.
        BindingInput in;
        for (int k = 0; k < 4; ++k) {
            in.spawn(0, 0, 0);
            target(in, static_cast<uint8_t>(k), 1);
        }
        in.call(Op::query_metallic_armor_targets).i(0).script(1, true, true).script(0, false, true);
        in.call(Op::query_targets_in_line).i(0).i(0).i(1).b(true).i(0);
        in.frame().call(Op::query_targets_all).i(1).i(1);
        out.emplace_back("metallic", in.bytes());
    }
    {  // Short, long and mistyped calls.
        BindingInput in;
        in.call_count(Op::register_target, -3).i(0).i(0);
        in.call_count(Op::set_target_position, 3).i(0).d(1).d(2).other(2).other(4).other(5);
        in.call(Op::set_grid_size).other(7).call(Op::set_character_grid_pos).i(0).other(6);
        in.call(Op::register_ground_item).other(1).d(0).d(0).d(0).d(0).d(0).b(false).b(false);
        out.emplace_back("bad_calls", in.bytes());
    }
    return out;
}

}  // namespace warfield::fuzz
