// Owning wrappers of the engine's opaque value types. Each one constructs and
// destroys its value through the loaded interface; the bytes are the engine's
// (single precision, 64-bit: Variant 24, the others 8) and are never read here.
// Moving relocates the bytes and leaves the source owning nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "gdextension/gde_abi.h"

namespace warfield::gde {

// Sizes of the engine's opaque values (single precision, 64-bit).
inline constexpr std::size_t kVariantSize = 24;
inline constexpr std::size_t kCallableSize = 16;
inline constexpr std::size_t kStringNameSize = 8;
inline constexpr std::size_t kStringSize = 8;
inline constexpr std::size_t kNodePathSize = 8;
inline constexpr std::size_t kArraySize = 8;

// Storage for a Variant the engine constructs into; the caller destroys it.
struct alignas(8) VariantStorage {
    unsigned char bytes[kVariantSize];
    void* ptr() { return bytes; }
};

template <size_t Size>
class OpaqueValue {
public:
    OpaqueValue(const OpaqueValue&) = delete;
    OpaqueValue& operator=(const OpaqueValue&) = delete;

    void* ptr() { return bytes_; }
    const void* ptr() const { return bytes_; }
    bool owns() const { return owns_; }

protected:
    OpaqueValue() = default;
    OpaqueValue(OpaqueValue&& other) noexcept : owns_(other.owns_) {
        std::memcpy(bytes_, other.bytes_, Size);
        other.owns_ = false;
    }
    ~OpaqueValue() = default;
    void set_owned() { owns_ = true; }

private:
    alignas(8) unsigned char bytes_[Size] = {};
    bool owns_ = false;
};

class StringName : public OpaqueValue<kStringNameSize> {
public:
    explicit StringName(const char* latin1);
    StringName(StringName&&) noexcept = default;
    ~StringName();
    StringName& operator=(StringName&&) = delete;

    // The engine's equality of names (same interned name).
    static bool equal(GDExtensionConstStringNamePtr a, GDExtensionConstStringNamePtr b);
};

class String : public OpaqueValue<kStringSize> {
public:
    explicit String(const char* utf8);
    String(String&&) noexcept = default;
    ~String();
    String& operator=(String&&) = delete;
};

class NodePath : public OpaqueValue<kNodePathSize> {
public:
    explicit NodePath(const char* path);
    NodePath(NodePath&&) noexcept = default;
    ~NodePath();
    NodePath& operator=(NodePath&&) = delete;
};

// An untyped, empty engine Array owned by the caller's frame.
class Array : public OpaqueValue<kArraySize> {
public:
    Array();
    ~Array();
    Array(Array&&) = delete;
    Array& operator=(Array&&) = delete;
};

class Variant : public OpaqueValue<kVariantSize> {
public:
    struct Nil {};
    explicit Variant(Nil);
    Variant(Variant&&) noexcept = default;
    ~Variant();
    Variant& operator=(Variant&&) = delete;
};

// object.method(args...) through the engine's dynamic call, into `result`,
// which the engine constructs whether the call succeeds or not and the caller
// destroys; false on a call error.
bool call_dynamic(VariantStorage& object, const StringName& method, const GDExtensionConstVariantPtr* args,
                  GDExtensionInt count, VariantStorage& result);

}  // namespace warfield::gde
