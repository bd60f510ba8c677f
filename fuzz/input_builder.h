// Writes fuzz programs byte by byte in the format Session decodes, for the
// seed corpus and for tests that replay a program.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "ops.h"

namespace warfield::fuzz {

class InputBuilder {
public:
    InputBuilder& op(Op o) { return u8(static_cast<uint8_t>(o)); }
    InputBuilder& u8(uint8_t v) {
        bytes_.push_back(v);
        return *this;
    }
    InputBuilder& flag(bool v) { return u8(v ? 1 : 0); }
    InputBuilder& i32(int32_t v) {
        u8(raw_selector);
        return raw(&v, sizeof v);
    }
    InputBuilder& f32(float v) {
        u8(raw_selector);
        return raw(&v, sizeof v);
    }
    InputBuilder& vec2(float x, float y) { return f32(x).f32(y); }
    InputBuilder& delta(double v) {
        u8(raw_selector);
        return raw(&v, sizeof v);
    }
    // Slot ids.
    InputBuilder& held(uint8_t k) { return u8(static_cast<uint8_t>(SlotPick::held)).u8(k); }
    InputBuilder& released(uint8_t k) { return u8(static_cast<uint8_t>(SlotPick::released)).u8(k); }
    InputBuilder& past_end() { return u8(static_cast<uint8_t>(SlotPick::past_end)); }
    InputBuilder& minus_one() { return u8(static_cast<uint8_t>(SlotPick::minus_one)); }
    InputBuilder& edge_slot(uint8_t k) { return u8(static_cast<uint8_t>(SlotPick::edge)).u8(k); }
    // Instance ids. live(k): the k-th live node counting back from the
    // newest.
    InputBuilder& no_id() { return u8(static_cast<uint8_t>(IdPick::zero)); }
    InputBuilder& live(uint8_t k) { return u8(static_cast<uint8_t>(IdPick::live)).u8(k); }
    InputBuilder& freed(uint8_t k) { return u8(static_cast<uint8_t>(IdPick::freed)).u8(k); }
    InputBuilder& raw_id(uint64_t v) {
        u8(static_cast<uint8_t>(IdPick::raw));
        return raw(&v, sizeof v);
    }
    // The byte a script call reads: how many actions follow, and its answer.
    InputBuilder& script(uint8_t actions, bool answer = false) {
        return u8(static_cast<uint8_t>((answer ? 0x80 : 0) | (actions & 3)));
    }
    // spawn_projectile with the common arguments; target_live picks a live
    // node as the tracking target (the newest is 0), no_target for none.
    static constexpr uint8_t no_target = 0xFF;
    InputBuilder& projectile(int32_t type, float x, float y, float vx, float vy, float speed, float z, float y_speed,
                             float ground, uint8_t target_live = no_target) {
        op(Op::spawn_projectile).i32(type).vec2(x, y).vec2(vx, vy).f32(speed).f32(z).f32(y_speed).f32(ground);
        f32(100.0f).f32(1.0f).flag(true);  // check_distance, rotate_scale, rotate_follow_velocity
        return target_live == no_target ? no_id() : live(target_live);
    }
    InputBuilder& target(int32_t camp, int32_t grid_y, int32_t mask, uint8_t bits, float x, float y) {
        return op(Op::spawn_target).i32(camp).i32(grid_y).i32(mask).u8(bits).vec2(x, y);
    }
    InputBuilder& frame(double d) { return op(Op::physics_frame).delta(d); }

    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    InputBuilder& raw(const void* p, std::size_t n) {
        const auto* b = static_cast<const uint8_t*>(p);
        bytes_.insert(bytes_.end(), b, b + n);
        return *this;
    }
    std::vector<uint8_t> bytes_;
};

}  // namespace warfield::fuzz
