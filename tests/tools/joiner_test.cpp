#include <gtest/gtest.h>

#include <stdio.h>

#include "convert/joiner.h"

namespace {

/* A runway's two ends between two thresholds, headings from the places. */
void add_runway(Airport &a, const char *low, double lat1, double lon1, const char *high,
                double lat2, double lon2, double heading)
{
    RunwayEnd e1, e2;
    e1.designator = low;
    e2.designator = high;
    e1.has_position = e2.has_position = e1.has_far_end = e2.has_far_end = true;
    e1.latitude = e2.far_latitude = lat1;
    e1.longitude = e2.far_longitude = lon1;
    e2.latitude = e1.far_latitude = lat2;
    e2.longitude = e1.far_longitude = lon2;
    e1.heading = heading;
    e2.heading = heading + 180;
    a.ends.push_back(e1);
    a.ends.push_back(e2);
}

/* Seattle's old 16L: its localizer lies 230 m beyond the 34R threshold. */
Localizer old_16l_localizer(bool ils = true, const char *ident = "ISNQ")
{
    Localizer l;
    l.airport = "KSEA";
    l.runway = "16L";
    l.ident = ident;
    l.bearing = 180.25;
    l.latitude = 47.42939;
    l.longitude = -122.30806;
    l.with_glide_slope = ils;
    l.frequency = 11030;
    l.source = SourceLine{"nav.dat", 1};
    return l;
}

const double east_2500m = 0.033;                     /* degrees of longitude at 47.4 N */

struct Join {
    FILE *messages = tmpfile();
    Report report{messages};
    LocalizerJoiner joiner{report};
    ~Join() { fclose(messages); }
};

TEST(JoinByPlace, ARenumberedRunwayKeepsItsLocalizer)
{
    Join j;
    j.joiner.add(old_16l_localizer());
    Airport a;
    a.ident = "KSEA";
    /* The old 16L is 16C now; a new runway 2.5 km east took the name 16L. */
    add_runway(a, "16L", 47.4638, -122.3078 + east_2500m, "34R", 47.4315,
               -122.3080 + east_2500m, 180.2);
    add_runway(a, "16C", 47.4638, -122.3078, "34C", 47.4315, -122.3080, 180.2);
    std::vector<RunwayEnd> ends = a.ends;
    j.joiner.join(a, ends);
    EXPECT_EQ(ends[0].localizer, nullptr);               /* the new 16L */
    ASSERT_NE(ends[2].localizer, nullptr);               /* the old place, now 16C */
    EXPECT_EQ(ends[2].localizer->ident, "ISNQ");
    EXPECT_EQ(j.joiner.count(Localizer::State::joined), 1);
}

TEST(JoinByPlace, ANewRunwayElsewhereWithTheOldDesignatorGetsNothing)
{
    Join j;
    j.joiner.add(old_16l_localizer());
    Airport a;
    a.ident = "KSEA";
    add_runway(a, "16L", 47.4638, -122.3078 + east_2500m, "34R", 47.4315,
               -122.3080 + east_2500m, 180.2);
    std::vector<RunwayEnd> ends = a.ends;
    j.joiner.join(a, ends);
    EXPECT_EQ(ends[0].localizer, nullptr);
    EXPECT_EQ(j.joiner.count(Localizer::State::no_runway), 1);
}

TEST(JoinByPlace, TheOppositeEndAndAWrongDirectionDoNotFit)
{
    Airport a;
    add_runway(a, "16L", 47.4638, -122.3078, "34R", 47.4315, -122.3080, 180.2);
    Localizer l = old_16l_localizer();
    EXPECT_GE(localizer_fit(l, a.ends[0], false), 0);
    EXPECT_LT(localizer_fit(l, a.ends[1], false), 0);    /* 34R points north */
    l.bearing = 195;                                     /* 15 degrees off: only as offset */
    EXPECT_LT(localizer_fit(l, a.ends[0], false), 0);
    EXPECT_GE(localizer_fit(l, a.ends[0], true), 0);
    l.bearing = 180.25;
    l.latitude = 47.40;                                  /* 3.5 km beyond: still fits */
    EXPECT_GE(localizer_fit(l, a.ends[0], false), 0);
    l.latitude = 47.38;                                  /* 5.7 km beyond: too far */
    EXPECT_LT(localizer_fit(l, a.ends[0], true), 0);
}

TEST(JoinByPlace, EndsWithoutPlacesJoinByDesignatorAndAnIlsComesFirst)
{
    Join j;
    j.joiner.add(old_16l_localizer(false, "ILOC"));
    j.joiner.add(old_16l_localizer(true, "IILS"));
    Airport a;
    a.ident = "KSEA";
    RunwayEnd e;
    e.designator = "16L";
    a.ends.push_back(e);
    std::vector<RunwayEnd> ends = a.ends;
    j.joiner.join(a, ends);
    ASSERT_NE(ends[0].localizer, nullptr);
    EXPECT_EQ(ends[0].localizer->ident, "IILS");
    EXPECT_EQ(j.joiner.count(Localizer::State::spare), 1);
}

}  // namespace
