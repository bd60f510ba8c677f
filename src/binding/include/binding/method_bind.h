// Compile-time description of a bound method: from a member function of the
// core (or a query adaptor) and its argument names, the engine-facing record
// with both call paths. The typed path decodes each slot by its declared
// type; the dynamic path checks and converts each Variant into such a slot
// first, so both narrow values the same way.
#pragma once

#include <array>
#include <cstddef>
#include <tuple>
#include <type_traits>
#include <utility>

#include "binding/arg_types.h"
#include "binding/instance.h"

namespace warfield::gde {

inline constexpr size_t kMaxArgs = 28;

// What the engine is told about one method; plain data.
struct MethodDef {
    const char* name = nullptr;
    uint32_t arg_count = 0;
    std::array<const char*, kMaxArgs> arg_names{};
    std::array<GDExtensionVariantType, kMaxArgs> arg_types{};
    std::array<GDExtensionClassMethodArgumentMetadata, kMaxArgs> arg_metadata{};
    uint32_t flags = GDEXTENSION_METHOD_FLAG_NORMAL;
    bool has_return = false;
    GDExtensionVariantType return_type = GDEXTENSION_VARIANT_TYPE_NIL;
    GDExtensionClassMethodArgumentMetadata return_metadata = GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE;
    uint32_t return_hint = WARFIELD_PROPERTY_HINT_NONE;
    const char* return_hint_string = "";
    GDExtensionClassMethodCall call = nullptr;
    GDExtensionClassMethodPtrCall ptrcall = nullptr;
};

// What a bound function is: its script arguments, its result, whether it
// changes the node, and how it is called on an instance.
template <auto Fn>
struct Callee;

template <typename R, typename... A, R (Warfield::*Fn)(A...)>
struct Callee<Fn> {
    using Result = std::conditional_t<std::is_void_v<R>, NoResult, R>;
    using Args = std::tuple<A...>;
    static constexpr bool is_const = false;
    static R invoke(WarfieldInstance& self, A... a) { return (self.core.*Fn)(a...); }
};

template <typename R, typename... A, R (Warfield::*Fn)(A...) const>
struct Callee<Fn> {
    using Result = std::conditional_t<std::is_void_v<R>, NoResult, R>;
    using Args = std::tuple<A...>;
    static constexpr bool is_const = true;
    static R invoke(WarfieldInstance& self, A... a) { return (self.core.*Fn)(a...); }
};

// Query adaptors fill the list they are given; queries change nothing.
template <typename... A, void (*Fn)(WarfieldInstance&, InstanceIdList&, A...)>
struct Callee<Fn> {
    using Result = IdArrayResult;
    using Args = std::tuple<A...>;
    static constexpr bool is_const = true;
    static void invoke(WarfieldInstance& self, InstanceIdList& out, A... a) { Fn(self, out, a...); }
};

// A register method: its script arguments are the fields of the definition
// it takes, in the definition's order.
template <auto Fn>
struct RegisterCallee;

template <class Def, std::size_t... I>
std::tuple<FieldValue<std::get<I>(Schema<Def>::members)>...> field_tuple(std::index_sequence<I...>);

template <class Def, int32_t (Warfield::*Fn)(const Def&)>
struct RegisterCallee<Fn> {
    using Definition = Def;
    using Result = int32_t;
    using Args = decltype(field_tuple<Def>(std::make_index_sequence<Schema<Def>::size>{}));
    static constexpr bool is_const = false;
    template <typename... A>
    static int32_t invoke(WarfieldInstance& self, A... a) {
        Def def;
        fill(def, std::tuple<A...>{a...}, std::make_index_sequence<sizeof...(A)>{});
        return (self.core.*Fn)(def);
    }

private:
    template <typename Values, std::size_t... I>
    static void fill(Def& def, const Values& values, std::index_sequence<I...>) {
        ((def.*std::get<I>(Schema<Def>::members) = std::get<I>(values)), ...);
    }
};

template <class C>
struct MethodBinder {
    using Result = typename C::Result;
    using Args = typename C::Args;
    static constexpr size_t N = std::tuple_size_v<Args>;
    template <size_t I>
    using Arg = std::tuple_element_t<I, Args>;
    using Seq = std::make_index_sequence<N>;

    static void ptrcall(void* /*method_userdata*/, GDExtensionClassInstancePtr instance,
                        const GDExtensionConstTypePtr* args, GDExtensionTypePtr r_ret) noexcept {
        WarfieldInstance* self = as_instance(instance);
        if (self == nullptr || (N > 0 && args == nullptr)) {
            return;
        }
        try {
            run(*self, args, [r_ret](const auto& value) {
                if (r_ret != nullptr) {
                    ResultType<Result>::to_slot(value, r_ret);
                }
            }, Seq{});
        } catch (...) {
            WARFIELD_REPORT_EXCEPTION("in a method call");
        }
    }

