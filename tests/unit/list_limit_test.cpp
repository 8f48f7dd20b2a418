/* Lists that fill up: Windows 9x's lists hold at most 32,767 entries and
 * refuse the rest.  A search keeps what the list took, in the list's order,
 * offers it nothing more, and still reads its file to the end. */
#include <string>
#include <vector>

#include "selection/list_order.h"
#include "test_support.h"

namespace {

/* A list that takes room entries, then refuses every one until emptied. */
class RefusingList : public ArrayList {
public:
    RefusingList(bool sorted, size_t room) : ArrayList(sorted), room_(room) {}
    bool add(const char *entry) override
    {
        offered++;
        if (entries.size() >= room_)
            return false;
        return ArrayList::add(entry);
    }
    void clear() override
    {
        ArrayList::clear();
        offered = 0;
    }
    int offered = 0;

private:
    size_t room_;
};

std::string short_entry(const char *code, const char *name)
{
    char entry[entry_room];
    format_short_entry(entry, sizeof entry, code, name);
    return entry;
}

/* Airports out of order, a one-letter code whose runways come last. */
const char runway_file[] =
    "KSEA SEATTLE 16L_ISNQ_11901_110.30_163\r\n"
    "EGLL HEATHROW 09L_ILL_12802_110.30_095\r\n"
    "KBFI BOEING\r\n"
    "KPAE PAINE\r\n"
    "KAAA FIRST\r\n"
    "EGKK GATWICK\r\n"
    "KZZZ LAST\r\n"
    "K ONE_LETTER 09_-_1000_0_090\r\n";

const char navaid_file[] =
    "SEA SEATTLE VOR 116.80\r\n"
    "BFI BOEING VOR 112.00\r\n"
    "PAE PAINE VOR 110.60\r\n"
    "SEZ SEDONA NDB 375\r\n";

class ListLimitTest : public ScratchFolder {
protected:
    void SetUp() override
    {
        ScratchFolder::SetUp();
        write_file(RUNWAY_FILE_NAME, runway_file);
        write_file(NAVAID_FILE_NAME, navaid_file);
    }
    ArrayList results;
};

TEST_F(ListLimitTest, TheEmptyBoxKeepsWhatFitsInOrder)
{
    /* The first three airports of the file, in the list's order; after the
     * refusal nothing more is offered, and the next lookup starts afresh. */
    RefusingList pick(true, 3);
    icao_lookup("", true, pick, results);
    EXPECT_EQ(pick.entries, (std::vector<std::string>{short_entry("EGLL", "HEATHROW"),
                                                      short_entry("KBFI", "BOEING"),
                                                      short_entry("KSEA", "SEATTLE")}));
    EXPECT_EQ(pick.offered, 4);
    EXPECT_EQ(pick.selection, 0);
    EXPECT_EQ(results.count(), 0);
    icao_lookup("E", true, pick, results);
    EXPECT_EQ(pick.count(), 2);

    /* The navaids' results list, in file order. */
    RefusingList navaids(false, 2);
    icao_lookup("", false, pick, navaids);
    EXPECT_EQ(navaids.entries.size(), 2u);
    EXPECT_EQ(navaids.entries[1].substr(0, 3), "BFI");
    EXPECT_EQ(navaids.offered, 3);
}

TEST_F(ListLimitTest, AOneLetterPrefixStillListsTheExactMatchAfterIt)
{
    /* K's entries fill the list early; the file is read on, and the airport
     * whose code is K, last in the file, still has its runways listed. */
    RefusingList pick(true, 2);
    icao_lookup("K", true, pick, results);
    EXPECT_EQ(pick.entries, (std::vector<std::string>{short_entry("KBFI", "BOEING"),
                                                      short_entry("KSEA", "SEATTLE")}));
    EXPECT_EQ(pick.offered, 3);
    EXPECT_EQ(results.entries, std::vector<std::string>{"09   -    0       090     1000"});
    EXPECT_EQ(results.selection, 0);

    /* FIND adds to a full list nothing, and its navaid results stop the same way. */
    name_search("", true, pick, results);
    EXPECT_EQ(pick.count(), 2);
    RefusingList navaids(false, 1);
    name_search("S", false, pick, navaids);
    EXPECT_EQ(navaids.entries.size(), 1u);
    EXPECT_EQ(navaids.offered, 2);
}

/* The held fill of the quick pick, as the dialog ends it: the entries go in,
 * in list order, until the list refuses one; the list then holds the first
 * entries of that order and nothing out of it. */
class HeldInto : public HeldEntryList {
public:
    explicit HeldInto(ListControl &list) : list_(list) {}
    bool add_entry(const char *entry) override { return list_.add(entry); }

private:
    ListControl &list_;
};

TEST(ListLimit, TheOrderedFillKeepsTheFirstEntriesOfTheOrder)
{
    const std::vector<std::string> arrivals = {"  KSEA S", "  EGLL H", "  KBFI B", "  ZZZZ Z",
                                               "  AAAA A", "  KPAE P", "  EGKK G"};
    for (size_t room : {0, 3, 7, 10}) {
        HeldEntries held;
        held.start();
        for (const std::string &e : arrivals)
            ASSERT_TRUE(held.add(e.c_str()));
        held.sort();
        RefusingList list(false, room);
        HeldInto into(list);
        const size_t took = add_held_entries(held, into);
        const size_t fits = room < arrivals.size() ? room : arrivals.size();
        EXPECT_EQ(took, fits) << room;
        ASSERT_EQ(list.entries.size(), fits) << room;
        for (size_t i = 0; i < fits; i++)
            EXPECT_EQ(list.entries[i], held.entry(i)) << room;
        EXPECT_EQ(list.offered, (int)(fits < arrivals.size() ? fits + 1 : fits)) << room;
    }
}

}  // namespace
