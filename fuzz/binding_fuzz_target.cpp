// libFuzzer entry over the real extension library, loaded once into the
// stand-in engine: dynamic calls of all 55 methods with arguments of any type
// and any count, physics frames with any delta, and script methods on
// projectile nodes that call back into the node or free nodes at once.
//
// Besides crashes and sanitizer reports, an input fails when the engine logs
// an error (a misused interface, a freed object reached, a wrong hash) or the
// library prints anything, and when objects outlive the input.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "byte_reader.h"
#include "stand_in/engine.h"
#include "ops.h"

namespace {

using stand_in::Object;
using stand_in::Variant;
using warfield::fuzz::ByteReader;

constexpr const char* kScriptMethods[] = {
    "update_grid_pos",     "check_shooter_height",      "over_from_extension",
    "land_from_extension", "enable_monitoring",         "disable_monitoring",
    "hit_target_from_extension", "target_died_from_extension", "find_track_target",
    "has_metallic_armor",
};
constexpr int kMaxOps = 512;
constexpr int kMaxDepth = 3;
constexpr int kMaxFrames = 64;

// WARFIELD_FUZZ_TRACE=1 prints each call, to read what an input does.
bool trace() {
    static const bool on = std::getenv("WARFIELD_FUZZ_TRACE") != nullptr;
    return on;
}

stand_in::Engine& engine() {
    static stand_in::Engine* e = [] {
        stand_in::Engine::Options options;
        options.echo_errors = false;
        auto* created = new stand_in::Engine(options);
        created->set_visible_rect(stand_in::Rect2{{0, 0}, {1280, 720}});
        if (!created->load(WARFIELD_FUZZ_LIBRARY)) {
            std::fprintf(stderr, "cannot load %s\n%s\n", WARFIELD_FUZZ_LIBRARY, stand_in::log().dump().c_str());
            std::abort();
        }
        return created;
    }();
    return *e;
}

class Run {
public:
    Run(const uint8_t* data, size_t size) : in_(data, size), e_(engine()) {}

    void go() {
        cls_ = e_.extension_class("Warfield");
        w_ = e_.instantiate("Warfield");
        e_.add_child(e_.root(), static_cast<stand_in::Node*>(w_));
        while (!in_.exhausted() && ops_ < kMaxOps) op();
        e_.free(w_);
        for (uint64_t id : roots_) {
            if (Object* o = stand_in::object_by_id(id)) e_.free(o);
        }
    }

private:
    void op() {
        ++ops_;
        switch (in_.u8() % 8) {
            case 0:
            case 1:
            case 2: call(); break;
            case 3: spawn(); break;
            case 4: free_one(); break;
            case 5:
                if (depth_ == 0 && frames_ < kMaxFrames) {
                    ++frames_;
                    e_.physics_frame(delta());
                }
                break;
            case 6: e_.set_editor_hint((in_.u8() & 7) == 0); break;
            default: {
                // The node re-captures the play area only on _ready, so this
                // matters to nodes made later; any rectangle will do.
                const stand_in::Vector2 p{f32(), f32()};
                const stand_in::Vector2 s{f32(), f32()};
                e_.set_visible_rect({p, s});
                break;
            }
        }
    }

    float f32() {
        const uint8_t s = in_.u8();
        if (s < warfield::fuzz::kFloatCount) return warfield::fuzz::kFloats[s];
        if (s >= 224) return in_.raw_f32();
        return static_cast<float>(static_cast<int>(s) - 124) * 16.0f;
    }

    double delta() {
        const uint8_t s = in_.u8();
        if (s < warfield::fuzz::kDeltaCount) return warfield::fuzz::kDeltas[s];
        return s >= 240 ? in_.raw_f64() : static_cast<double>(s) / 2000.0;
    }

    int64_t any_int() {
        const uint8_t s = in_.u8();
        switch (s & 7) {
            case 0: return warfield::fuzz::kInts[in_.u8() % warfield::fuzz::kIntCount];
            case 1: return static_cast<int64_t>(in_.u64());
            case 2:  // a node of this run, possibly freed by now
                return roots_.empty() ? 0 : static_cast<int64_t>(roots_[in_.u8() % roots_.size()]);
            case 3:
                // The node itself, the scene root (not Node2D), or an id that
                // narrows to a small int.
                switch ((s >> 3) % 3) {
                    case 0: return static_cast<int64_t>(w_->id);
                    case 1: return static_cast<int64_t>(e_.root()->id);
                    default: return static_cast<int64_t>(uint64_t{1} << 32) + (s >> 5);
                }
            default: return static_cast<int64_t>(s >> 3) - 4;
        }
    }

