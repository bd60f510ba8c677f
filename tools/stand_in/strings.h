// String, StringName and NodePath as the host stores them: each an 8-byte
// slot holding a pointer to shared, reference-counted text (null is the
// empty value, as in the engine). StringNames are interned, so two names are
// equal exactly when their slots point at the same entry.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace stand_in {

void string_new(void* slot, std::string_view text);
void string_copy(void* slot, const void* src);
void string_destroy(void* slot);
std::string_view string_text(const void* slot);

void name_new(void* slot, std::string_view text);
void name_copy(void* slot, const void* src);
void name_destroy(void* slot);
std::string_view name_text(const void* slot);
bool name_equal(const void* a, const void* b);

void path_new(void* slot, std::string_view text);
void path_copy(void* slot, const void* src);
void path_destroy(void* slot);
std::string_view path_text(const void* slot);

// Shared texts still alive (each counted once however many slots share it).
struct LiveTexts {
    uint64_t strings = 0;
    uint64_t names = 0;
    uint64_t paths = 0;
};
LiveTexts live_texts();

// Owning helpers for the host's own code.
class Name {
public:
    explicit Name(std::string_view text) { name_new(slot_, text); }
    Name(const Name& o) { name_copy(slot_, o.slot_); }
    Name& operator=(const Name&) = delete;
    ~Name() { name_destroy(slot_); }
    void* ptr() { return slot_; }
    const void* ptr() const { return slot_; }
    std::string_view text() const { return name_text(slot_); }

private:
    alignas(8) unsigned char slot_[8] = {};
};

class Text {
public:
    explicit Text(std::string_view text) { string_new(slot_, text); }
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;
    ~Text() { string_destroy(slot_); }
    void* ptr() { return slot_; }
    const void* ptr() const { return slot_; }
    std::string_view text() const { return string_text(slot_); }

private:
    alignas(8) unsigned char slot_[8] = {};
};

class Path {
public:
    explicit Path(std::string_view text) { path_new(slot_, text); }
    Path(const Path&) = delete;
    Path& operator=(const Path&) = delete;
    ~Path() { path_destroy(slot_); }
    void* ptr() { return slot_; }
    const void* ptr() const { return slot_; }

private:
    alignas(8) unsigned char slot_[8] = {};
};

}  // namespace stand_in
