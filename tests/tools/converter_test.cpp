#include <gtest/gtest.h>

#include <string.h>

#include "common/geometry.h"
#include "convert/converter.h"
#include "test_files.h"

namespace {

/* One conversion in memory: localizers and airports in, the runway file's
 * lines and the messages out. */
class Conversion {
public:
    explicit Conversion(const Filters &filters = Filters())
        : messages_(tmpfile()), report_(messages_), converter_(filters, report_)
    {
        std::string error;
        converter_.open_outputs(dir_.path(), false, true, false, &error);
        converter_.set_magnetic_year(2026.0);
    }
    ~Conversion() { fclose(messages_); }

    Conversion &localizer(const char *airport, const char *runway, const char *ident,
                          double bearing, bool ils = true, long frequency = 11030)
    {
        Localizer l;
        l.airport = airport;
        l.runway = runway;
        l.ident = ident;
        l.bearing = bearing;
        l.with_glide_slope = ils;
        l.frequency = frequency;
        /* Where the magnetic declination is nearly nil (0.02 degrees east in
         * 2026), so that a whole-degree bearing is its own course. */
        l.latitude = 40.0;
        l.longitude = -93.1;
        l.source = SourceLine{"nav.dat", ++localizer_line_};
        converter_.add_localizer(l);
        return *this;
    }
    Conversion &localizer(const Localizer &l)
    {
        converter_.add_localizer(l);
        return *this;
    }
    Conversion &airport(const Airport &a)
    {
        converter_.add_airport(a);
        return *this;
    }
    /* The runway file, after the run. */
    std::string lines()
    {
        std::string error;
        converter_.finish(true);
        EXPECT_TRUE(converter_.commit(&error)) << error;
        return dir_.read("Prwydata.txt");
    }
    std::string messages()
    {
        std::string text(4096, '\0');
        rewind(messages_);
        text.resize(fread(&text[0], 1, text.size(), messages_));
        return text;
    }
    const ConvertStats &stats() const { return converter_.stats(); }
    const LocalizerJoiner &joiner() const { return converter_.joiner(); }

private:
    ScratchFolder dir_;
    FILE *messages_;
    Report report_;
    Converter converter_;
    long localizer_line_ = 0;
};

/* An airport with runways given as "16L/34R" pairs, headed as named. */
Airport airport(const char *ident, std::initializer_list<const char *> runways)
{
    Airport a;
    a.ident = ident;
    a.name = std::string(ident) + " Field";
    a.source = SourceLine{"apt.dat", 1};
    for (const char *pair : runways) {
        const char *slash = strchr(pair, '/');
        for (std::string d : {std::string(pair, slash), std::string(slash + 1)}) {
            RunwayEnd end;
            end.designator = d;
            end.heading = atoi(d.c_str()) * 10.0;
            end.length_ft = 8000;
            a.ends.push_back(end);
        }
    }
    return a;
}

TEST(LocalizerJoin, AnIlsBeatsALocalizerAloneWhateverItsCourse)
{
    Conversion c;
    c.localizer("KAAA", "16", "ILOC", 160, false, 10990).localizer("KAAA", "16", "IILS", 175);
    EXPECT_EQ(c.airport(airport("KAAA", {"16/34"})).lines(),
              "KAAA KAAA_FIELD 16_IILS_8000_110.30_175 34_-_8000_0_340\n");
    EXPECT_NE(c.messages().find("ILOC (KAAA 16) not written: IILS serves that runway end"),
              std::string::npos);
}

TEST(LocalizerJoin, AmongEqualsTheNearestCourseThenTheFirstRead)
{
    Conversion c;
    c.localizer("KAAA", "16", "IFAR", 150).localizer("KAAA", "16", "INEAR", 158);
    c.localizer("KAAA", "34", "IONE", 345).localizer("KAAA", "34", "ITWO", 335);
    EXPECT_EQ(c.airport(airport("KAAA", {"16/34"})).lines(),
              "KAAA KAAA_FIELD 16_INEAR_8000_110.30_158 34_IONE_8000_110.30_345\n");
}

TEST(LocalizerJoin, BothEndsMayShareOneIdentifier)
{
    Conversion c;
    c.localizer("KAAA", "07", "IFRA", 70).localizer("KAAA", "25", "IFRA", 250);
    c.localizer("KAAA", "07", "IFRA", 70);                   /* read twice: counts once */
    EXPECT_EQ(c.airport(airport("KAAA", {"07/25"})).lines(),
              "KAAA KAAA_FIELD 07_IFRA_8000_110.30_070 25_IFRA_8000_110.30_250\n");
    EXPECT_EQ(c.joiner().duplicates(), 1);
}

TEST(LocalizerJoin, DesignatorsMatchWithoutLeadingZerosButNeverByGuess)
{
    Conversion c;
    c.localizer("KAAA", "4L", "IFOUR", 40).localizer("KAAA", "33L", "IDRIFT", 330);
    EXPECT_EQ(c.airport(airport("KAAA", {"04L/22R", "32L/14R"})).lines(),
              "KAAA KAAA_FIELD 04L_IFOUR_8000_110.30_040 22R_-_8000_0_220 32L_-_8000_0_320 "
              "14R_-_8000_0_140\n");
    EXPECT_NE(c.messages().find("nav.dat:2: localizer IDRIFT (KAAA 33L) serves no runway end of "
                                "KAAA by place or designator (it has: 04L 22R 32L 14R)"),
              std::string::npos)
        << c.messages();
}

TEST(LocalizerJoin, UnjoinedLocalizersAreReportedByWhy)
{
    Conversion c;
    c.localizer("KCLS", "09", "ICLS", 90).localizer("KNON", "09", "INON", 90);
    Airport closed = airport("KCLS", {"09/27"});
    closed.closed = true;
    c.airport(closed).lines();
    EXPECT_EQ(c.messages().find("ICLS"), std::string::npos) << c.messages();
    EXPECT_NE(c.messages().find("localizer INON (KNON 09): no airport KNON"), std::string::npos);
}

TEST(LocalizerJoin, AnAirportIsFoundByItsIcaoCodeToo)
{
    Conversion c;
    c.localizer("EDFE", "26", "IEGE", 260);
    Airport a = airport("X1AB", {"08/26"});
    a.icao = "EDFE";
    EXPECT_EQ(c.airport(a).lines(),
              "EDFE X1AB_FIELD 08_-_8000_0_080 26_IEGE_8000_110.30_260\n");
}

TEST(AirportChoice, EveryIdentifierThatFitsTheCodeIsKept)
{
    Conversion c;
    Airport by_icao = airport("S50", {"16/34"});
    by_icao.icao = "ksbo";                                    /* written in upper case */
    Airport faa = airport("0S9", {"16/34"});
    Airport local = airport("US-0001", {"18/36"});
    Airport too_long = airport("ABCDEFGHIJKLMNOP", {"18/36"}); /* 16 > the code's 15 */
    Airport two_words = airport("AB CD", {"18/36"});
    Airport no_runway = airport("KNOR", {});
    Airport heliport = airport("EHHE", {});
    heliport.kind = AirportKind::heliport;
    Airport first = airport("KAAA", {"01/19"});
    Airport again = airport("KAAA", {"02/20"});
    for (const Airport *a : {&by_icao, &faa, &local, &too_long, &two_words, &no_runway,
                             &heliport, &first, &again})
        c.airport(*a);
    /* Written sorted by code. */
    EXPECT_EQ(c.lines(), "0S9 0S9_FIELD 16_-_8000_0_160 34_-_8000_0_340\n"
                         "KAAA KAAA_FIELD 01_-_8000_0_010 19_-_8000_0_190\n"
                         "KSBO S50_FIELD 16_-_8000_0_160 34_-_8000_0_340\n"
                         "US-0001 US-0001_FIELD 18_-_8000_0_180 36_-_8000_0_360\n");
    EXPECT_EQ(c.stats().skipped_no_code, 2);
    EXPECT_EQ(c.stats().skipped_no_runway, 1);
    EXPECT_EQ(c.stats().skipped_heliport, 1);
    EXPECT_EQ(c.stats().skipped_duplicate, 1);
}

TEST(AirportChoice, IcaoOnlyKeepsFourLetterCodesAndHeliportsComeWhenAsked)
{
    Filters f;
    f.icao_only = true;
    f.heliports = true;
    Conversion c(f);
    Airport by_icao = airport("S50", {"16/34"});
    by_icao.icao = "KSBO";
    Airport heliport = airport("EHHE", {});
    heliport.kind = AirportKind::heliport;
    c.airport(by_icao).airport(airport("0S9", {"16/34"})).airport(airport("K0S9", {"16/34"}));
    c.airport(heliport);
    EXPECT_EQ(c.lines(), "EHHE EHHE_FIELD\n"
                         "KSBO S50_FIELD 16_-_8000_0_160 34_-_8000_0_340\n");
    EXPECT_EQ(c.stats().skipped_no_code, 2);
}

TEST(AirportChoice, MoreThanTwentyEndsKeepTheLandingSystemsFirst)
{
    Conversion c;
    c.localizer("KBIG", "36", "ILAST", 360);
    Airport a = airport("KBIG", {"01/19", "02/20", "03/21", "04/22", "05/23", "06/24", "07/25",
                                 "08/26", "09/27", "10/28", "18/36"});
    std::string line = c.airport(a).lines();
    EXPECT_EQ(line.compare(0, 40, "KBIG KBIG_FIELD 36_ILAST_8000_110.30_360"), 0) << line;
    EXPECT_NE(line.find(" 10_-_8000_0_100"), std::string::npos);   /* the 19th end */
    EXPECT_EQ(line.find(" 28_-_8000_0_280"), std::string::npos);   /* the 20th and 21st: out */
    EXPECT_EQ(line.find(" 18_-_8000_0_180"), std::string::npos);
    EXPECT_EQ(c.stats().ends_left_out, 2);
}

TEST(Filters, PrefixCountryBoxAndHardRunways)
{
    Filters f;
    f.icao_prefixes = {"ED", "LS"};
    f.countries = {"DE", "CH"};
    f.has_box = true;
    f.south = 45;
    f.north = 55;
    f.west = 5;
    f.east = 16;
    f.hard_only = true;
    Conversion c(f);
    Airport good = airport("EDDF", {"07/25"});
    good.country = "de";
    good.has_position = true;
    good.latitude = 50;
    good.longitude = 8.5;
    good.has_hard_runway = true;
    Airport grass = good, elsewhere = good, foreign = good, outside = good;
    grass.ident = "EDFE";
    grass.has_hard_runway = false;
    elsewhere.ident = "KSEA";
    foreign.ident = "EDXX";
    foreign.country = "AT";
    outside.ident = "EDYY";
    outside.longitude = 20;
    c.airport(good).airport(grass).airport(elsewhere).airport(foreign).airport(outside);
    /* True headings 070 and 250 less Frankfurt's 3.6 degrees east. */
    EXPECT_EQ(c.lines(), "EDDF EDDF_FIELD 07_-_8000_0_066 25_-_8000_0_246\n");
    EXPECT_EQ(c.stats().skipped_filtered, 4);
}

TEST(Filters, ABoxMayCrossTheAntimeridian)
{
    Filters f;
    f.has_box = true;
    f.south = -50;
    f.north = -10;
    f.west = 170;
    f.east = -170;
    EXPECT_TRUE(f.in_box(-40, 175));
    EXPECT_TRUE(f.in_box(-40, -175));
    EXPECT_FALSE(f.in_box(-40, 0));
    EXPECT_FALSE(f.in_box(0, 175));
}

}  // namespace

