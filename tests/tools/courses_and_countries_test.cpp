#include <gtest/gtest.h>

#include <stdio.h>

#include "convert/countries.h"
#include "convert/courses.h"

namespace {

struct Unpacked {
    double true_bearing;
    int published;
};

Unpacked unpack(double value, bool packed = true)
{
    Unpacked u;
    unpack_localizer_bearing(value, packed, &u.true_bearing, &u.published);
    return u;
}

/* nav.dat 1150 on: magnetic x 360 + true; a packed magnetic 0 is 360, told
 * from an old-style true bearing by lying near north. */
TEST(PackedBearing, PublishedCourseAndTrueBearingComeApart)
{
    Unpacked ksea = unpack(59220.343);
    EXPECT_EQ(ksea.published, 164);
    EXPECT_NEAR(ksea.true_bearing, 180.343, 1e-6);

    Unpacked north_east = unpack(12.0);          /* magnetic 0: 360, true 12 */
    EXPECT_EQ(north_east.published, 360);
    EXPECT_NEAR(north_east.true_bearing, 12.0, 1e-9);
    EXPECT_EQ(unpack(345.5).published, 360);     /* true 345.5 under a west declination */
    EXPECT_EQ(unpack(360.0 * 360 + 5).published, 360);   /* 360 written out */

    Unpacked old_style = unpack(95.0);           /* far from north: a plain true bearing */
    EXPECT_EQ(old_style.published, 0);
    EXPECT_NEAR(old_style.true_bearing, 95.0, 1e-9);
    EXPECT_EQ(unpack(north_published_degrees + 0.5).published, 0);

    Unpacked whole = unpack(164.0 * 360);        /* true bearing exactly 0 */
    EXPECT_EQ(whole.published, 164);
    EXPECT_NEAR(whole.true_bearing, 0.0, 1e-9);
}

TEST(PackedBearing, OlderFilesKeepOnlyTheTrueBearing)
{
    Unpacked fg = unpack(59580.25, false);       /* FlightGear's 810 file holds such values */
    EXPECT_EQ(fg.published, 0);
    EXPECT_NEAR(fg.true_bearing, 180.25, 1e-9);
    EXPECT_EQ(unpack(12.0, false).published, 0);
}

TEST(TrueDesignator, OnlyARunwayNumberEndingInT)
{
    for (const char *d : {"08T", "13T", "5T", "16LT", "05t"})
        EXPECT_TRUE(is_true_designator(d)) << d;
    for (const char *d : {"T", "08", "08L", "T08", "108T", "08TT", "H1", "", "NT"})
        EXPECT_FALSE(is_true_designator(d)) << d;
}

TEST(Countries, CodesNamesAndTheFormsOfAptDat)
{
    EXPECT_EQ(country_code("US"), "US");
    EXPECT_EQ(country_code("usa"), "US");
    EXPECT_EQ(country_code("United States"), "US");
    EXPECT_EQ(country_code("USA United States"), "US");
    EXPECT_EQ(country_code("united states of america"), "US");
    EXPECT_EQ(country_code("Germany"), "DE");
    EXPECT_EQ(country_code("DEU"), "DE");
    EXPECT_EQ(country_code("Deutschland"), "DE");
    EXPECT_EQ(country_code("C\xC3\xB4te d'Ivoire"), "CI");     /* UTF-8 */
    EXPECT_EQ(country_code("CAN Canada"), "CA");
    EXPECT_EQ(country_code("GB United Kingdom"), "GB");
    EXPECT_EQ(country_code("Atlantis"), "");
    EXPECT_EQ(country_code("USA Canada"), "");                  /* code and name disagree */
    EXPECT_EQ(country_code(""), "");
}

TEST(Countries, TheFilterTakesNamesAndReportsAnUnknownTextOnce)
{
    FILE *out = tmpfile();
    Report report(out);
    CountryFilter filter({"UNITED STATES", "de", "XX"});
    SourceLine here{"apt.dat", 7};
    EXPECT_TRUE(filter.admits("USA United States", here, report));
    EXPECT_TRUE(filter.admits("Germany", here, report));
    EXPECT_TRUE(filter.admits("xx", here, report));             /* as given, though unknown */
    EXPECT_FALSE(filter.admits("France", here, report));
    EXPECT_FALSE(filter.admits("", here, report));
    EXPECT_FALSE(filter.admits("Atlantis", here, report));
    EXPECT_FALSE(filter.admits("Atlantis", here, report));
    EXPECT_EQ(report.notes(), 2);                               /* XX and Atlantis, once each */
    fclose(out);
}

}  // namespace
