// Hit tests of lines, polygons, triangles and ellipses, at their boundaries and with the
// largest pixel coordinates an axis answers (67108863: products need 64 bits or more).
#include "RizUridu/Helpers.h"

#include <gtest/gtest.h>

namespace {
constexpr int M = 67108863;
}

TEST(HitTests, PointNearLine)
{
    const TPoint a{-5, 0}, b{5, 0};
    EXPECT_TRUE(PointNearLine({0, 3}, a, b, 2));    // distance Tolerance + 1 is near
    EXPECT_FALSE(PointNearLine({0, 4}, a, b, 2));
    EXPECT_TRUE(PointNearLine({8, 0}, a, b, 2));    // beyond an end: distance to that end
    EXPECT_FALSE(PointNearLine({7, 3}, a, b, 2));   // 3.6 from B
    EXPECT_TRUE(PointNearLine({-7, 2}, a, b, 2));   // 2.8 from A
    EXPECT_TRUE(PointNearLine(a, a, b, -10));       // an end always hits
    EXPECT_TRUE(PointNearLine({4, 5}, {1, 1}, {1, 1}, 4));
    EXPECT_FALSE(PointNearLine({5, 5}, {1, 1}, {1, 1}, 4));
    EXPECT_FALSE(PointNearSegment({1, 2}, {{0, 0}, {10, 0}}));
    // 3 / sqrt(2) = 2.12 pixels off a diagonal across the whole range.
    EXPECT_FALSE(PointNearLine({M, M - 3}, {0, 0}, {M, M}, 1));
    EXPECT_TRUE(PointNearLine({M, M - 3}, {0, 0}, {M, M}, 2));
    EXPECT_FALSE(PointNearLine({0, M}, {-M, 0}, {M, 0}, 1000));
}

TEST(HitTests, PolygonsAndTriangles)
{
    const TPoint u[] = {{0, 0}, {30, 0}, {30, 30}, {20, 30}, {20, 10}, {10, 10}, {10, 30}, {0, 30}};
    EXPECT_TRUE(PointInPolygon({5, 20}, u));
    EXPECT_FALSE(PointInPolygon({15, 20}, u));   // in the notch
    EXPECT_FALSE(PointInPolygon({35, 5}, u));
    EXPECT_FALSE(PointInPolygon({5, 5}, {}));
    // By the index of the last point: all of u, its first three points, or none.
    EXPECT_TRUE(PointInPolygon({5, 20}, u, 7));
    EXPECT_FALSE(PointInPolygon({5, 20}, u, 2));
    EXPECT_TRUE(PointInPolygon({25, 10}, u, 2));
    EXPECT_FALSE(PointInPolygon({25, 10}, u, -1));
    const TPoint big[] = {{0, 0}, {M, 0}, {0, M}};
    EXPECT_TRUE(PointInPolygon({M / 2 - 1, M / 2}, big));
    EXPECT_FALSE(PointInPolygon({M / 2 + 1, M / 2 + 1}, big));
    // Apex (5, 0) over the base (0, 10)-(10, 10); apex (0, 5) beside the base (10, 0)-(10, 10).
    EXPECT_TRUE(PointInTriangleVertical({5, 5}, 0, 10, 0, 10));
    EXPECT_FALSE(PointInTriangleVertical({1, 1}, 0, 10, 0, 10));
    EXPECT_TRUE(PointInTriangleHorizontal({8, 5}, 0, 10, 0, 10));
    EXPECT_FALSE(PointInTriangleHorizontal({1, 1}, 0, 10, 0, 10));
}

TEST(HitTests, EllipseBoundaryAndDegenerateEllipses)
{
    // Centre (10, 5), half axes 10 and 5; the boundary is inside.
    EXPECT_TRUE(PointInEllipse({20, 5}, 0, 0, 20, 10));
    EXPECT_TRUE(PointInEllipse({10, 0}, 0, 0, 20, 10));
    EXPECT_TRUE(PointInEllipse({16, 9}, 0, 0, 20, 10));   // 0.36 + 0.64 = 1
    EXPECT_FALSE(PointInEllipse({17, 9}, 0, 0, 20, 10));
    EXPECT_TRUE(PointInEllipseRect({10, 5}, TRect(0, 0, 20, 10)));
    // Zero width or height holds nothing, not even its centre.
    EXPECT_FALSE(PointInEllipse({0, 5}, 0, 0, 0, 10));
    EXPECT_FALSE(PointInEllipse({0, 5}, 0, 0, 1, 10));
    EXPECT_TRUE(PointInEllipse({M, 0}, -M, -M, M, M));
    EXPECT_FALSE(PointInEllipse({M, 1}, -M, -M, M, M));
}
