#include "selection/searches.h"

#include <cstring>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

const char runway_file[] =
    "KSEA SEATTLE_TACOMA 16L_ISNQ_11901_110.30_163 34R_-_11901_0_343 16C_ISZI_9426_111.70_163\r\n"
    "KSEZ SEDONA 03_-_5132_0_030\r\n"
    "KSEE GILLESPIE 09L_-_5342_0_090\r\n"
    "EGLL LONDON_HEATHROW 09L_ILL_12802_110.30_095\r\n"
    "KBFI BOEING_FIELD\r\n"
    "kjfk kennedy 04L_IHIQ_12079_109.50_044\r\n"
    "KSEA SEATTLE_AGAIN 01_-_1000_0_010\r\n";

const char navaid_file[] =
    "SEA SEATTLE VOR 116.80\r\n"
    "SEZ SEDONA_NDB NDB 375\r\n"
    "sea lower_case vor 113.90\r\n"
    "BFI BOEING_FIELD VOR 112.00 EXTRA\r\n";

std::string short_entry(const char *code, const char *name)
{
    char entry[entry_room];
    format_short_entry(entry, sizeof entry, code, name);
    return entry;
}

std::string long_entry(const char *code, const char *name, const char *type, const char *freq)
{
    char entry[entry_room];
    format_long_entry(entry, sizeof entry, code, name, type, freq);
    return entry;
}

std::string printf_form(const EntryFormat &format)
{
    char out[64];
    entry_printf_format(format, out, sizeof out);
    return out;
}

/* The tables are the one definition of the entry formats; their printf forms
 * are the dialog's documented formats, and the fast path writes what
 * snprintf writes with them, also for texts wider than their columns. */
TEST(EntryFormats, TablesMatchTheirPrintfForms)
{
    EXPECT_EQ(printf_form(short_entry_format), "%6s %s");
    EXPECT_EQ(printf_form(long_entry_format), "%-10s %-32s %-6s %-6s");
    EXPECT_EQ(printf_form(runway_line_format), "%-4s %-4s %-7s %-4s %7s");

    const std::string wide(40, 'W');
    char got[entry_room], want[entry_room];
    for (const char *text : {"", "A", "SEA", wide.c_str()}) {
        format_short_entry(got, sizeof got, text, "NAME");
        snprintf(want, sizeof want, printf_form(short_entry_format).c_str(), text, "NAME");
        EXPECT_STREQ(got, want);
        format_long_entry(got, sizeof got, "SEA", text, "VOR", text);
        snprintf(want, sizeof want, printf_form(long_entry_format).c_str(), "SEA", text, "VOR", text);
        EXPECT_STREQ(got, want);
        RunwayDescriptor runway = {};
        strcpy(runway.designator, "16L");
        strcpy(runway.identifier, "ISNQ");
        snprintf(runway.length, sizeof runway.length, "%s", text);
        strcpy(runway.frequency, "110.30");
        strcpy(runway.course, "163");
        format_runway_line(got, sizeof got, &runway);
        snprintf(want, sizeof want, printf_form(runway_line_format).c_str(), "16L", "ISNQ", "110.30",
                 "163", text[0] ? runway.length : "-");
        EXPECT_STREQ(got, want);
    }
    char small[4];
    entry_printf_format(long_entry_format, small, sizeof small);
    EXPECT_STREQ(small, "%-1");
}

class SearchTest : public ScratchFolder {
protected:
    void SetUp() override
    {
        ScratchFolder::SetUp();
        write_file(RUNWAY_FILE_NAME, runway_file);
        write_file(NAVAID_FILE_NAME, navaid_file);
    }
    ArrayList pick{true};
    ArrayList results;
};

TEST_F(SearchTest, PrefixAndExactInAirportMode)
{
    icao_lookup("KS", true, pick, results);
    EXPECT_EQ(pick.entries, (std::vector<std::string>{
                                short_entry("KSEA", "SEATTLE_AGAIN"), short_entry("KSEA", "SEATTLE_TACOMA"),
                                short_entry("KSEE", "GILLESPIE"), short_entry("KSEZ", "SEDONA")}));
    EXPECT_EQ(pick.selection, 0);
    EXPECT_TRUE(results.entries.empty());

    /* Two records with the code: both offered, the later one's runways listed. */
    icao_lookup("KSEA", true, pick, results);
    EXPECT_EQ(pick.count(), 2);
    EXPECT_EQ(results.entries, std::vector<std::string>{"01   -    0       010     1000"});
    EXPECT_EQ(results.selection, 0);
}

TEST_F(SearchTest, LetterCaseRules)
{
    /* A lower-case code: no prefix match, but the exact test ignores case. */
    icao_lookup("KJFK", true, pick, results);
    EXPECT_EQ(pick.count(), 0);
    EXPECT_EQ(results.count(), 1);
    icao_lookup("kj", true, pick, results);
    EXPECT_EQ(pick.count(), 1);
    /* Navaids are listed once: by prefix, or else by the exact test. */
    icao_lookup("SEA", false, pick, results);
    EXPECT_EQ(results.entries, (std::vector<std::string>{
                                   long_entry("SEA", "SEATTLE", "VOR", "116.80"),
                                   long_entry("sea", "lower_case", "vor", "113.90")}));
    EXPECT_EQ(pick.count(), 0);
}

