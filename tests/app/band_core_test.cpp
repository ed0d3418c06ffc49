// The confidence band's numbers: centred on the fitted curve, as wide as the uncertainties
// make it, and the same for the same grid values.
#include "Lev_Marq.h"
#include "Unit2/BandCore.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TPointArray Temperatures(std::initializer_list<double> values)
{
    TPointArray T;
    int i = 1;
    for (double v : values)
        T[i++] = v;
    return T;
}

TEST(ConfidenceBandTest, ZeroUncertaintiesCollapseOntoTheCurve)
{
    const TPointArray T = Temperatures({5, 50, 300});
    const std::vector<double> coef{0.8, 250, 0.2, 90};
    const auto band = ConfidenceBand(coef, {0, 0, 0, 0}, 2, 3, T);
    ASSERT_EQ(band.size(), 3u);
    for (const TBandPoint& b : band) {
        const double c = EinsteinSumCp({0.8, 0.2}, {250, 90}, b.T, false);
        EXPECT_DOUBLE_EQ(b.Upper, c) << b.T;
        EXPECT_DOUBLE_EQ(b.Lower, c) << b.T;
    }
}

TEST(ConfidenceBandTest, WidthFollowsTheUncertaintyAndRepeats)
{
    const TPointArray T = Temperatures({300});
    // At 300 K with Theta = 100 K the curve is nearly flat in Theta: the spread comes
    // from the amplitude, sd ~ 3R * E(1/3) * 0.01.
    const std::vector<double> coef{1.0, 100};
    const auto band = ConfidenceBand(coef, {0.01, 0}, 1, 1, T);
    const double c0 = ThreeR * EinsteinE(100.0 / 300.0);
    const double sd = (band[0].Upper - band[0].Lower) / 6;
    EXPECT_NEAR(band[0].Upper - c0, c0 - band[0].Lower, 1e-9);
    EXPECT_NEAR(sd, c0 * 0.01, c0 * 0.01 * 0.01);

    const auto again = ConfidenceBand(coef, {0.01, 0}, 1, 1, T);
    EXPECT_EQ(again[0].Upper, band[0].Upper);
    const auto wider = ConfidenceBand(coef, {0.02, 0}, 1, 1, T);
    EXPECT_NEAR(wider[0].Upper - c0, 2 * (band[0].Upper - c0), 1e-9 * c0);
}

TEST(ConfidenceBandTest, NoPointsNoBand)
{
    EXPECT_TRUE(ConfidenceBand({1, 100}, {0.1, 1}, 1, 0, Temperatures({})).empty());
}

} // namespace
