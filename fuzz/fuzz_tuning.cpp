/*
 * The tuning parser on arbitrary text: tuning_events in both modes and the
 * number readers beneath it.  Beyond the sanitizers' checks:
 *   - every BCD value has decimal digits only, and reads back as the
 *     number it was made from;
 *   - decimal_value stays within 32 bits and agrees with strtoll where the
 *     text is a plain number that fits;
 *   - an event is only ever a NAV1 frequency, a NAV1 course or an ADF
 *     frequency, with a value other than 0 for a frequency.
 *
 * Input: the text (its first zero byte ends it).
 */
#include <errno.h>
#include <limits.h>
#include <stdint.h>

#include "module/interface/host_interface.h"
#include "reference.h"
#include "selection/tuning.h"

static bool decimal_digits_only(uint32_t bcd)
{
    for (; bcd; bcd >>= 4)
        if ((bcd & 0xF) > 9)
            return false;
    return true;
}

static uint32_t bcd_value(uint32_t bcd)
{
    uint32_t value = 0, scale = 1;
    for (; bcd; bcd >>= 4, scale *= 10)
        value += (bcd & 0xF) * scale;
    return value;
}

static void check_events(const TuningEvents &t)
{
    FUZZ_CHECK(t.count >= 0 && t.count <= 2);
    for (int i = 0; i < t.count; i++) {
        uint32_t id = t.events[i].id, value = t.events[i].value;
        FUZZ_CHECK(id == key_nav1_frequency || id == key_nav1_course || id == key_adf_frequency);
        if (id != key_nav1_course) {
            FUZZ_CHECK(value != 0);
            FUZZ_CHECK(decimal_digits_only(value));
        }
        if (id == key_nav1_frequency)
            FUZZ_CHECK(value <= 0x9999);
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 4096)
        return 0;
    const std::string text((const char *)data, size);
    const char *s = text.c_str();

    check_events(tuning_events(s, true));
    check_events(tuning_events(s, false));

    uint32_t nav = nav_frequency_bcd(s);
    FUZZ_CHECK(decimal_digits_only(nav) && nav <= 0x9999);
    uint32_t adf = adf_frequency_bcd(s);
    FUZZ_CHECK(decimal_digits_only(adf));
    FUZZ_CHECK((int64_t)bcd_value(adf) == std::max<int64_t>(0, std::min<int64_t>(decimal_value(s), 99999999)) ||
               adf == 0);
    (void)course_value(s);

    int32_t value = decimal_value(s);
    /* A plain number: optional blanks and sign, then digits only. */
    const char *p = s;
    while (*p && reference::is_white(*p))
        p++;
    const char *number = p;
    if (*p == '+' || *p == '-')
        p++;
    bool plain = *p != 0;
    for (; *p; p++)
        plain = plain && *p >= '0' && *p <= '9';
    if (plain) {
        errno = 0;
        long long expected = strtoll(number, 0, 10);
        if (errno == 0 && expected >= INT32_MIN && expected <= INT32_MAX)
            FUZZ_CHECK(value == expected);
        else
            FUZZ_CHECK(value == (expected < 0 ? INT32_MIN : INT32_MAX));
    }

    uint32_t n = (uint32_t)(size >= 4 ? (data[0] | data[1] << 8 | data[2] << 16 | (uint32_t)data[3] << 24) : size);
    if (n < 100000000) {
        uint32_t bcd = rebase_digits(n, 10, 16);
        FUZZ_CHECK(decimal_digits_only(bcd) && bcd_value(bcd) == n);
    }
    return 0;
}
