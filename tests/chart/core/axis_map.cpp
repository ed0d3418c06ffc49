// The value-to-pixel map of an axis on its own: each kind of conversion with its rounding,
// clamping, inversion, zero range and NaN answers, the inverse, and copies taken from a
// laid-out axis.
#include "axis_fixture.h"

#include <cmath>
#include <limits>

using namespace axistest;

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();
constexpr int IntMax = std::numeric_limits<int>::max();

// Pixels Start..End for the range Min..Max, of the given kind.
TAxisScaleMap MakeMap(TAxisCalcKind Kind, int Start, int End, double Min, double Max, bool Inverted = false)
{
    TAxisScaleMap m;
    m.Kind = Kind;
    m.Logarithmic = Kind == TAxisCalcKind::Logarithmic;
    m.Inverted = Inverted;
    m.SetPixels(Start, End);
    m.Minimum = Min;
    m.Maximum = Max;
    m.Rescale();
    return m;
}

}  // namespace

using AxisMap = AxisTest;

TEST_F(AxisMap, LinearPixelsGrowAlongXAndUpAlongYAndTurnRoundWhenInverted)
{
    for (TAxisCalcKind kind : {TAxisCalcKind::LinearClamped, TAxisCalcKind::LinearUnclamped}) {
        // 400 pixels for 100 units: 4 pixels a unit.
        const TAxisScaleMap m = MakeMap(kind, 40, 440, -20, 80);
        EXPECT_EQ(m.CalcXPos(0), 120);
        EXPECT_EQ(m.CalcXPos(-20), 40);
        EXPECT_EQ(m.CalcYPos(0), 360);
        EXPECT_EQ(m.CalcYPos(80), 40);
        const TAxisScaleMap inv = MakeMap(kind, 40, 440, -20, 80, true);
        EXPECT_EQ(inv.CalcXPos(0), 360);
        EXPECT_EQ(inv.CalcYPos(0), 120);
        // CalcPos follows the orientation.
        TAxisScaleMap h = m;
        h.Horizontal = true;
        EXPECT_EQ(h.CalcPos(0), 120);
        EXPECT_EQ(m.CalcPos(0), 360);
    }
}

TEST_F(AxisMap, LinearPixelsRoundHalvesToEven)
{
    // 2.5 pixels a unit.
    const TAxisScaleMap m = MakeMap(TAxisCalcKind::LinearClamped, 0, 100, 0, 40);
    EXPECT_EQ(m.CalcXPos(1), 2);
    EXPECT_EQ(m.CalcXPos(3), 8);
    EXPECT_EQ(m.CalcYPos(1), 98);
    EXPECT_EQ(m.CalcYPos(3), 92);
}

TEST_F(AxisMap, ClampedLinearPixelsStopAtMaxPixelPosAndSendNaNToTheFarEnd)
{
    const TAxisScaleMap m = MakeMap(TAxisCalcKind::LinearClamped, 40, 440, -20, 80);
    EXPECT_EQ(m.CalcXPos(1e300), MaxPixelPos);
    EXPECT_EQ(m.CalcXPos(-1e300), -MaxPixelPos);
    EXPECT_EQ(m.CalcYPos(1e300), -MaxPixelPos);
    EXPECT_EQ(m.CalcYPos(-Inf), MaxPixelPos);
    EXPECT_EQ(m.CalcXPos(NaN), MaxPixelPos);
    EXPECT_EQ(m.CalcYPos(NaN), MaxPixelPos);
}

TEST_F(AxisMap, UnclampedLinearPixelsSaturateAt32BitsAndPutNaNAtTheOrigin)
{
    const TAxisScaleMap m = MakeMap(TAxisCalcKind::LinearUnclamped, 40, 440, -20, 80);
    EXPECT_EQ(m.CalcXPos(1e300), IntMax);
    EXPECT_EQ(m.CalcXPos(-1e300), 40 - IntMax - 1);
    EXPECT_EQ(m.CalcYPos(1e300), 440 - IntMax);
    EXPECT_EQ(m.CalcXPos(2e7), 40 + 80000080);   // past MaxPixelPos is fine here
    EXPECT_EQ(m.CalcXPos(NaN), 40);
    EXPECT_EQ(m.CalcYPos(NaN), 440);
}

TEST_F(AxisMap, AZeroRangePutsEveryValueAtTheCentreWhateverTheKind)
{
    for (TAxisCalcKind kind : {TAxisCalcKind::LinearClamped, TAxisCalcKind::LinearUnclamped,
                               TAxisCalcKind::Logarithmic, TAxisCalcKind::Depth}) {
        const TAxisScaleMap m = MakeMap(kind, 40, 441, 3, 3);
        EXPECT_TRUE(m.RangeZero);
        EXPECT_EQ(m.Scale, 0);
        for (double v : {3.0, -7.0, 1e300, NaN}) {
            EXPECT_EQ(m.CalcXPos(v), 240) << int(kind) << " " << v;
            EXPECT_EQ(m.CalcYPos(v), 240) << int(kind) << " " << v;
        }
    }
    // A range too wide for a double scales nothing rather than NaN.
    const TAxisScaleMap wide = MakeMap(TAxisCalcKind::LinearClamped, 0, 100, -1e308, 1e308);
    EXPECT_EQ(wide.Scale, 0);
    EXPECT_FALSE(wide.RangeZero);
}

