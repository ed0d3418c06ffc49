// The confidence band's numbers: centred on the fitted curve, as wide as the uncertainties
// make it, the same for the same grid values, and the same whether computed draw by draw
// or spread over the cores.
#include "Lev_Marq.h"
#include "RNDUNIT.h"
#include "Unit2/BandCore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

namespace {

TPointArray Temperatures(std::initializer_list<double> values)
{
    TPointArray T;
    int i = 1;
    for (double v : values)
        T[i++] = v;
    return T;
}

void ExpectSameBand(const std::vector<TBandPoint>& a, const std::vector<TBandPoint>& b)
{
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].T, b[i].T) << i;
        EXPECT_EQ(a[i].Upper, b[i].Upper) << i;
        EXPECT_EQ(a[i].Lower, b[i].Lower) << i;
    }
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

// Values of the band as the program computed it draw by draw on one thread before the
// work was spread over the cores; a second set where drawn Theta values turn negative.
TEST(ConfidenceBandTest, BandKeepsItsEarlierValues)
{
    const std::vector<TBandPoint> expected{
        {0x1.2p+2, 0x1.ffa523a1a454cp-14, -0x1.16b7dc99fc4ap-14},
        {0x1.28p+5, 0x1.11a2c087a8c4bp+3, 0x1.70ac47b98d3f6p+2},
    };
    ExpectSameBand(ConfidenceBand({0.37, 83.5, 0.71, 246}, {0.021, 3.7, 0.015, 11.2}, 2, 2, Temperatures({4.5, 37})),
                   expected);
    const std::vector<TBandPoint> negative{{0x1.4p+3, 0x1.44889a83c258ap+5, -0x1.65cdf1603895cp+4}};
    ExpectSameBand(ConfidenceBand({1.2, 40}, {0.3, 25}, 1, 1, Temperatures({10})), negative);
}

// Small pieces put seams, draws across pieces and batches, and normals running over a
// whole piece everywhere; the band and the generator's state after it stay those of the
// draw-by-draw computation, with the normals' first step on wide vectors or without.
TEST(ConfidenceBandTest, EveryWayOfCuttingTheWorkGivesTheSameNumbers)
{
    const TPointArray T = Temperatures({2.5});
    const std::vector<double> coef{0.55, 120};
    const std::vector<double> unc{0.04, 90};
    const auto serial = ConfidenceBandSerial(coef, unc, 1, 1, T);
    const double nextSerial = RandomNormal();
    for (const TBandSplit split : {TBandSplit{4096, 2048}, TBandSplit{997, 7}, TBandSplit{997, 7, true},
                                   TBandSplit{0, 0, true}}) {
        SCOPED_TRACE(std::to_string(split.BlockUniforms) + " / " + std::to_string(split.Pieces) +
                     (split.Plain ? " plain" : ""));
        ExpectSameBand(ConfidenceBand(coef, unc, 1, 1, T, nullptr, split), serial);
        EXPECT_EQ(RandomNormal(), nextSerial);
    }
}

// Terms whose u = Theta / T falls in every branch of E: the draws evaluated side by side
// give the numbers of the one-by-one sum.
TEST(ConfidenceBandTest, ManyTermsOverEveryRangeOfUGiveTheOneByOneNumbers)
{
    const TPointArray T = Temperatures({0.4, 30, 700});
    std::vector<double> coef;
    std::vector<double> unc;
    for (int j = 0; j < 10; ++j) {
        const double theta = 4.0 * std::pow(2.3, j);
        coef.insert(coef.end(), {0.1, theta});
        unc.insert(unc.end(), {0.01, 0.5 * theta});
    }
    ExpectSameBand(ConfidenceBand(coef, unc, 10, 3, T), ConfidenceBandSerial(coef, unc, 10, 3, T));

    // One term at T = 100 K, Theta swept over each branch of E: u below zero, at and around
    // zero, in (0, 0.25], in (0.25, 0.5], exactly 0.5, in (0.5, 700], across the cap and
    // above it.
    const TPointArray at100 = Temperatures({100});
    for (const auto& [theta, spread] : std::vector<std::pair<double, double>>{
             {-40, 2}, {0, 0}, {0, 1}, {15, 0.5}, {37, 1}, {50, 0}, {120, 4}, {70000, 10}, {200000, 1000}}) {
        SCOPED_TRACE(theta);
        const std::vector<double> one{0.9, theta};
        const std::vector<double> oneUnc{0.02, spread};
        ExpectSameBand(ConfidenceBand(one, oneUnc, 1, 1, at100), ConfidenceBandSerial(one, oneUnc, 1, 1, at100));
    }
}

TEST(ConfidenceBandTest, StopEndsTheWorkWithoutABand)
{
    TWorkProgress progress;
    progress.Stop = true;
    EXPECT_TRUE(ConfidenceBand({1, 100}, {0.1, 1}, 1, 2, Temperatures({10, 20}), &progress).empty());

    TWorkProgress counting;
    EXPECT_EQ(ConfidenceBand({1, 100}, {0.1, 1}, 1, 2, Temperatures({10, 20}), &counting).size(), 2u);
    EXPECT_EQ(counting.Done, 2);
}

} // namespace