    static void call(void* /*method_userdata*/, GDExtensionClassInstancePtr instance,
                     const GDExtensionConstVariantPtr* args, GDExtensionInt arg_count, GDExtensionVariantPtr r_return,
                     GDExtensionCallError* r_error) noexcept {
        GDExtensionCallError unused{};
        GDExtensionCallError& error = r_error != nullptr ? *r_error : unused;
        error = GDExtensionCallError{GDEXTENSION_CALL_OK, 0, 0};
        WarfieldInstance* self = as_instance(instance);
        if (self == nullptr) {
            error.error = GDEXTENSION_CALL_ERROR_INSTANCE_IS_NULL;
            return;
        }
        // Checked before anything is read: a missing argument is never touched.
        if (arg_count < static_cast<GDExtensionInt>(N) || (N > 0 && args == nullptr)) {
            error.error = GDEXTENSION_CALL_ERROR_TOO_FEW_ARGUMENTS;
            error.expected = static_cast<int32_t>(N);
            return;
        }
        try {
            call_converted(*self, args, r_return, error, Seq{});
        } catch (...) {
            WARFIELD_REPORT_EXCEPTION("in a method call");
            error.error = GDEXTENSION_CALL_ERROR_INVALID_METHOD;
        }
    }

    // The engine's description of the method; one argument name per argument.
    static constexpr MethodDef describe(const char* name, const std::array<const char*, N>& arg_names) {
        static_assert(N <= kMaxArgs);
        MethodDef d;
        d.name = name;
        d.arg_count = static_cast<uint32_t>(N);
        for (std::size_t i = 0; i < N; ++i) d.arg_names[i] = arg_names[i];
        describe_args(d, Seq{});
        d.flags = static_cast<uint32_t>(GDEXTENSION_METHOD_FLAG_NORMAL);
        if (C::is_const) {
            d.flags |= static_cast<uint32_t>(GDEXTENSION_METHOD_FLAG_CONST);
        }
        using RT = ResultType<Result>;
        d.has_return = RT::has_value;
        d.return_type = RT::variant_type;
        d.return_metadata = RT::metadata;
        d.return_hint = RT::hint;
        d.return_hint_string = RT::hint_string;
        d.call = &call;
        d.ptrcall = &ptrcall;
        return d;
    }

private:
    template <typename Write, size_t... I>
    static void run(WarfieldInstance& self, const GDExtensionConstTypePtr* slots, Write&& write,
                    std::index_sequence<I...>) {
        if constexpr (std::is_same_v<Result, NoResult>) {
            (void)write;
            C::invoke(self, ArgType<Arg<I>>::decode(slots[I])...);
        } else if constexpr (std::is_same_v<Result, IdArrayResult>) {
            ScratchLists::Lease lease(self.scratch);
            C::invoke(self, lease.list(), ArgType<Arg<I>>::decode(slots[I])...);
            write(lease.list());
        } else {
            write(C::invoke(self, ArgType<Arg<I>>::decode(slots[I])...));
        }
    }

    template <size_t I, typename Slots>
    static bool convert(const GDExtensionConstVariantPtr* args, Slots& slots, GDExtensionCallError& error) {
        using T = ArgType<Arg<I>>;
        const GDExtensionConstVariantPtr value = args[I];
        const GDExtensionVariantType from =
            value != nullptr ? api.variant_get_type(value) : GDEXTENSION_VARIANT_TYPE_VARIANT_MAX;
        if (value == nullptr ||
            (from != T::variant_type && !api.variant_can_convert_strict(from, T::variant_type))) {
            error.error = GDEXTENSION_CALL_ERROR_INVALID_ARGUMENT;
            error.argument = static_cast<int32_t>(I);
            error.expected = static_cast<int32_t>(T::variant_type);
            return false;
        }
        // The conversion only reads the Variant despite its non-const parameter.
        T::from_variant()(&std::get<I>(slots), const_cast<void*>(value));
        return true;
    }

    template <size_t... I>
    static void call_converted(WarfieldInstance& self, const GDExtensionConstVariantPtr* args,
                               GDExtensionVariantPtr r_return, GDExtensionCallError& error,
                               std::index_sequence<I...>) {
        (void)args;  // unused by methods without arguments
        std::tuple<typename ArgType<Arg<I>>::Slot...> slots{};
        // Left to right, stopping at the first argument that does not convert.
        if (!(convert<I>(args, slots, error) && ...)) {
            return;
        }
        const std::array<GDExtensionConstTypePtr, N> ptrs{&std::get<I>(slots)...};
        run(self, ptrs.data(), [r_return](const auto& value) {
            if (r_return != nullptr) {
                ResultType<Result>::to_variant(value, r_return);
            }
        }, std::index_sequence<I...>{});
    }

    template <size_t... I>
    static constexpr void describe_args(MethodDef& d, std::index_sequence<I...>) {
        ((d.arg_types[I] = ArgType<Arg<I>>::variant_type), ...);
        ((d.arg_metadata[I] = ArgType<Arg<I>>::metadata), ...);
    }
};

// `bind_method<&Warfield::get_grid_size>("get_grid_size")`, with one name per
// argument after the method's.
template <auto Fn, typename... Names>
constexpr MethodDef bind_method(const char* name, Names... arg_names) {
    using Binder = MethodBinder<Callee<Fn>>;
    static_assert(sizeof...(Names) == Binder::N, "one name per argument");
    return Binder::describe(name, {arg_names...});
}

// `bind_register<&Warfield::register_target>("register_target")`: the
// argument names are the definition's field names.
template <auto Fn>
constexpr MethodDef bind_register(const char* name) {
    using C = RegisterCallee<Fn>;
    return MethodBinder<C>::describe(name, std::to_array(Schema<typename C::Definition>::names));
}

}  // namespace warfield::gde
