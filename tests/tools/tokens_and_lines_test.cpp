#include <gtest/gtest.h>

#include "common/fields.h"
#include "common/line_reader.h"
#include "test_files.h"
#include "common/geometry.h"
#include "common/tokens.h"

#include <zlib.h>

namespace {

/* ---- Output tokens ---- */

TEST(NameToken, TransliteratesUtf8AndLatin1Alike)
{
    EXPECT_EQ(name_token("Z\xc3\xbcrich Kloten", 39), "ZURICH_KLOTEN");       /* UTF-8 */
    EXPECT_EQ(name_token("Z\xfcrich Kloten", 39), "ZURICH_KLOTEN");           /* Latin-1 */
    EXPECT_EQ(name_token("\xc3\x85lesund", 39), "ALESUND");
    EXPECT_EQ(name_token("Stra\xc3\x9f" "e", 39), "STRASSE");
    EXPECT_EQ(name_token("\xc5\x81\xc3\xb3" "d\xc5\xba", 39), "LODZ");      /* Lodz, Polish marks */
    EXPECT_EQ(name_token("Bra\xc8\x99ov", 39), "BRASOV");                   /* comma below */
}

TEST(NameToken, MakesOneUpperCaseTokenOfWords)
{
    EXPECT_EQ(name_token("Seattle-Tacoma Intl", 39), "SEATTLE-TACOMA_INTL");
    EXPECT_EQ(name_token("  Frankfurt  (Main), \"Rhein\" ", 39), "FRANKFURT_MAIN_RHEIN");
    EXPECT_EQ(name_token("Martha's Vineyard\tAirport", 39), "MARTHA'S_VINEYARD_AIRPORT");
    /* Scripts without a transliteration separate words and vanish. */
    EXPECT_EQ(name_token("Tokyo \xe6\x9d\xb1\xe4\xba\xac Haneda", 39), "TOKYO_HANEDA");
    EXPECT_EQ(name_token("\xe6\x9d\xb1\xe4\xba\xac", 39), "-");
    EXPECT_EQ(name_token("", 39), "-");
}

TEST(NameToken, CutsToItsRoomWithoutATrailingUnderscore)
{
    EXPECT_EQ(name_token("Aeropuerto Internacional de la Ciudad de Mexico", 39),
              "AEROPUERTO_INTERNACIONAL_DE_LA_CIUDAD_D");
    EXPECT_EQ(name_token("ABCD EFGH", 5), "ABCD");
    EXPECT_EQ(name_token("\xc3\x86\xc3\x86\xc3\x86", 5), "AEAEA");
}

TEST(NameToken, BrokenUtf8NeverOverrunsTheText)
{
    /* A cut sequence reads as Latin-1: a-circumflex, then a control byte. */
    EXPECT_EQ(name_token("AB\xe2\x82", 39), "ABA");
    EXPECT_EQ(name_token("\xf0", 39), "D");                  /* eth */
    EXPECT_EQ(name_token("X\xc3", 39), "XA");
}

TEST(IdentToken, KeepsLettersAndDigitsOnly)
{
    EXPECT_EQ(ident_token("16l", 8), "16L");
    EXPECT_EQ(ident_token(" 09/27 ", 8), "0927");
    EXPECT_EQ(ident_token("ABCDEFGHIJ", 8), "ABCDEFGH");
    EXPECT_EQ(ident_token("_-_", 8), "-");
}

TEST(Codes, IcaoStyleIsFourLetters)
{
    EXPECT_TRUE(is_icao_style("KSEA"));
    EXPECT_TRUE(is_icao_style("ksea"));
    EXPECT_FALSE(is_icao_style("S50"));
    EXPECT_FALSE(is_icao_style("K0S9"));
    EXPECT_FALSE(is_icao_style("EDDFX"));
    EXPECT_FALSE(is_icao_style(""));
}

TEST(Numbers, FrequencyIsThreeDigitsAPointAndTwo)
{
    EXPECT_EQ(frequency_text(11030), "110.30");
    EXPECT_EQ(frequency_text(10800), "108.00");
    EXPECT_EQ(frequency_text(11795), "117.95");
    EXPECT_EQ(frequency_text(9999), "");
    EXPECT_EQ(frequency_text(100000), "");
}

TEST(Numbers, CourseRoundsToWholeDegreesNorthIs360)
{
    EXPECT_EQ(course_text(180.25), "180");
    EXPECT_EQ(course_text(179.5), "180");
    EXPECT_EQ(course_text(5.0), "005");
    EXPECT_EQ(course_text(0.4), "360");
    EXPECT_EQ(course_text(359.6), "360");
    EXPECT_EQ(course_text(-1), "000");
}

TEST(Geometry, DistancesAndBearingsOnTheSphere)
{
    EXPECT_NEAR(distance_metres(0, 0, 1, 0), 111195, 5);
    EXPECT_NEAR(bearing_degrees(0, 0, 0, 1), 90, 1e-9);
    EXPECT_NEAR(bearing_degrees(0, 0, -1, 0), 180, 1e-9);
    EXPECT_NEAR(bearing_degrees(0, 0, 0, -1), 270, 1e-9);
    EXPECT_NEAR(bearing_difference(350, 10), 20, 1e-9);
    EXPECT_NEAR(bearing_difference(10, 190), 180, 1e-9);
    EXPECT_EQ(metres_to_feet(3048), 10000);
}

TEST(Designators, HeadingsAndJoinKeys)
{
    EXPECT_EQ(designator_heading("16L"), 160);
    EXPECT_EQ(designator_heading("04"), 40);
    EXPECT_EQ(designator_heading("NE"), 45);
    EXPECT_EQ(designator_heading("H1"), -1);
    EXPECT_EQ(designator_heading("37"), -1);
    EXPECT_EQ(designator_key("04L"), designator_key("4l"));
    EXPECT_NE(designator_key("04L"), designator_key("04R"));
    EXPECT_EQ(designator_key("0"), "0");
}

TEST(NavaidNames, TypeWordAtTheEndIsDropped)
{
    EXPECT_EQ(strip_type_word("SEATTLE VORTAC"), "SEATTLE");
    EXPECT_EQ(strip_type_word("PAINE VOR-DME"), "PAINE");
    EXPECT_EQ(strip_type_word("Nolla  ndb"), "Nolla");
    EXPECT_EQ(strip_type_word("VOR"), "VOR");                 /* never the whole name */
    EXPECT_EQ(strip_type_word("NDBVILLE"), "NDBVILLE");
}

/* ---- The line reader ---- */

TEST(LineReader, EndsLinesAtLfCrLfAndCrAlone)
{
    ScratchFolder dir;
    std::string path = dir.write("a.dat", "one\ntwo\r\nthree\rfour\n\nlast");
    LineReader in;
    ASSERT_TRUE(in.open(path));
    std::string_view line;
    const char *expected[] = {"one", "two", "three", "four", "", "last"};
    for (const char *e : expected) {
        ASSERT_TRUE(in.next(&line)) << e;
        EXPECT_EQ(line, e);
    }
    EXPECT_FALSE(in.next(&line));
    EXPECT_EQ(in.line_number(), 6);
    EXPECT_FALSE(in.failed());
}

TEST(LineReader, CrLfAcrossTheEndOfARead)
{
    ScratchFolder dir;
    /* 261 lines of 1002 bytes, then a line whose CR is the last byte of
     * the reader's first 256 KB block. */
    std::string bytes;
    for (int i = 0; i < 261; i++)
        bytes += std::string(1000, 'a') + "\r\n";
    std::string last(256 * 1024 - 1 - bytes.size(), 'b');
    std::string path = dir.write("a.dat", bytes + last + "\r\nc\n");
    LineReader in;
    ASSERT_TRUE(in.open(path));
    std::string_view line;
    for (int i = 0; i < 261; i++)
        ASSERT_TRUE(in.next(&line));
    ASSERT_TRUE(in.next(&line));
    EXPECT_EQ(line, last);
    ASSERT_TRUE(in.next(&line));
    EXPECT_EQ(line, "c");
    EXPECT_FALSE(in.next(&line));
    EXPECT_EQ(in.line_number(), 263);
}

TEST(LineReader, CutsAnOverlongLineAndSaysSo)
{
    ScratchFolder dir;
    std::string path = dir.write("a.dat", std::string(LineReader::line_room + 10, 'x') + "\nok\n");
    LineReader in;
    ASSERT_TRUE(in.open(path));
    std::string_view line;
    ASSERT_TRUE(in.next(&line));
    EXPECT_EQ(line.size(), LineReader::line_room);
    EXPECT_TRUE(in.line_was_cut());
    ASSERT_TRUE(in.next(&line));
    EXPECT_EQ(line, "ok");
    EXPECT_FALSE(in.line_was_cut());
}

TEST(LineReader, ReadsGzipAndFailsOnACutOne)
{
    ScratchFolder dir;
    std::string text;
    for (int i = 0; i < 2000; i++)
        text += "row " + std::to_string(i * 7919) + "\n";
    gzFile gz = gzopen((dir.path() + "/whole.gz").c_str(), "wb");
    ASSERT_TRUE(gz);
    gzwrite(gz, text.data(), (unsigned)text.size());
    gzclose(gz);
    std::string whole = dir.read("whole.gz");
    dir.write("cut.gz", whole.substr(0, whole.size() / 2));

    LineReader good, cut;
    std::string_view line;
    ASSERT_TRUE(good.open(dir.path() + "/whole.gz"));
    while (good.next(&line)) {
    }
    EXPECT_FALSE(good.failed());
    EXPECT_EQ(good.line_number(), 2000);

    ASSERT_TRUE(cut.open(dir.path() + "/cut.gz"));
    while (cut.next(&line)) {
    }
    EXPECT_TRUE(cut.failed());
    EXPECT_NE(cut.error().find("unexpected end of file"), std::string::npos) << cut.error();
    EXPECT_LT(cut.line_number(), 2000);
}

TEST(Fields, SplitOnBlanksAndTabsAndKeepTheRest)
{
    Fields f("1   433\t1 0 KSEA  Seattle-Tacoma  Intl  ");
    ASSERT_EQ(f.size(), 7u);
    EXPECT_EQ(f[4], "KSEA");
    EXPECT_EQ(f.rest(5), "Seattle-Tacoma  Intl");
    EXPECT_EQ(f.rest(7), "");
    EXPECT_EQ(Fields("  ").size(), 0u);
}

TEST(Fields, NumbersMustBeWholeFields)
{
    double d;
    long l;
    EXPECT_TRUE(parse_double("-122.30777778", &d));
    EXPECT_DOUBLE_EQ(d, -122.30777778);
    EXPECT_FALSE(parse_double("47.4x", &d));
    EXPECT_FALSE(parse_double("", &d));
    EXPECT_FALSE(parse_double("nan", &d));
    EXPECT_TRUE(parse_long("11030", &l));
    EXPECT_FALSE(parse_long("110.30", &l));
    EXPECT_FALSE(parse_long("99999999999999999999999", &l));
}

}  // namespace