namespace {

/* An end with no heading and no place takes its designator (magnetic
 * already), north as 360, never 000; with nothing at all it is left out. */
TEST(Courses, EndsWithoutHeadingTakeTheirDesignator)
{
    Conversion c;
    Airport a = airport("KAAA", {"18/36"});
    for (RunwayEnd &end : a.ends)
        end.heading = -1;
    a.has_position = true;                   /* a place, but no heading to turn */
    a.latitude = 61.2;
    a.longitude = -149.9;                    /* 14 degrees east: not applied */
    RunwayEnd water, nothing;
    water.designator = "N";
    nothing.designator = "XX";
    a.ends.push_back(water);
    a.ends.push_back(nothing);
    EXPECT_EQ(c.airport(a).lines(), "KAAA KAAA_FIELD 18_-_8000_0_180 36_-_8000_0_360 N_-_-_0_360\n");
    EXPECT_EQ(c.stats().ends_without_course, 1);
}

/* A runway between two thresholds, each end headed at the other. */
void add_placed(Airport &a, const char *low, double lat1, double lon1, const char *high,
                double lat2, double lon2)
{
    const double lat[2] = {lat1, lat2}, lon[2] = {lon1, lon2};
    for (int e = 0; e < 2; e++) {
        RunwayEnd end;
        end.designator = e == 0 ? low : high;
        end.has_position = end.has_far_end = true;
        end.latitude = lat[e];
        end.longitude = lon[e];
        end.far_latitude = lat[1 - e];
        end.far_longitude = lon[1 - e];
        end.heading = bearing_degrees(lat[e], lon[e], lat[1 - e], lon[1 - e]);
        end.length_ft = 3825;
        a.ends.push_back(end);
    }
}

/* Walgett's 18 lies at the north threshold in the source: both ends are
 * turned round before the join, so the ILS named to 18, whose antenna lies
 * beyond the south threshold, lands on it.  A T runway is a true course
 * and is left as it is. */
TEST(SwappedEnds, AreTurnedRoundBeforeTheJoin)
{
    Conversion c;
    Localizer l;
    l.airport = "YSWP";
    l.runway = "18";
    l.ident = "ISWP";
    l.bearing = 190;
    l.frequency = 10990;
    l.with_glide_slope = true;
    l.latitude = -30.04;
    l.longitude = 149.1238;
    c.localizer(l);
    Airport a = airport("YSWP", {});
    a.has_position = true;
    a.latitude = -30.03;
    a.longitude = 149.125;
    add_placed(a, "18", -30.03687067, 149.12415937, "36", -30.02655765, 149.12634568);
    add_placed(a, "13T", -30.03, 149.13, "31T", -30.02, 149.12);     /* 315 and 135 true */
    const std::string line = c.airport(a).lines();
    EXPECT_EQ(line.find("YSWP YSWP_FIELD 18_ISWP_3825_109.90_179 36_-_3825_0_360 "), 0u) << line;
    /* Whether true or magnetic, the T runway's courses keep their sense. */
    EXPECT_NE(line.find(" 13T_-_3825_0_3"), std::string::npos) << line;
    EXPECT_NE(line.find(" 31T_-_3825_0_1"), std::string::npos) << line;
    EXPECT_EQ(c.stats().ends_swapped, 2);
    EXPECT_EQ(c.joiner().joined_by_place(), 0);
    EXPECT_NE(c.messages().find("YSWP runway 18: its course 360 points away from its "
                                "designator: its ends are taken as swapped in the source: "
                                "turned round to 180"),
              std::string::npos)
        << c.messages();
}

/* The course compared is the magnetic one, as written: at Kangerlussuaq
 * (declination 25.6 degrees west) a 09 headed 340 true is 006 magnetic, 84
 * degrees from its designator, and stays. */
TEST(SwappedEnds, AreJudgedOnTheMagneticCourse)
{
    Conversion c;
    Airport a = airport("BGXX", {});
    add_placed(a, "09", 67.0, -50.70, "27", 67.00845, -50.70787);
    EXPECT_EQ(c.airport(a).lines(), "BGXX BGXX_FIELD 09_-_3825_0_006 27_-_3825_0_186\n");
    EXPECT_EQ(c.stats().ends_swapped, 0);
}

TEST(SwappedEnds, OnlyNumberedDesignatorsHaveACourseToCompare)
{
    EXPECT_EQ(numbered_designator_course("18"), 180);
    EXPECT_EQ(numbered_designator_course("8"), 80);
    EXPECT_EQ(numbered_designator_course("05l"), 50);
    EXPECT_EQ(numbered_designator_course("36C"), 360);
    for (const char *none : {"13T", "N", "NE", "37", "00", "123", "05LL", "", "H1"})
        EXPECT_LT(numbered_designator_course(none), 0) << none;
}

}  // namespace
