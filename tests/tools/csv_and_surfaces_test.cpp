#include <gtest/gtest.h>

#include <stdio.h>

#include <fstream>
#include <map>
#include <string>

#include "sources/csv_reader.h"
#include "sources/surfaces.h"
#include "test_files.h"

namespace {

/* ---- CSV rows ---- */

CsvRecord one_record(std::initializer_list<const char *> lines)
{
    CsvRecordBuilder b;
    for (const char *line : lines)
        if (b.add_line(line))
            return b.fields();
    return CsvRecord{"(not complete)"};
}

TEST(CsvRows, QuotesCommasDoubledQuotesAndEmptyFields)
{
    EXPECT_EQ(one_record({"a,\"b,c\",\"Sky \"\"Ranch\"\" Field\",,\"\""}),
              (CsvRecord{"a", "b,c", "Sky \"Ranch\" Field", "", ""}));
    EXPECT_EQ(one_record({""}), (CsvRecord{""}));
    EXPECT_EQ(one_record({"x,"}), (CsvRecord{"x", ""}));
}

TEST(CsvRows, AQuotedFieldMayHoldLineEnds)
{
    EXPECT_EQ(one_record({"1,\"first line", "", "third, line\",2"}),
              (CsvRecord{"1", "first line\n\nthird, line", "2"}));
}

TEST(CsvRows, StrayQuotesAreKeptAsTheyAre)
{
    EXPECT_EQ(one_record({"12\" pipe,\"ASP\"-G,x\"y\""}),
              (CsvRecord{"12\" pipe", "ASP-G", "x\"y\""}));
}

TEST(CsvRows, AQuoteThatNeverClosesStopsAtTheRecordsRoom)
{
    CsvRecordBuilder b;
    std::string line(64 * 1024 - 1, 'x');
    EXPECT_FALSE(b.add_line("1,\"open"));
    bool overflowed = false;
    for (int i = 0; i < 40 && !overflowed; i++) {
        EXPECT_FALSE(b.add_line(line));
        overflowed = b.overflowed();
    }
    EXPECT_TRUE(overflowed);
}

/* The reader over a file: columns by name, records with the line they
 * start on, an open quote at the end fatal. */
TEST(CsvFiles, ColumnsByNameAndTheLineEachRecordStartsOn)
{
    ScratchFolder dir;
    std::string path = dir.write("t.csv", "\xEF\xBB\xBF\"b\",\"a\"\r\n1,\"x\r\ny\"\r\n\r\n3,4\r\n");
    FILE *messages = tmpfile();
    Report report(messages);
    ReadOutcome outcome;
    CsvReader csv(report, &outcome);
    const char *const names[] = {"a", "b", "c"};
    const bool required[] = {true, true, false};
    ASSERT_TRUE(csv.open(path, names, required, 3)) << outcome.fatal;
    CsvRecord r;
    ASSERT_TRUE(csv.next(&r));
    EXPECT_EQ(csv.field(r, 0), "x\ny");
    EXPECT_EQ(csv.field(r, 1), "1");
    EXPECT_EQ(csv.field(r, 2), "");
    EXPECT_EQ(csv.here().line, 2);
    ASSERT_TRUE(csv.next(&r));
    EXPECT_EQ(csv.field(r, 0), "4");
    EXPECT_EQ(csv.here().line, 5);
    EXPECT_FALSE(csv.next(&r));
    EXPECT_EQ(outcome.fatal, "");
    fclose(messages);

    std::string cut = dir.write("cut.csv", "a,b\n1,\"never closed\n2,3\n");
    CsvReader broken(report, &outcome);
    ASSERT_TRUE(broken.open(cut, names, required, 2));
    EXPECT_FALSE(broken.next(&r));
    EXPECT_EQ(outcome.fatal, cut + ":2: a quoted field is not closed: is the file cut short?");
}

/* ---- Surfaces ---- */

/* Every spelling of runways.csv, each with the kind it must be read as. */
TEST(Surfaces, EverySpellingOfOurAirportsIsClassified)
{
    std::ifstream in(std::string(PELMORA_TOOL_TESTS_DIR) + "/fixtures/oa_surfaces.tsv");
    std::string line;
    std::map<std::string, long> runways;
    long spellings = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        size_t tab1 = line.find('\t'), tab2 = line.find('\t', tab1 + 1);
        ASSERT_NE(tab2, std::string::npos) << line;
        std::string kind = line.substr(0, tab1), text = line.substr(tab2 + 1);
        EXPECT_EQ(surface_kind_name(surface_kind(text)), kind) << "'" << text << "'";
        runways[kind] += atol(line.substr(tab1 + 1, tab2 - tab1 - 1).c_str());
        spellings++;
    }
    EXPECT_EQ(spellings, 665);
    /* Few runways are left unknown: the empty text, UNK and lone letters. */
    EXPECT_LT(runways["unknown"], 2500);
    EXPECT_GT(runways["hard"], 23000);
}

TEST(Surfaces, PavedByAnySpelling)
{
    for (const char *hard : {"ASP", "asphalt", "ASPH-G", "ASPH/ CONC", "PEM", "PER", "MAC",
                             "Cement", "hard", "Bitumen", "Tarmac", "CONC-TURF", "OLD ASP"})
        EXPECT_EQ(surface_kind(hard), SurfaceKind::hard) << hard;
    for (const char *soft : {"TURF", "Grass", "GRVL-DIRT-F", "TURF/ASP", "Hard Gravel",
                             "Grassed brown clay", "TREATED-E", "Red clay", "Winter snow"})
        EXPECT_EQ(surface_kind(soft), SurfaceKind::soft) << soft;
    for (const char *water : {"WATER", "WATER-E", "Summer water."})
        EXPECT_EQ(surface_kind(water), SurfaceKind::water) << water;
    for (const char *unknown : {"", "UNK", "X", "Demo'd asphalt", "-"})
        EXPECT_EQ(surface_kind(unknown), SurfaceKind::unknown) << unknown;
}

TEST(Surfaces, AptDatCodes)
{
    EXPECT_EQ(surface_kind(1L), SurfaceKind::hard);
    EXPECT_EQ(surface_kind(57L), SurfaceKind::hard);
    EXPECT_EQ(surface_kind(3L), SurfaceKind::soft);
    EXPECT_EQ(surface_kind(13L), SurfaceKind::water);
    EXPECT_EQ(surface_kind(99L), SurfaceKind::unknown);
}

}  // namespace