TEST_F(AxisMap, LogarithmicPixelsFollowTheLogarithmsAndSendNonPositiveValuesToTheMinimumEnd)
{
    // 100 pixels a decade.
    const TAxisScaleMap m = MakeMap(TAxisCalcKind::Logarithmic, 40, 340, 1, 1000);
    EXPECT_EQ(m.CalcXPos(10), 140);
    EXPECT_EQ(m.CalcYPos(100), 140);
    EXPECT_EQ(m.CalcXPos(0), 40);
    EXPECT_EQ(m.CalcYPos(-5), 340);
    EXPECT_EQ(m.CalcXPos(NaN), 40);
    const TAxisScaleMap inv = MakeMap(TAxisCalcKind::Logarithmic, 40, 340, 1, 1000, true);
    EXPECT_EQ(inv.CalcXPos(10), 240);
    EXPECT_EQ(inv.CalcYPos(100), 240);
    EXPECT_EQ(inv.CalcXPos(0), 340);
    EXPECT_EQ(inv.CalcYPos(NaN), 40);
    // A tiny logarithmic range scales far past the chart: clamped.
    const TAxisScaleMap tiny = MakeMap(TAxisCalcKind::Logarithmic, 40, 340, 1, 1.0000001);
    EXPECT_EQ(tiny.CalcXPos(1e300), MaxPixelPos);
    EXPECT_EQ(tiny.CalcYPos(1e300), -MaxPixelPos);
}

TEST_F(AxisMap, DepthPixelsAreOffsetsFromZeroOverTheDepth)
{
    // The start pixel plays no part: depth runs from 0 over the axis' size.
    const TAxisScaleMap m = MakeMap(TAxisCalcKind::Depth, 500, 600, -20, 80);
    EXPECT_EQ(m.CalcXPos(0), 20);
    EXPECT_EQ(m.CalcYPos(0), 20);
    EXPECT_EQ(MakeMap(TAxisCalcKind::Depth, 500, 600, -20, 80, true).CalcXPos(0), 80);
    EXPECT_EQ(m.CalcXPos(1e300), MaxPixelPos);
    EXPECT_EQ(m.CalcXPos(-1e300), -MaxPixelPos);
    EXPECT_EQ(m.CalcXPos(NaN), MaxPixelPos);
}

TEST_F(AxisMap, ValueAtPixelInvertsEachOrientation)
{
    TAxisScaleMap m = MakeMap(TAxisCalcKind::LinearClamped, 40, 440, -20, 80);
    m.Horizontal = true;
    EXPECT_DOUBLE_EQ(m.ValueAtPixel(120), 0);
    m.Inverted = true;
    EXPECT_DOUBLE_EQ(m.ValueAtPixel(120), 60);
    m.Horizontal = false;
    EXPECT_DOUBLE_EQ(m.ValueAtPixel(120), 0);
    m.Inverted = false;
    EXPECT_DOUBLE_EQ(m.ValueAtPixel(120), 60);
    // No pixels: no division by zero.
    m.SetPixels(40, 40);
    EXPECT_EQ(m.ValueAtPixel(100), 0);

    TAxisScaleMap log = MakeMap(TAxisCalcKind::Logarithmic, 40, 340, 1, 1000);
    log.Horizontal = true;
    EXPECT_EQ(log.ValueAtPixel(40), 1);   // the ends are answered exactly
    EXPECT_EQ(log.ValueAtPixel(340), 1000);
    EXPECT_NEAR(log.ValueAtPixel(140), 10, 1e-9);
    log.Horizontal = false;
    EXPECT_EQ(log.ValueAtPixel(40), 1000);
    EXPECT_NEAR(log.ValueAtPixel(140), 100, 1e-9);
    log.Inverted = true;
    EXPECT_EQ(log.ValueAtPixel(40), 1);
}

TEST_F(AxisMap, ValueLengthsArePositiveOnlyAndLogarithmicOnALogarithmicAxis)
{
    const TAxisScaleMap m = MakeMap(TAxisCalcKind::LinearClamped, 40, 440, -20, 80);
    EXPECT_EQ(m.ValueLengthPixels(2.5), 10);
    EXPECT_EQ(m.ValueLengthPixels(0), 0);
    EXPECT_EQ(m.ValueLengthPixels(NaN), 0);
    EXPECT_EQ(m.ValueLengthPixels(1e300), MaxPixelPos);
    const TAxisScaleMap log = MakeMap(TAxisCalcKind::Logarithmic, 40, 340, 1, 1000);
    EXPECT_EQ(log.ValueLengthPixels(100), 200);
}

