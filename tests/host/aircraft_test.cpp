/* The stand-in simulator's aircraft: what key events set, how the cockpit
 * shows it, and the variables the gauges read. */
#include "host/aircraft.h"

#include <gtest/gtest.h>

namespace {

TEST(HostAircraft, CockpitForms)
{
    Aircraft a;
    EXPECT_TRUE(apply_key_event(a, key_nav1_frequency, 0x1030));
    EXPECT_TRUE(apply_key_event(a, key_nav1_course, 45));
    EXPECT_TRUE(apply_key_event(a, key_adf_frequency, 0x375));
    EXPECT_TRUE(apply_key_event(a, key_fuel_selector_2, 0));
    EXPECT_FALSE(apply_key_event(a, 12345, 1));
    char text[32];
    format_nav1(a.nav1_bcd, text, sizeof text);
    EXPECT_STREQ(text, "110.30");
    format_course(a.nav1_course, text, sizeof text);
    EXPECT_STREQ(text, "045");
    format_adf(a.adf_bcd, text, sizeof text);
    EXPECT_STREQ(text, "375");
    EXPECT_EQ(a.fuel_selector, 2);
    format_event(key_nav1_frequency, 0x1030, text, sizeof text);
    EXPECT_STREQ(text, "65708=0x1030");
    format_event(key_ap_vertical_speed, (uint32_t)-5, text, sizeof text);
    EXPECT_STREQ(text, "66036=-5");
}

TEST(HostAircraft, Variables)
{
    Aircraft a;
    VariableRef v = {};
    v.id = var_fuel_selector;
    EXPECT_TRUE(set_aircraft_variable(a, var_fuel_selector, 3));
    ASSERT_TRUE(read_aircraft_variable(a, &v));
    EXPECT_EQ(v.value.integer, 3); /* an integer variable: the first four bytes */
    v.id = var_temperature;
    EXPECT_TRUE(set_aircraft_variable(a, var_temperature, 0.25));
    ASSERT_TRUE(read_aircraft_variable(a, &v));
    EXPECT_EQ(v.value.number, 0.25);
    v.id = 9999;
    v.value.number = 1.5;
    EXPECT_FALSE(read_aircraft_variable(a, &v));
    EXPECT_EQ(v.value.number, 1.5);
    EXPECT_FALSE(set_aircraft_variable(a, 9999, 1.0));
}

} // namespace
