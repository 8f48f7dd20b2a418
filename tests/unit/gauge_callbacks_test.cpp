#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

#include "gauges/callbacks.h"
#include "module/interface/imports.h"

namespace {

const double not_a_number = std::numeric_limits<double>::quiet_NaN();

/* The simulator's side of a click: the selector position it reports, the
 * reference it was asked to fill and the key events it was sent. */
struct FakeHost {
    uint32_t selector_position = 0;
    VariableRef *read_from = nullptr;
    std::vector<std::pair<uint32_t, uint32_t>> events;
};

FakeHost *fake_host = nullptr;

uint32_t HOSTCALL fake_read_variable(VariableRef *variable)
{
    fake_host->read_from = variable;
    variable->value.word = fake_host->selector_position;
    return 0;
}

uint32_t HOSTCALL fake_send_key_event(uint32_t event_id, uint32_t value)
{
    fake_host->events.emplace_back(event_id, value);
    return 0;
}

class SelectorClickTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_services_ = ImportTable.entries[0].services;
        services_ = HostServices{};
        services_.read_variable = fake_read_variable;
        services_.send_key_event = fake_send_key_event;
        ImportTable.entries[0].services = &services_;
        fake_host = &host_;
    }
    void TearDown() override
    {
        ImportTable.entries[0].services = saved_services_;
        fake_host = nullptr;
    }

    /* One click with the selector at position; returns the event sent. */
    uint32_t click_at(uint32_t position)
    {
        host_.selector_position = position;
        host_.events.clear();
        MousePoint point = {3, 4};
        EXPECT_EQ(selector_click(&point, mouse_left_single), 1);
        EXPECT_EQ(host_.read_from, &fuel_selector_variable);
        EXPECT_EQ(host_.events.size(), 1u);
        if (host_.events.empty())
            return 0;
        EXPECT_EQ(host_.events[0].second, 0u) << "event value";
        return host_.events[0].first;
    }

    FakeHost host_;

private:
    HostServices services_{};
    HostServices *saved_services_ = nullptr;
};

double needle_for(double fuel)
{
    NeedleElement needle{};
    needle.variable.value.number = fuel;
    return fuel_needle_value(&needle);
}

double selector_picture_for(uint32_t position)
{
    IconElement icon{};
    icon.variable.value.word = position;
    return selector_icon_index(&icon);
}

double units_picture_for(double units)
{
    IconElement icon{};
    icon.variable.value.number = units;
    return units_icon_index(&icon);
}

/* A readout as the host prepares it: a buffer of max_length + 1 bytes inside
 * a larger one filled with a guard byte, to see every byte written. */
struct Readout {
    static constexpr char guard = '#';
    char buffer[16];
    StringElement element{};

    Readout(double temperature, double units, uint32_t max_length = temperature_digits)
    {
        std::memset(buffer, guard, sizeof buffer);
        element.variables[0].value.number = temperature;
        element.variables[1].value.number = units;
        element.max_length = max_length;
        element.text = buffer;
    }
    bool untouched_from(size_t first) const
    {
        for (size_t i = first; i < sizeof buffer; ++i)
            if (buffer[i] != guard)
                return false;
        return true;
    }
};

TEST(FuelNeedle, ClampsToTheDial)
{
    EXPECT_EQ(needle_for(80.0), 75.0);
    EXPECT_EQ(needle_for(-5.0), 0.0);
    EXPECT_EQ(needle_for(75.0), 75.0);
    EXPECT_EQ(needle_for(0.0), 0.0);
    EXPECT_EQ(needle_for(37.5), 37.5);
    EXPECT_EQ(needle_for(not_a_number), 0.0);
}

TEST(Temperature, FormatsAndClampsTheReadout)
{
    struct Case {
        double temperature, units;
        const char *text;
        double result;
    };
    const Case cases[] = {
        {0.1, 1.0, " 25", 25.6},
        {0.1, 0.0, " 78", 78.08},             /* Fahrenheit */
        {0.1, not_a_number, " 78", 78.08},    /* no units switch: Fahrenheit */
        {10.0, 1.0, "999", 999.0},
        {-1.0, 1.0, "-99", -99.0},
        {-0.3, 1.0, "-76", -76.8},            /* truncated, not rounded */
        {not_a_number, 1.0, "-99", -99.0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "temperature " << c.temperature << ", units " << c.units);
        Readout readout(c.temperature, c.units);
        EXPECT_DOUBLE_EQ(temperature_text(&readout.element), c.result);
        EXPECT_STREQ(readout.buffer, c.text);
        EXPECT_TRUE(readout.untouched_from(temperature_digits + 1));
    }
}

TEST(Temperature, NeverWritesPastTheRoom)
{
    Readout short_room(0.5, 1.0, 1);         /* 128 degrees in a one-character room */
    EXPECT_DOUBLE_EQ(temperature_text(&short_room.element), 128.0);
    EXPECT_STREQ(short_room.buffer, "1");
    EXPECT_TRUE(short_room.untouched_from(2));

    Readout wide_room(0.5, 1.0, 10);         /* a larger room still gets three digits */
    temperature_text(&wide_room.element);
    EXPECT_STREQ(wide_room.buffer, "128");
    EXPECT_TRUE(wide_room.untouched_from(temperature_digits + 1));

    Readout no_room(0.5, 1.0, 0);
    temperature_text(&no_room.element);
    EXPECT_STREQ(no_room.buffer, "");
    EXPECT_TRUE(no_room.untouched_from(1));

    Readout no_buffer(0.1, 1.0);
    no_buffer.element.text = nullptr;
    EXPECT_DOUBLE_EQ(temperature_text(&no_buffer.element), 25.6);
}

TEST(UnitsMarker, ShowsCelsiusForAnyNonZeroSwitch)
{
    EXPECT_EQ(units_picture_for(0.0), 0.0);
    EXPECT_EQ(units_picture_for(1.0), 1.0);
    EXPECT_EQ(units_picture_for(-1.0), 1.0);
    EXPECT_EQ(units_picture_for(not_a_number), 0.0);
}

TEST(SelectorKnob, ShowsThePictureOfEachPosition)
{
    EXPECT_EQ(selector_picture_for(0), 0.0);
    EXPECT_EQ(selector_picture_for(1), 2.0);
    EXPECT_EQ(selector_picture_for(2), 1.0);
    EXPECT_EQ(selector_picture_for(3), 3.0);
    EXPECT_EQ(selector_picture_for(7), 2.0);
    EXPECT_EQ(selector_picture_for(0xFFFFFFFFu), 2.0);   /* -1 compares unsigned: unknown */
}

TEST_F(SelectorClickTest, SendsTheEventOfTheNextPosition)
{
    EXPECT_EQ(click_at(0), 65957u);
    EXPECT_EQ(click_at(1), 65958u);
    EXPECT_EQ(click_at(2), 65956u);
    EXPECT_EQ(click_at(3), 65955u);
    EXPECT_EQ(click_at(7), 65956u);
    EXPECT_EQ(click_at(0xFFFFFFFFu), 65956u);
}

TEST_F(SelectorClickTest, EachClickTurnsTheKnobOnePicture)
{
    /* The host applies event key_fuel_selector_0 + k as position k. */
    const double pictures[] = {1.0, 2.0, 3.0, 0.0, 1.0};
    uint32_t position = 0;
    for (double picture : pictures) {
        position = click_at(position) - key_fuel_selector_0;
        EXPECT_EQ(selector_picture_for(position), picture) << "position " << position;
    }
    EXPECT_EQ(selector_picture_for(click_at(9) - key_fuel_selector_0), selector_picture_for(9));
}

} // namespace