    Variant value(uint32_t declared) {
        const uint8_t kind = in_.u8() % 16;
        const uint32_t type = kind < 8 ? declared : kind - 8 + 100;
        switch (type) {
            case GDEXTENSION_VARIANT_TYPE_BOOL: return Variant((in_.u8() & 1) != 0);
            case GDEXTENSION_VARIANT_TYPE_INT: return Variant(any_int());
            case GDEXTENSION_VARIANT_TYPE_FLOAT: {
                const uint8_t s = in_.u8();
                return s == 0xFF ? Variant(in_.raw_f64()) : Variant(static_cast<double>(f32()));
            }
            case GDEXTENSION_VARIANT_TYPE_VECTOR2: {
                const float x = f32();
                return Variant(stand_in::Vector2{x, f32()});
            }
            case GDEXTENSION_VARIANT_TYPE_VECTOR2I: {
                const auto x = static_cast<int32_t>(any_int());
                return Variant(stand_in::Vector2i{x, static_cast<int32_t>(any_int())});
            }
            case 100: return Variant(any_int());
            case 101: return Variant(static_cast<double>(f32()));
            case 102: return Variant("7");
            case 103: return Variant::name("has_metallic_armor");
            case 104: return Variant();
            case 105: return Variant(w_);
            case 106: {
                const float x = f32();
                return Variant(stand_in::Vector2{x, f32()});
            }
            default: return Variant(stand_in::Vector2i{1, -1});
        }
    }

    void call() {
        if (cls_ == nullptr || cls_->methods.empty()) return;
        const stand_in::MethodRecord& m = cls_->methods[in_.u8() % cls_->methods.size()];
        const int declared = static_cast<int>(m.arguments.size());
        // Mostly the declared count; sometimes short or long.
        const uint8_t c = in_.u8();
        const int count = c < 200 ? declared : std::max(0, declared + (c % 7) - 3);
        std::vector<Variant> args;
        for (int i = 0; i < count; ++i) {
            args.push_back(value(i < declared ? m.arguments[static_cast<size_t>(i)].type : GDEXTENSION_VARIANT_TYPE_INT));
        }
        // Exactly as many pointers as arguments, so ASan sees any read past them.
        std::unique_ptr<const Variant*[]> ptrs;
        if (!args.empty()) ptrs = std::make_unique<const Variant*[]>(args.size());
        for (size_t i = 0; i < args.size(); ++i) ptrs[i] = &args[i];
        const stand_in::CallResult r =
            stand_in::call_method(w_, m.name, ptrs.get(), static_cast<int64_t>(args.size()));
        if (trace()) {
            std::fprintf(stderr, "%*s%s/%d: error %d at %d\n", 2 * depth_, "", m.name.c_str(), count,
                         static_cast<int>(r.error.error), r.error.argument);
        }
        if (count < declared && r.error.error != GDEXTENSION_CALL_ERROR_TOO_FEW_ARGUMENTS) {
            std::fprintf(stderr, "%s ran with %d of %d arguments\n", m.name.c_str(), count, declared);
            std::abort();
        }
    }

    void spawn() {
        if (roots_.size() >= 64) return;
        const uint8_t shape = in_.u8();
        stand_in::Node2D* root = e_.make_node2d("Projectile", {f32(), f32()});
        e_.add_child(e_.root(), root);
        roots_.push_back(root->id);
        if (shape & 1) {
            stand_in::Node2D* body = e_.make_node2d("ProjectileBodyNode");
            e_.add_child(root, body);
            if (shape & 2) e_.add_child(body, e_.make_node2d("ProjectileSprite"));
        }
        if (shape & 4) e_.add_child(root, e_.make_node2d("ShadowSprite"));
        if (shape & 8) e_.add_child(root, (shape & 16) ? e_.make_node("HitBox") : e_.make_node2d("HitBox"));
        for (const char* name : kScriptMethods) {
            const uint64_t id = root->id;
            e_.set_script_method(root, name, [this, id](Object&) { return script(id); });
        }
    }

    // A script method: runs a few operations from the input, then answers.
    Variant script(uint64_t self) {
        if (depth_ >= kMaxDepth || in_.exhausted() || ops_ >= kMaxOps) return Variant();
        const uint8_t b = in_.u8();
        ++depth_;
        for (int i = 0; i < (b & 3) && ops_ < kMaxOps; ++i) {
            if ((b & 4) != 0 && i == 0) {
                // Free this very node first: the caller must not touch it again.
                if (Object* o = stand_in::object_by_id(self)) e_.free(o);
                continue;
            }
            op();
        }
        --depth_;
        return Variant((b & 0x80) != 0);
    }

    void free_one() {
        if (roots_.empty()) return;
        const uint64_t id = roots_[in_.u8() % roots_.size()];
        Object* o = stand_in::object_by_id(id);
        if (o == nullptr) return;
        // A child or the root itself.
        stand_in::Node* n = stand_in::as_node(o);
        const uint8_t which = in_.u8() % 3;
        if (which == 1 && n != nullptr) {
            if (stand_in::Node* body = stand_in::find_node(n, "ProjectileBodyNode")) {
                e_.free(body);
                return;
            }
        }
        e_.free(o);
    }

    ByteReader in_;
    stand_in::Engine& e_;
    const stand_in::ExtensionClass* cls_ = nullptr;
    Object* w_ = nullptr;
    std::vector<uint64_t> roots_;
    int ops_ = 0;
    int depth_ = 0;
    int frames_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    stand_in::Engine& e = engine();
    const size_t objects_before = stand_in::live_object_count();
    stand_in::log().clear();
    e.set_editor_hint(false);
    Run(data, size).go();
    if (!stand_in::log().entries().empty()) {
        std::fprintf(stderr, "the engine logged:\n%s\n", stand_in::log().dump().c_str());
        std::abort();
    }
    if (stand_in::live_object_count() != objects_before) {
        std::fprintf(stderr, "%zu objects outlived the input\n", stand_in::live_object_count() - objects_before);
        std::abort();
    }
    return 0;
}
