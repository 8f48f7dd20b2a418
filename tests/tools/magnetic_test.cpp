#include <gtest/gtest.h>

#include "convert/magnetic.h"

#include <math.h>
#include <stdio.h>

#include <string>
#include <vector>

namespace {

/* ---- Declination against the reference values ---- */

struct ReferenceValue {
    int year, month, day;
    double latitude, longitude, height_km, declination;
};

/* date,lat,lon,alt_km,decl_deg with a header line. */
std::vector<ReferenceValue> reference_values()
{
    std::vector<ReferenceValue> values;
    std::string path = std::string(PELMORA_TOOL_TESTS_DIR) + "/fixtures/wmm/test-values.csv";
    FILE *f = fopen(path.c_str(), "r");
    if (!f)
        return values;
    char line[256];
    while (fgets(line, sizeof line, f)) {
        ReferenceValue v;
        if (sscanf(line, "%d-%d-%d,%lf,%lf,%lf,%lf", &v.year, &v.month, &v.day, &v.latitude,
                   &v.longitude, &v.height_km, &v.declination) == 7)
            values.push_back(v);
    }
    fclose(f);
    return values;
}

TEST(MagneticDeclination, AgreesWithEveryReferenceValue)
{
    std::vector<ReferenceValue> values = reference_values();
    ASSERT_EQ(values.size(), 75u);
    for (const ReferenceValue &v : values) {
        double year = decimal_year(v.year, v.month, v.day);
        EXPECT_NEAR(magnetic_declination(v.latitude, v.longitude, v.height_km, year),
                    v.declination, 0.01)
            << v.year << "-" << v.month << "-" << v.day << " at " << v.latitude << ", "
            << v.longitude;
    }
}

TEST(MagneticDeclination, IsFiniteAtThePolesAndMeetsItsLimitThere)
{
    for (double latitude : {90.0, -90.0, 91.0, -1000.0}) {
        for (double longitude : {-180.0, -45.0, 0.0, 90.0, 179.9}) {
            double at_pole = magnetic_declination(latitude, longitude, 0.0, 2027.0);
            EXPECT_TRUE(isfinite(at_pole)) << latitude << ", " << longitude;
            /* A step off the pole along the same meridian barely changes it. */
            double pole = latitude > 0 ? 90.0 : -90.0;
            double near = magnetic_declination(pole - copysign(1e-6, pole), longitude, 0.0, 2027.0);
            EXPECT_NEAR(at_pole, near, 0.01) << latitude << ", " << longitude;
        }
    }
    /* At the pole the horizontal field has one direction; the meridians
     * turn under it, so the declination turns with the longitude. */
    double d0 = magnetic_declination(90.0, 0.0, 0.0, 2027.0);
    double d90 = magnetic_declination(90.0, 90.0, 0.0, 2027.0);
    EXPECT_NEAR(fabs(remainder(d90 - d0, 360.0)), 90.0, 0.01);
}

TEST(MagneticDeclination, ChangesSlowlyWithTimeAndHeight)
{
    /* Secular variation over the model's span stays within a few degrees
     * away from the magnetic poles; a cruising height moves it little. */
    double early = magnetic_declination(47.449, -122.309, 0.0, magnetic_model_first_year);
    double late = magnetic_declination(47.449, -122.309, 0.0, magnetic_model_last_year);
    EXPECT_GT(fabs(late - early), 0.05);
    EXPECT_LT(fabs(late - early), 3.0);
    double high = magnetic_declination(47.449, -122.309, 12.0, 2027.0);
    double low = magnetic_declination(47.449, -122.309, 0.0, 2027.0);
    EXPECT_LT(fabs(high - low), 0.5);
}

/* ---- Dates ---- */

TEST(DecimalYear, CountsDaysOverTheYearsLength)
{
    EXPECT_DOUBLE_EQ(decimal_year(2025, 1, 1), 2025.0);
    EXPECT_DOUBLE_EQ(decimal_year(2025, 12, 31), 2025.0 + 364.0 / 365.0);
    EXPECT_DOUBLE_EQ(decimal_year(2028, 3, 1), 2028.0 + 60.0 / 366.0);   /* leap year */
    EXPECT_DOUBLE_EQ(decimal_year(2100, 3, 1), 2100.0 + 59.0 / 365.0);   /* not a leap year */
    EXPECT_DOUBLE_EQ(decimal_year(2000, 3, 1), 2000.0 + 60.0 / 366.0);   /* leap year */
    /* Out-of-range parts go to the nearest valid date. */
    EXPECT_DOUBLE_EQ(decimal_year(2025, 0, 0), 2025.0);
    EXPECT_DOUBLE_EQ(decimal_year(2025, 13, 40), 2025.0 + 364.0 / 365.0);
    EXPECT_DOUBLE_EQ(decimal_year(2027, 2, 30), 2027.0 + 58.0 / 365.0);
}

/* ---- Courses ---- */

TEST(MagneticCourse, SubtractsEastAndAddsWestDeclination)
{
    EXPECT_EQ(magnetic_course(90.0, 15.051), 75);      /* large east */
    EXPECT_EQ(magnetic_course(10.0, 21.873), 348);     /* large east, across north */
    EXPECT_EQ(magnetic_course(270.0, -21.873), 292);   /* large west */
    EXPECT_EQ(magnetic_course(350.0, -25.4), 15);      /* large west, across north */
}

TEST(MagneticCourse, WritesNorthAs360AndRoundsHalvesUp)
{
    EXPECT_EQ(magnetic_course(15.0, 15.0), 360);
    EXPECT_EQ(magnetic_course(0.0, 0.0), 360);
    EXPECT_EQ(magnetic_course(360.0, 0.0), 360);
    EXPECT_EQ(magnetic_course(0.3, 0.6), 360);        /* -0.3 rounds to north */
    EXPECT_EQ(magnetic_course(359.6, 0.0), 360);
    EXPECT_EQ(magnetic_course(359.4, 0.0), 359);
    EXPECT_EQ(magnetic_course(0.5, 0.0), 1);
    EXPECT_EQ(magnetic_course(100.5, 0.0), 101);
}

TEST(MagneticCourse, TakesAnyBearingModulo360)
{
    EXPECT_EQ(magnetic_course(450.0, 0.0), 90);
    EXPECT_EQ(magnetic_course(725.0, 10.0), 355);
    EXPECT_EQ(magnetic_course(-90.0, 0.0), 270);
    EXPECT_EQ(magnetic_course(-370.0, -5.0), 355);
    EXPECT_EQ(magnetic_course(-720.0, 0.0), 360);
    EXPECT_EQ(magnetic_course(NAN, 3.0), 360);
    EXPECT_EQ(magnetic_course(INFINITY, 3.0), 360);
}

}  // namespace
