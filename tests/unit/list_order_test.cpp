#include "selection/list_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

int sign(int r)
{
    return r < 0 ? -1 : r > 0 ? 1 : 0;
}

/* Pairs and how the window system's sorted list (code page 1252, default
 * locale, case ignored) orders them: -1 when a sorts before b. */
struct Pair {
    const char *a, *b;
    int order;
};

void expect_orders(const std::vector<Pair> &pairs)
{
    for (const Pair &p : pairs) {
        EXPECT_EQ(sign(list_order_compare(p.a, p.b)), p.order) << "[" << p.a << "] [" << p.b << "]";
        EXPECT_EQ(sign(list_order_compare(p.b, p.a)), -p.order) << "[" << p.b << "] [" << p.a << "]";
    }
}

TEST(ListOrder, LettersDigitsAndSymbolsByWeightCaseIgnored)
{
    expect_orders({
        {"AB", "ab", 0},
        {"KSEA", "ksea", 0},
        {"A", "AB", -1},
        {"9", "A", -1},
        {"_B", "0", -1},            /* symbols before digits */
        {" A", "!A", -1},           /* the blank is the lightest */
        {"A B", "AB", -1},
        {"A_B", "AB", -1},
        {"A_B", "A-B", -1},
        {"+", "0", -1},
        {"~", "+", -1},
        {"A^B", "A\x88" "B", 0},    /* circumflex and modifier circumflex */
        {"A^C", "A\x88" "B", 1},
    });
}

TEST(ListOrder, ShortEntriesShorterCodesFirst)
{
    /* Codes stand right-aligned in six characters. */
    expect_orders({
        {"   SEA SEATTLE", "  KSEA SEATTLE_TACOMA", -1},
        {"  KSEA SEATTLE_TACOMA", "  KSEE GILLESPIE", -1},
        {"  KSEA SEATTLE_TACOMA", "  KSEA SEATTLE_AGAIN", 1},
        {"  KSEA X", " KSEA1 X", -1},
    });
}

TEST(ListOrder, HyphensApostrophesAndControlsCountLast)
{
    expect_orders({
        {"A-B", "AC", -1},
        {"A-B", "AA", 1},
        {"A-B", "AB", 1},
        {"-AB", "AB", 1},
        {"AB-", "AB", 1},
        {"A'B", "AB", 1},
        {"A-B", "A'B", 1},
        {"A'", "A-", -1},
        {"-B", "'A", 1},
        {"A-BC", "AB-C", 1},        /* the earlier one sorts later */
        {"A-BC", "ABC-", 1},
        {"A'BC", "AB-C", 1},
        {"A-B-C", "A--BC", -1},
        {"A-B-C", "AB--C", 1},
        {"A-B'C", "A'B-C", 1},
        {"A--B", "A-B", 1},
        {"A-A", "AA-", 1},
        {"A\x96" "C", "AB", 1},     /* en and em dash */
        {"A\x97" "C", "AB", 1},
        {"A\x01" "C", "AB", 1},
        {"A\x01" "A", "AB", -1},
        {"A\x7f" "C", "AB", 1},
        {"A\x01" "B", "A-B", -1},
        {"A\x01" "B", "A'B", -1},
        {"A\x01\x01" "B", "A-B", -1},
        {"A\x01" "BC", "AB\x01" "C", 1},
        {"A\xad" "B", "AB", 0},     /* the soft hyphen counts nowhere */
    });
}

TEST(ListOrder, AccentedLettersAfterTheirPlainLetter)
{
    expect_orders({
        {"A\xe9" "C", "AF", -1},
        {"A\xe9" "B", "AEC", -1},
        {"AE", "A\xe9", -1},
        {"\xc9", "\xe9", 0},
        {"\xe9", "F", -1},
        {"\xff", "\x9f", 0},
        {"N", "\xd1", -1},
        {"\xd1", "O", -1},
    });
}

