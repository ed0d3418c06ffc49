// Typed flag sets: the operators keep a set's bits, and flags of two different sets do
// not combine, compare or assign (checked at compile time).
#include "classes/Classes.h"
#include "controls/CustomControls.h"
#include "controls/FormStyles.h"
#include "controls/Grids.h"
#include "controls/OwnerDraw.h"
#include "graphics/GdiConsts.h"
#include "graphics/GraphicsObjects.h"
#include "system/Flags.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace {

template <class A, class B>
concept Combines = requires(A a, B b) {
    a | b;
    a & b;
    a == b;
};

// Each set against its own flags and against the next set's.
template <class Set, class OtherSet>
constexpr bool KeptApart()
{
    using Flag = typename Set::TFlag;
    using OtherFlag = typename OtherSet::TFlag;
    // (Two plain flags of different sets are already refused by the compiler's warning
    // on bit operations between enumerations.)
    return Combines<Set, Flag> && Combines<Flag, Flag> && !Combines<Set, OtherFlag> && !Combines<Set, OtherSet> &&
           !std::is_assignable_v<Set&, OtherSet> &&
           !std::is_assignable_v<Set&, OtherFlag> && !std::is_convertible_v<unsigned, Set> &&
           !std::is_convertible_v<int, Set>;
}

static_assert(KeptApart<TShiftState, TFontStyles>());
static_assert(KeptApart<TFontStyles, TOwnerDrawState>());
static_assert(KeptApart<TOwnerDrawState, TBorderIcons>());
static_assert(KeptApart<TBorderIcons, TComponentState>());
static_assert(KeptApart<TComponentState, TGridOptions>());
static_assert(KeptApart<TGridOptions, TTextAlign>());
static_assert(KeptApart<TTextAlign, TShiftState>());

} // namespace

TEST(Flags, OperatorsKeepTheSetsBits)
{
    const TShiftState s = ssShift | ssCtrl | ssDouble;
    EXPECT_EQ(s.Bits(), 0x45u);
    EXPECT_TRUE(s.Test(ssCtrl));
    EXPECT_FALSE(s.Test(ssAlt));
    EXPECT_EQ(s & ~ssCtrl, ssShift | ssDouble);
    EXPECT_EQ(s ^ (ssCtrl | ssAlt), ssShift | ssAlt | ssDouble);
    EXPECT_EQ(s & (ssAlt | ssDouble), ssDouble);
    EXPECT_FALSE(bool(s & ssLeft));
    EXPECT_TRUE(bool(s & ssDouble));

    TShiftState t = 0;
    EXPECT_FALSE(bool(t));
    t |= ssRight;
    t |= ssAlt;
    t &= ~ssRight;
    EXPECT_EQ(t, ssAlt);
    t ^= ssAlt;
    EXPECT_EQ(t, TShiftState());
    EXPECT_EQ(TFontStyles::FromBits(0xA).Bits(), 0xAu);
    EXPECT_EQ(TFontStyles::FromBits(0xA), fsItalic | fsStrikeOut);
}
