#include "stand_in/strings.h"

#include <cstring>
#include <unordered_map>


namespace stand_in {

namespace {

struct Shared {
    uint64_t refs;
    std::string text;
};

struct Pools {
    LiveTexts live;
    std::unordered_map<std::string, Shared*> names;
};

Pools& pools() {
    static Pools p;
    return p;
}

Shared* load(const void* slot) {
    Shared* s = nullptr;
    std::memcpy(&s, slot, sizeof s);
    return s;
}

void store(void* slot, Shared* s) { std::memcpy(slot, &s, sizeof s); }

void share(void* slot, const void* src) {
    Shared* s = load(src);
    if (s != nullptr) {
        ++s->refs;
    }
    store(slot, s);
}

// True when the last reference went.
bool release(void* slot) {
    Shared* s = load(slot);
    store(slot, nullptr);
    if (s == nullptr || --s->refs > 0) {
        return false;
    }
    delete s;
    return true;
}

std::string_view text_of(const void* slot) {
    const Shared* s = load(slot);
    return s != nullptr ? std::string_view(s->text) : std::string_view();
}

}  // namespace

void string_new(void* slot, std::string_view text) {
    if (text.empty()) {
        store(slot, nullptr);
        return;
    }
    store(slot, new Shared{1, std::string(text)});
    ++pools().live.strings;
}

void string_copy(void* slot, const void* src) { share(slot, src); }

void string_destroy(void* slot) {
    if (release(slot)) {
        --pools().live.strings;
    }
}

std::string_view string_text(const void* slot) { return text_of(slot); }

void name_new(void* slot, std::string_view text) {
    if (text.empty()) {
        store(slot, nullptr);
        return;
    }
    Pools& p = pools();
    auto [it, inserted] = p.names.try_emplace(std::string(text), nullptr);
    if (inserted) {
        it->second = new Shared{0, it->first};
        ++p.live.names;
    }
    ++it->second->refs;
    store(slot, it->second);
}

void name_copy(void* slot, const void* src) { share(slot, src); }

void name_destroy(void* slot) {
    Shared* s = load(slot);
    if (s == nullptr) {
        return;
    }
    if (s->refs == 1) {
        Pools& p = pools();
        p.names.erase(s->text);
        --p.live.names;
    }
    release(slot);
}

std::string_view name_text(const void* slot) { return text_of(slot); }

bool name_equal(const void* a, const void* b) { return load(a) == load(b); }

void path_new(void* slot, std::string_view text) {
    if (text.empty()) {
        store(slot, nullptr);
        return;
    }
    store(slot, new Shared{1, std::string(text)});
    ++pools().live.paths;
}

void path_copy(void* slot, const void* src) { share(slot, src); }

void path_destroy(void* slot) {
    if (release(slot)) {
        --pools().live.paths;
    }
}

std::string_view path_text(const void* slot) { return text_of(slot); }

LiveTexts live_texts() { return pools().live; }

}  // namespace stand_in