TEST(ListOrder, IsAConsistentOrder)
{
    /* Every character in pairs and triples: sorting must see one order. */
    std::vector<std::string> texts;
    for (int c = 1; c < 256; c++) {
        texts.push_back(std::string(1, (char)c));
        texts.push_back(std::string("A") + (char)c + "B");
        texts.push_back(std::string(1, (char)c) + "A");
    }
    std::stable_sort(texts.begin(), texts.end(), [](const std::string &a, const std::string &b) {
        return list_order_compare(a.c_str(), b.c_str()) < 0;
    });
    for (size_t i = 0; i < texts.size(); i++)
        for (size_t j = i + 1; j < texts.size(); j++)
            ASSERT_LE(list_order_compare(texts[i].c_str(), texts[j].c_str()), 0)
                << "[" << texts[i] << "] [" << texts[j] << "]";
}

std::vector<std::string> held_texts(const HeldEntries &held)
{
    std::vector<std::string> texts;
    for (size_t i = 0; i < held.count(); i++)
        texts.push_back(held.entry(i));
    return texts;
}

TEST(HeldEntries, SortsInListOrderEqualEntriesAsTheyCame)
{
    HeldEntries held;
    EXPECT_FALSE(held.add("X")) << "not holding yet";
    held.start();
    const std::vector<std::string> arrival = {"  KSEE GILLESPIE", "ksea b", "   SEA S",
                                              "  KSEA A", "KSEA B", "ksea b", "  KSEA A"};
    for (const std::string &e : arrival)
        ASSERT_TRUE(held.add(e.c_str()));
    held.sort();
    EXPECT_EQ(held_texts(held),
              (std::vector<std::string>{"   SEA S", "  KSEA A", "  KSEA A", "  KSEE GILLESPIE",
                                        "ksea b", "KSEA B", "ksea b"}));
    held.restore_arrival_order();
    EXPECT_EQ(held_texts(held), arrival);
}

TEST(HeldEntries, SortsLargeFillsInEitherOrder)
{
    std::vector<std::string> codes;
    for (int i = 0; i < 5000; i++) {
        char code[16];
        snprintf(code, sizeof code, "  %c%c%02d X", 'A' + i % 26, 'A' + (i / 26) % 26, i % 97);
        codes.push_back(code);
    }
    std::vector<std::string> sorted = codes;
    std::stable_sort(sorted.begin(), sorted.end(), [](const std::string &a, const std::string &b) {
        return list_order_compare(a.c_str(), b.c_str()) < 0;
    });
    for (int pass = 0; pass < 2; pass++) {
        HeldEntries held;
        held.start();
        const std::vector<std::string> &input = pass == 0 ? codes : sorted;
        for (const std::string &c : input)
            ASSERT_TRUE(held.add(c.c_str()));
        held.sort();
        EXPECT_EQ(held_texts(held), sorted);
    }
}

TEST(HeldEntries, MovesAnEntryBack)
{
    HeldEntries held;
    held.start();
    for (const char *e : {"A", "B", "C", "D"})
        held.add(e);
    held.move_back(3, 1);
    EXPECT_EQ(held_texts(held), (std::vector<std::string>{"A", "D", "B", "C"}));
    held.move_back(2, 2);
    EXPECT_EQ(held_texts(held), (std::vector<std::string>{"A", "D", "B", "C"}));
}

TEST(HeldEntries, StopsHoldingAtEitherCapAndKeepsWhatItHeld)
{
    HeldEntries by_count;
    by_count.start();
    for (size_t i = 0; i < HeldEntries::max_entries; i++)
        ASSERT_TRUE(by_count.add("E"));
    EXPECT_FALSE(by_count.add("E"));
    EXPECT_FALSE(by_count.holding());
    EXPECT_EQ(by_count.count(), HeldEntries::max_entries);
    EXPECT_STREQ(by_count.entry(HeldEntries::max_entries - 1), "E");

    /* 127 characters and the zero: the text's room ends before the count. */
    HeldEntries by_bytes;
    by_bytes.start();
    const std::string entry(127, 'x');
    size_t n = 0;
    while (by_bytes.add(entry.c_str()))
        n++;
    EXPECT_EQ(n, HeldEntries::max_text_bytes / 128);
    EXPECT_FALSE(by_bytes.holding());
    EXPECT_EQ(by_bytes.count(), n);

    by_bytes.release();
    EXPECT_EQ(by_bytes.count(), 0u);
    by_bytes.start();
    EXPECT_TRUE(by_bytes.add("again"));
}

}  // namespace