TEST_F(SearchTest, TextThatMatchesNothing)
{
    for (const char *typed : {"KSEA ", " KSEA", "KSEAX", "K S"}) {
        icao_lookup(typed, true, pick, results);
        EXPECT_EQ(pick.count(), 0) << typed;
        EXPECT_EQ(results.count(), 0) << typed;
    }
    /* Longer than any code can be: no match even when a code would be its prefix. */
    write_file(NAVAID_FILE_NAME, std::string(39, 'N') + " LONG VOR 110.00\n");
    icao_lookup(std::string(39, 'N').c_str(), false, pick, results);
    EXPECT_EQ(results.count(), 1);
    icao_lookup(std::string(40, 'N').c_str(), false, pick, results);
    EXPECT_EQ(results.count(), 0);
}

TEST_F(SearchTest, EmptyBoxListsEverything)
{
    icao_lookup("", true, pick, results);
    EXPECT_EQ(pick.count(), 7);
    EXPECT_EQ(results.count(), 0);
    icao_lookup("", false, pick, results);
    EXPECT_EQ(results.count(), 4);
    EXPECT_EQ(results.entries[3], long_entry("BFI", "BOEING_FIELD", "VOR", "112.00"));
}

TEST_F(SearchTest, ExactMatchWithoutRunways)
{
    icao_lookup("KBFI", true, pick, results);
    EXPECT_EQ(pick.count(), 1);
    EXPECT_EQ(results.count(), 0);
    EXPECT_EQ(results.selection, -1);
}

TEST_F(SearchTest, MissingFilesGiveTheirErrorLine)
{
    unlink(RUNWAY_FILE_NAME);
    unlink(NAVAID_FILE_NAME);
    pick.add("OLD");
    icao_lookup("K", true, pick, results);
    EXPECT_EQ(pick.count(), 0);
    EXPECT_EQ(results.entries, std::vector<std::string>{"Unable to Open Runway Data File 'Prwydata.txt' "});
    /* FIND appends its error line without emptying. */
    name_search("SEA", true, pick, results);
    EXPECT_EQ(results.count(), 2);
    icao_lookup("S", false, pick, results);
    EXPECT_EQ(results.entries, std::vector<std::string>{"Unable to Open Navaid Data File 'Pnavdata.txt' "});
}

TEST_F(SearchTest, NameSearch)
{
    results.add("stale");
    name_search("SEATTLE", true, pick, results);
    EXPECT_EQ(pick.count(), 2);
    EXPECT_EQ(results.count(), 0);
    /* A second search adds to the quick-pick list; only the first word counts. */
    name_search("  LONDON HEATHROW", true, pick, results);
    EXPECT_EQ(pick.count(), 3);
    EXPECT_EQ(pick.entries[0], short_entry("EGLL", "LONDON_HEATHROW"));
    EXPECT_EQ(pick.selection, 0);
    /* A stored lower-case code is found by the same code in capitals; a
     * lower-case name is not found by capitals. */
    pick.clear();
    name_search("KJFK", true, pick, results);
    EXPECT_EQ(pick.count(), 1);
    pick.clear();
    name_search("KENNEDY", true, pick, results);
    EXPECT_EQ(pick.count(), 0);
    name_search("", true, pick, results);
    EXPECT_EQ(pick.count(), 7);
    /* Navaid mode lists long entries in the results. */
    name_search("SED", false, pick, results);
    EXPECT_EQ(results.entries, std::vector<std::string>{long_entry("SEZ", "SEDONA_NDB", "NDB", "375")});
}

TEST_F(SearchTest, QuickPickTakesTheCode)
{
    char code[pick_word_room + 1];
    EXPECT_FALSE(quick_pick_code(pick, code, pick_word_room));
    icao_lookup("KS", true, pick, results);
    pick.select(2);
    ASSERT_TRUE(quick_pick_code(pick, code, pick_word_room));
    EXPECT_STREQ(code, "KSEE");
    pick.clear();
    pick.add("      ");
    pick.select(0);
    EXPECT_FALSE(quick_pick_code(pick, code, pick_word_room));
}

TEST_F(SearchTest, BadFilesGiveAResult)
{
    /* Binary noise with NUL bytes, an empty file, an endless line. */
    std::string noise;
    unsigned seed = 12345;
    for (int i = 0; i < 200000; i++) {
        seed = seed * 1103515245 + 12345;
        noise += (char)(seed >> 16);
    }
    write_file(RUNWAY_FILE_NAME, noise);
    icao_lookup("", true, pick, results);
    name_search("", true, pick, results);
    for (const std::string &e : pick.entries)
        EXPECT_LT(e.size(), entry_room);
    write_file(RUNWAY_FILE_NAME, "");
    icao_lookup("", true, pick, results);
    EXPECT_EQ(pick.count(), 0);
    write_file(NAVAID_FILE_NAME, std::string(3000000, 'X'));
    icao_lookup("X", false, pick, results);
    EXPECT_GT(results.count(), 3000);
}

TEST_F(SearchTest, LargeFileIsReadThrough)
{
    std::string big;
    for (int i = 0; i < 600000; i++)
        big += "ZZ" + std::to_string(i) + " NAME_OF_THE_AIRPORT 09_-_5000_0_090 27_-_5000_0_270\n";
    big += "KLST LAST 01_-_1_0_010\n";
    write_file(RUNWAY_FILE_NAME, big);
    icao_lookup("KLST", true, pick, results);
    EXPECT_EQ(pick.count(), 1);
    EXPECT_EQ(results.count(), 1);
}

} // namespace