TEST_F(AxisMap, AShiftedMapMovesEveryPixelButTheCentreOfAZeroRange)
{
    for (TAxisCalcKind kind : {TAxisCalcKind::LinearClamped, TAxisCalcKind::LinearUnclamped,
                               TAxisCalcKind::Logarithmic}) {
        const TAxisScaleMap m = MakeMap(kind, 40, 340, 1, 1000, kind == TAxisCalcKind::LinearUnclamped);
        const TAxisScaleMap s = m.Shifted(-7);
        for (double v : {1.0, 10.0, 333.0, 1000.0}) {
            EXPECT_EQ(s.CalcXPos(v), m.CalcXPos(v) - 7) << int(kind) << " " << v;
            EXPECT_EQ(s.CalcYPos(v), m.CalcYPos(v) - 7) << int(kind) << " " << v;
        }
    }
    const TAxisScaleMap zero = MakeMap(TAxisCalcKind::LinearClamped, 40, 441, 3, 3);
    EXPECT_EQ(zero.Shifted(5).CalcXPos(3), 240);
}

TEST_F(AxisMap, LinearMapsExistOnlyForLinearKinds)
{
    TAxisLinearMap lm;
    EXPECT_FALSE(MakeMap(TAxisCalcKind::Logarithmic, 40, 340, 1, 1000).Linear(true, lm));
    EXPECT_FALSE(MakeMap(TAxisCalcKind::Depth, 40, 340, 1, 1000).Linear(true, lm));
    const TAxisScaleMap m = MakeMap(TAxisCalcKind::LinearUnclamped, 40, 440, -20, 80, true);
    ASSERT_TRUE(m.Linear(false, lm));
    EXPECT_FALSE(lm.Clamp);
    for (double v : {-20.0, 0.3, 79.0, 1e300, NaN})
        EXPECT_EQ(lm(v), m.CalcYPos(v)) << v;
}

// A map copied out of a laid-out axis converts as the axis does, for every kind, and
// keeps doing so after the axis moves on.
TEST_F(AxisMap, CopiesFromAnAxisConvertAsTheAxis)
{
    AddSeries({{1, 2}, {30, 700}});
    TChartAxis* x = chart->BottomAxis();
    TChartAxis* y = chart->LeftAxis();
    TChartAxis* z = chart->DepthAxis();
    const auto same = [](TChartAxis* A, const char* What) {
        const TAxisScaleMap m = A->Map();
        EXPECT_EQ(m.Kind, A->CalcKind()) << What;
        for (double v : {-3.0, 0.0, 1.5, 2.0, 17.25, 30.0, 700.0, 1e300, -1e300, Inf, NaN}) {
            EXPECT_EQ(m.CalcXPos(v), A->CalcXPosValue(v)) << What << " " << v;
            EXPECT_EQ(m.CalcYPos(v), A->CalcYPosValue(v)) << What << " " << v;
            EXPECT_EQ(m.CalcPos(v), A->CalcPosValue(v)) << What << " " << v;
        }
        for (int p : {-5, 20, 40, 97, 320, 440, 1000})
            EXPECT_EQ(m.ValueAtPixel(p), A->ValueAtPixel(p)) << What << " " << p;
    };
    chart->Width3D = 50;
    Layout();
    same(x, "x");
    same(y, "y");
    same(z, "depth");
    ASSERT_EQ(z->CalcKind(), TAxisCalcKind::Depth);
    y->SetInverted(true);
    same(y, "y inverted");
    y->SetLogarithmic(true);
    Layout();
    ASSERT_EQ(y->CalcKind(), TAxisCalcKind::Logarithmic);
    same(y, "y logarithmic");
    chart->Axes()->SetFastCalc(true);
    ASSERT_EQ(x->CalcKind(), TAxisCalcKind::LinearUnclamped);
    same(x, "x unclamped");
    x->SetRangeInUse(5, 5);
    same(x, "x zero range");

    const TAxisScaleMap before = x->Map();
    x->SetFixedRange(0, 100);
    Layout();
    EXPECT_EQ(x->CalcXPosValue(25), 140);
    EXPECT_EQ(before.CalcXPos(25), before.CenterPos);
}

TEST_F(AxisMap, AnOverrideLendsTheAxisAMapUntilItEnds)
{
    AddSeries({{0, 0}, {10, 10}});
    Layout();
    TChartAxis* x = chart->BottomAxis();
    const int own = x->CalcXPosValue(4);
    {
        const TAxisMapOverride shifted(x, x->Map().Shifted(9));
        EXPECT_EQ(x->CalcXPosValue(4), own + 9);
        EXPECT_EQ(x->Map().StartPos, 49);
    }
    EXPECT_EQ(x->CalcXPosValue(4), own);
    EXPECT_EQ(x->Map().StartPos, 40);
}
