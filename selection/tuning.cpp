#include "tuning.h"

#include <string.h>

#include "../module/interface/host_interface.h"
#include "../module/interface/text_format.h"
#include "facility_file.h"

uint32_t rebase_digits(uint32_t n, uint32_t from_base, uint32_t to_base)
{
    if (n == 0)
        return 0;
    return (n % from_base) + to_base * rebase_digits(n / from_base, from_base, to_base);
}

static bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

int32_t decimal_value(const char *text)
{
    const char *p = text;
    while (*p && is_blank_char(*p))
        p++;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    /* Accumulate as a negative number, whose range holds INT32_MIN. */
    int64_t value = 0;
    for (; is_digit(*p); p++) {
        value = value * 10 - (*p - '0');
        if (value < INT32_MIN)
            value = (int64_t)INT32_MIN - 1;     /* saturated; stays out of range */
    }
    if (negative)
        return value < INT32_MIN ? INT32_MIN : (int32_t)value;
    return -value > INT32_MAX ? INT32_MAX : (int32_t)-value;
}

uint32_t nav_frequency_bcd(const char *text)
{
    const char *p = text;
    uint32_t megahertz = 0;
    int whole_digits = 0;
    for (; is_digit(*p); p++, whole_digits++)
        megahertz = megahertz * 10 + (uint32_t)(*p - '0');
    if (whole_digits != 3 || megahertz < 100 || megahertz > 199)
        return 0;
    uint32_t hundredths = 0;
    if (*p == '.') {
        p++;
        int decimals = 0;
        for (; is_digit(*p) && decimals < 3; p++, decimals++)
            hundredths = hundredths * 10 + (uint32_t)(*p - '0');
        if (decimals > 2)
            return 0;
        if (decimals == 1)
            hundredths *= 10;
    }
    if (*p)
        return 0;
    return rebase_digits((megahertz - 100) * 100 + hundredths, 10, 16);
}

uint32_t adf_frequency_bcd(const char *text)
{
    const char *p = text;
    while (*p && is_blank_char(*p))
        p++;
    if (*p == '+')
        p++;
    uint32_t kilohertz = 0;
    int digits = 0;
    while (*p == '0')
        p++;
    for (; is_digit(*p); p++) {
        if (++digits > 8)
            return 0;
        kilohertz = kilohertz * 10 + (uint32_t)(*p - '0');
    }
    return rebase_digits(kilohertz, 10, 16);
}

uint32_t course_value(const char *text)
{
    char digits[10];
    size_t n = strlen(text);
    if (n > sizeof digits - 1)
        n = sizeof digits - 1;
    memcpy(digits, text, n);
    digits[n] = 0;
    if (digits[0] == '0' && digits[1] == '0')
        digits[0] = digits[1] = ' ';
    if (digits[0] == '0')
        digits[0] = ' ';
    int32_t value = decimal_value(digits);
    return value < 0 ? 0 : (uint32_t)value;
}

/* The four leading words of an entry; missing words stay empty. */
struct EntryWords {
    char w[4][entry_word_room + 1];
};

static void read_entry_words(const char *entry, EntryWords *words)
{
    char *const fields[] = {words->w[0], words->w[1], words->w[2], words->w[3]};
    const size_t rooms[] = {entry_word_room, entry_word_room, entry_word_room, entry_word_room};
    take_tokens(entry, fields, rooms, 4);
}

static bool is_vor(const char *type)
{
    static const char vor[] = "VOR";
    for (int i = 0; i < 3; i++) {
        char c = type[i];
        if (c >= 'a' && c <= 'z')
            c = (char)(c - 'a' + 'A');
        if (c != vor[i])
            return false;
    }
    return type[3] == 0;
}

static void add_event(TuningEvents *t, uint32_t id, uint32_t value)
{
    t->events[t->count].id = id;
    t->events[t->count].value = value;
    t->count++;
}

TuningEvents tuning_events(const char *entry, bool airport_mode)
{
    TuningEvents t = {};
    EntryWords words;
    read_entry_words(entry, &words);
    const char *third = words.w[2];
    const char *fourth = words.w[3];
    if (airport_mode) {
        uint32_t frequency = nav_frequency_bcd(third);
        if (frequency) {
            add_event(&t, key_nav1_frequency, frequency);
            add_event(&t, key_nav1_course, course_value(fourth));
        }
    } else if (is_vor(third)) {
        uint32_t frequency = nav_frequency_bcd(fourth);
        if (frequency)
            add_event(&t, key_nav1_frequency, frequency);
    } else {
        uint32_t frequency = adf_frequency_bcd(fourth);
        if (frequency)
            add_event(&t, key_adf_frequency, frequency);
    }
    return t;
}

void send_tuning_events(const TuningEvents &t, KeyEventSink &keys)
{
    for (int i = 0; i < t.count; i++)
        keys.send(t.events[i].id, t.events[i].value);
}

const PresetList preset_lists[preset_count] = {
    {key_ap_heading, 10, 10, 36, 3},            /* "010" .. "360" */
    {key_ap_altitude, 1000, 1000, 60, 5},       /* "01000" .. "60000" */
    {key_ap_airspeed, 100, 10, 41, 3},          /* "100" .. "500" */
    {key_ap_mach, 0, 1, 100, 2},                /* "00" .. "99" */
    {key_ap_vertical_speed, 0, 100, 71, 4},     /* "0000" .. "7000" */
};

void format_preset_entry(const PresetList &list, int index, char *out, size_t room)
{
    format_text(out, room, "%0*d", list.width, list.first + index * list.step);
}

void send_presets(const char *const texts[preset_count], KeyEventSink &keys)
{
    for (int i = 0; i < preset_count; i++)
        if (texts[i][0])
            keys.send(preset_lists[i].event_id, (uint32_t)decimal_value(texts[i]));
}
