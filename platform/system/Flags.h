// A set of the bit flags of one enumeration (font styles, shift state, ...): flags of
// another enumeration do not combine with it, so mixing two sets is a compile error.
// The set keeps the enumeration's integer bits, which streaming reads and writes.
#pragma once

#include <cstddef>
#include <type_traits>

template <class E>
class TFlags {
    static_assert(std::is_enum_v<E>, "a flag set is built on an enumeration of bit values");

public:
    using TFlag = E;
    using TBits = std::underlying_type_t<E>;

    constexpr TFlags() = default;
    constexpr TFlags(E Flag) : FBits(static_cast<TBits>(Flag)) {}
    // The literal 0 is the empty set, as callers write "no flags"; any other integer is
    // not a set.
    constexpr TFlags(std::nullptr_t) {}
    // The set of these bits (from a stream or a stored value).
    static constexpr TFlags FromBits(TBits Bits)
    {
        TFlags s;
        s.FBits = Bits;
        return s;
    }
    constexpr TBits Bits() const { return FBits; }

    // Every bit of Flag is in the set.
    constexpr bool Test(E Flag) const { return (FBits & static_cast<TBits>(Flag)) == static_cast<TBits>(Flag); }
    constexpr explicit operator bool() const { return FBits != 0; }

    friend constexpr TFlags operator|(TFlags a, TFlags b) { return FromBits(a.FBits | b.FBits); }
    friend constexpr TFlags operator&(TFlags a, TFlags b) { return FromBits(a.FBits & b.FBits); }
    friend constexpr TFlags operator^(TFlags a, TFlags b) { return FromBits(a.FBits ^ b.FBits); }
    constexpr TFlags operator~() const { return FromBits(static_cast<TBits>(~FBits)); }
    constexpr TFlags& operator|=(TFlags o) { FBits |= o.FBits; return *this; }
    constexpr TFlags& operator&=(TFlags o) { FBits &= o.FBits; return *this; }
    constexpr TFlags& operator^=(TFlags o) { FBits ^= o.FBits; return *this; }
    friend constexpr bool operator==(TFlags a, TFlags b) = default;

private:
    TBits FBits = 0;
};

template <class T>
inline constexpr bool IsFlagSet = false;
template <class E>
inline constexpr bool IsFlagSet<TFlags<E>> = true;

// Declares |, & and ~ on the enumeration's flags, so that `fsBold | fsItalic` is a set
// of that enumeration rather than a plain integer.
#define DECLARE_FLAG_OPERATORS(E)                                                               \
    constexpr TFlags<E> operator|(E a, E b) { return TFlags<E>(a) | TFlags<E>(b); }             \
    constexpr TFlags<E> operator&(E a, E b) { return TFlags<E>(a) & TFlags<E>(b); }             \
    constexpr TFlags<E> operator~(E a) { return ~TFlags<E>(a); }
