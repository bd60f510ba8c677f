// How a record's script-facing fields are declared once.
//
// Each record header lists the values its register method takes, in argument
// order, as `X(type, name, default)` rows of one macro, and its setters as rows of
// another. Everything that needs the list expands it: the definition struct
// the core registers from, the method table's argument names and types, the
// tests' value lists, the fuzzer's operations. So a field is named in its
// record header and nowhere else that merely passes it along.
#pragma once

#include <cstdint>
#include <tuple>
#include <type_traits>

namespace warfield {

// Declares one field of a definition struct with its default: what a C++
// caller (a test, the demo) gets for a field it leaves out. Scripts always
// pass every value.
#define WARFIELD_DECLARE_FIELD(type, name, default_value) type name = default_value;

// Field list of a definition struct: `Schema<Def>::members` holds a member
// pointer per register argument, `Schema<Def>::names` its script name.
template <class Def>
struct Schema;

#define WARFIELD_SCHEMA_MEMBER(type, name, default_value) &Def::name,
#define WARFIELD_SCHEMA_NAME(type, name, default_value) #name,
#define WARFIELD_DEFINE_SCHEMA(DefType, FIELDS)                     \
    template <>                                                     \
    struct Schema<DefType> {                                        \
        using Def = DefType;                                        \
        static constexpr auto members = std::tuple{FIELDS(WARFIELD_SCHEMA_MEMBER)}; \
        static constexpr const char* names[] = {FIELDS(WARFIELD_SCHEMA_NAME)};       \
        static constexpr std::size_t size = std::tuple_size_v<decltype(members)>;    \
    };

// What storing a field does besides storing it. Most fields are only kept
// for the game; a few change what the frame or the index sees.
enum class OnSet : uint8_t {
    store,
    reindex_if_changed,  // a key of the target index: the index is rebuilt
    finish_if_true,      // a finished projectile stops and is no longer counted
};

template <auto Member>
inline constexpr OnSet kOnSet = OnSet::store;

// The record and value type behind a member pointer.
template <class M>
struct MemberOf;
template <class C, class T>
struct MemberOf<T C::*> {
    using Record = C;
    using Value = T;
};
template <auto Member>
using FieldValue = typename MemberOf<std::remove_cvref_t<decltype(Member)>>::Value;
template <auto Member>
using FieldRecord = typename MemberOf<std::remove_cvref_t<decltype(Member)>>::Record;

}  // namespace warfield
