// The normal generator of the confidence band: reproducible from its seed and normally
// distributed, tails included.
#include "RNDUNIT.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

std::vector<double> Draws(int count)
{
    std::vector<double> v(count);
    for (double& x : v)
        x = RandomNormal();
    return v;
}

TEST(RandomNormalTest, SameSeedSameSequenceAndSeedZeroKeepsTheState)
{
    EXPECT_EQ(RandomNormalInit(100), 100.0);
    const std::vector<double> first = Draws(2000);
    RandomNormalInit(100);
    EXPECT_EQ(Draws(2000), first);

    RandomNormalInit(-100);   // the seed's magnitude counts
    EXPECT_EQ(Draws(2000), first);

    RandomNormalInit(7);
    Draws(10);
    const std::vector<double> continued = Draws(5);
    RandomNormalInit(7);
    Draws(10);
    EXPECT_EQ(RandomNormalInit(0), 0.0);
    EXPECT_EQ(Draws(5), continued);

    RandomNormalInit(8);
    EXPECT_NE(Draws(5), continued);
}

TEST(RandomNormalTest, DrawsAreStandardNormal)
{
    RandomNormalInit(100);
    const int n = 400000;
    double sum = 0, sumSq = 0;
    int beyond1 = 0, beyond3 = 0, beyondTail = 0, negative = 0;
    for (int i = 0; i < n; ++i) {
        const double x = RandomNormal();
        ASSERT_TRUE(std::isfinite(x));
        sum += x;
        sumSq += x * x;
        beyond1 += std::fabs(x) > 1;
        beyond3 += std::fabs(x) > 3;
        beyondTail += std::fabs(x) > 2.7769942696628753;
        negative += x < 0;
    }
    const double mean = sum / n;
    const double variance = sumSq / n - mean * mean;
    EXPECT_NEAR(mean, 0.0, 0.01);
    EXPECT_NEAR(variance, 1.0, 0.01);
    EXPECT_NEAR(double(negative) / n, 0.5, 0.005);
    EXPECT_NEAR(double(beyond1) / n, 0.3173, 0.005);    // P(|X| > 1)
    EXPECT_NEAR(double(beyond3) / n, 0.0027, 0.0005);   // P(|X| > 3)
    EXPECT_NEAR(double(beyondTail) / n, 0.00549, 0.0008);
}

TEST(RandomNormalTest, SignHelper)
{
    EXPECT_EQ(RndSign(-1, 2.5), -2.5);
    EXPECT_EQ(RndSign(-1, -2.5), -2.5);
    EXPECT_EQ(RndSign(0, -2.5), 2.5);
    EXPECT_EQ(RndSign(3, -2.5), 2.5);
}

} // namespace
