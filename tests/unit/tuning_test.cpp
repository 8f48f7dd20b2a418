#include "selection/tuning.h"

#include <climits>
#include <string>

#include "module/interface/host_interface.h"
#include "test_support.h"

namespace {

Events events_of(const char *entry, bool airport_mode)
{
    TuningEvents t = tuning_events(entry, airport_mode);
    Events out;
    for (int i = 0; i < t.count; i++)
        out.emplace_back(t.events[i].id, t.events[i].value);
    return out;
}

TEST(Tuning, RebaseDigits)
{
    EXPECT_EQ(rebase_digits(0, 10, 16), 0u);
    EXPECT_EQ(rebase_digits(7, 10, 16), 7u);
    EXPECT_EQ(rebase_digits(375, 10, 16), 0x375u);
    EXPECT_EQ(rebase_digits(1030, 10, 16), 0x1030u);
    EXPECT_EQ(rebase_digits(99999999, 10, 16), 0x99999999u);
}

TEST(Tuning, RunwayLines)
{
    const Events nav_110_30_course_45 = {{key_nav1_frequency, 0x1030}, {key_nav1_course, 45}};
    EXPECT_EQ(events_of("16L  ISNQ 110.30  045    11901", true), nav_110_30_course_45);
    EXPECT_EQ(events_of("A1   B2   110.30  005       C3", true),
              (Events{{key_nav1_frequency, 0x1030}, {key_nav1_course, 5}}));
    EXPECT_EQ(events_of("09 X 113.90 100 9000", true),
              (Events{{key_nav1_frequency, 0x1390}, {key_nav1_course, 100}}));
    /* Frequencies are read as megahertz, whatever their number of decimals. */
    EXPECT_EQ(events_of("09 X 108.1 270 9000", true),
              (Events{{key_nav1_frequency, 0x0810}, {key_nav1_course, 270}}));
    EXPECT_EQ(events_of("09 X 110.3 270 9000", true)[0].second, 0x1030u);
    EXPECT_EQ(events_of("09 X 110 270 9000", true)[0].second, 0x1000u);
    EXPECT_EQ(events_of("09 X 199.99 270 9000", true)[0].second, 0x9999u);
    /* No frequency: nothing is sent. */
    for (const char *entry : {"34R  -    0       343    11901", "09 X - - 9000", "09 X 99.5 270 9000",
                              "09 X 200.00 270 9000", "09 X 110.305 270 9000", "09 X 110.30x 270 9000",
                              "Unable to Open Runway Data File 'Prwydata.txt' ", "", "09"})
        EXPECT_TRUE(events_of(entry, true).empty()) << entry;
}

TEST(Tuning, NavaidEntries)
{
    char entry[entry_room];
    format_long_entry(entry, sizeof entry, "SEA", "SEATTLE", "VOR", "113.90");
    EXPECT_EQ(events_of(entry, false), (Events{{key_nav1_frequency, 0x1390}}));
    EXPECT_EQ(events_of("sea lower vor 116.80", false), (Events{{key_nav1_frequency, 0x1680}}));
    EXPECT_EQ(events_of("CHL CHARLIE NDB 375", false), (Events{{key_adf_frequency, 0x375}}));
    EXPECT_EQ(events_of("CHL CHARLIE ndb 375.5", false), (Events{{key_adf_frequency, 0x375}}));
    EXPECT_EQ(events_of("CHL CHARLIE LOCATOR 0375", false), (Events{{key_adf_frequency, 0x375}}));
    EXPECT_EQ(events_of("CHL CHARLIE NDB 99999999", false), (Events{{key_adf_frequency, 0x99999999}}));
    /* Digits that do not fit 32 bits of BCD, and no frequency at all. */
    for (const char *e : {"CHL CHARLIE NDB 123456789", "CHL CHARLIE NDB 0", "CHL CHARLIE NDB -5",
                          "CHL CHARLIE NDB abc", "SEA SEATTLE VOR 0", "SEA SEATTLE VOR 113.90x",
                          "Unable to Open Navaid Data File 'Pnavdata.txt' "})
        EXPECT_TRUE(events_of(e, false).empty()) << e;
    /* A long entry of four full 39-character fields is read back whole. */
    std::string w(39, 'W');
    format_long_entry(entry, sizeof entry, w.c_str(), w.c_str(), "VOR", "112.00");
    EXPECT_EQ(events_of(entry, false), (Events{{key_nav1_frequency, 0x1200}}));
}

TEST(Tuning, SendsInOrder)
{
    RecordingKeys keys;
    send_tuning_events(tuning_events("16L ISNQ 110.30 045 11901", true), keys);
    EXPECT_EQ(keys.events, (Events{{key_nav1_frequency, 0x1030}, {key_nav1_course, 45}}));
}

TEST(Presets, DecimalValues)
{
    EXPECT_EQ(decimal_value("090"), 90);
    EXPECT_EQ(decimal_value("05000"), 5000);
    EXPECT_EQ(decimal_value(""), 0);
    EXPECT_EQ(decimal_value("abc"), 0);
    EXPECT_EQ(decimal_value(" -5"), -5);
    EXPECT_EQ(decimal_value("+12x"), 12);
    EXPECT_EQ(decimal_value("99999999999"), INT_MAX);
    EXPECT_EQ(decimal_value("-99999999999"), INT_MIN);
    EXPECT_EQ(decimal_value("2147483647"), INT_MAX);
    EXPECT_EQ(decimal_value("-2147483648"), INT_MIN);
    EXPECT_EQ(decimal_value("1234567890123456789"), INT_MAX);
}

TEST(Presets, SentInOrderWhenFilledIn)
{
    RecordingKeys keys;
    const char *texts[preset_count] = {"090", "05000", "", "abc", " -5"};
    send_presets(texts, keys);
    EXPECT_EQ(keys.events, (Events{{key_ap_heading, 90}, {key_ap_altitude, 5000}, {key_ap_mach, 0},
                                   {key_ap_vertical_speed, (uint32_t)-5}}));
    keys.events.clear();
    const char *empty[preset_count] = {"", "", "", "", ""};
    send_presets(empty, keys);
    EXPECT_TRUE(keys.events.empty());
}

TEST(Presets, Lists)
{
    const int counts[preset_count] = {36, 60, 41, 100, 71};
    const char *firsts[preset_count] = {"010", "01000", "100", "00", "0000"};
    const char *lasts[preset_count] = {"360", "60000", "500", "99", "7000"};
    char entry[16];
    for (int i = 0; i < preset_count; i++) {
        EXPECT_EQ(preset_lists[i].count, counts[i]);
        format_preset_entry(preset_lists[i], 0, entry, sizeof entry);
        EXPECT_STREQ(entry, firsts[i]);
        format_preset_entry(preset_lists[i], preset_lists[i].count - 1, entry, sizeof entry);
        EXPECT_STREQ(entry, lasts[i]);
    }
}

} // namespace
