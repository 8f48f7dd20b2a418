/* Where a needle points and which picture an icon shows, for the values a
 * gauge's callback may return. */
#include "host/dial.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

/* The Fuel gauge's dial: rising values, the second segment going left. */
const ScalePoint fuel[] = {
    {30, 182, 0.0, {0, 0}}, {119, 47, 25.0, {0, 0}}, {246, 93, 50.0, {0, 0}}, {241, 221, 75.0, {0, 0}},
};

void expect_point(const ScalePoint *points, uint32_t count, double value, double x, double y)
{
    double got_x = -1, got_y = -1;
    ASSERT_TRUE(dial_point(points, count, value, got_x, got_y)) << "value " << value;
    EXPECT_DOUBLE_EQ(got_x, x) << "value " << value;
    EXPECT_DOUBLE_EQ(got_y, y) << "value " << value;
}

TEST(HostDial, NeedlePoints)
{
    expect_point(fuel, 4, 0.0, 30, 182);
    expect_point(fuel, 4, 75.0, 241, 221);
    expect_point(fuel, 4, 12.5, 74.5, 114.5);       /* halfway along the first segment */
    expect_point(fuel, 4, 37.5, 182.5, 70);
    expect_point(fuel, 4, -10.0, 30, 182);          /* beyond the ends: the nearer end */
    expect_point(fuel, 4, 80.0, 241, 221);
    expect_point(fuel, 4, NAN, 30, 182);            /* not a number: the first point */
    expect_point(fuel, 1, 50.0, 30, 182);           /* one point: always there */
    double x, y;
    EXPECT_FALSE(dial_point(fuel, 0, 10.0, x, y));
    EXPECT_FALSE(dial_point(nullptr, 4, 10.0, x, y));
}

TEST(HostDial, FallingScaleAndEqualValues)
{
    const ScalePoint falling[] = {{0, 0, 10.0, {0, 0}}, {100, 0, 0.0, {0, 0}}};
    expect_point(falling, 2, 2.5, 75, 0);
    expect_point(falling, 2, 20.0, 0, 0);
    expect_point(falling, 2, -5.0, 100, 0);
    const ScalePoint flat[] = {{0, 0, 5.0, {0, 0}}, {100, 0, 5.0, {0, 0}}};
    expect_point(flat, 2, 5.0, 0, 0);               /* no division by a zero span */
}

TEST(HostDial, IconPictures)
{
    EXPECT_EQ(icon_picture(4, 0.0), 0);
    EXPECT_EQ(icon_picture(4, 2.9), 2);             /* truncated */
    EXPECT_EQ(icon_picture(4, 3.0), 3);
    EXPECT_EQ(icon_picture(4, 7.0), 3);
    EXPECT_EQ(icon_picture(4, -1.0), 0);
    EXPECT_EQ(icon_picture(4, NAN), 0);
    EXPECT_EQ(icon_picture(0, 2.0), 0);
    EXPECT_EQ(icon_picture(2, 1e300), 1);
}

} // namespace
