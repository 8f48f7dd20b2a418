/*
 * Radio tuning from a list entry and the autopilot presets sent on close.
 * Portable: the key events go out through KeyEventSink, which the dialog
 * binds to the simulator's send_key_event and the tests to a recorder.
 */
#ifndef PELMORA_TUNING_H
#define PELMORA_TUNING_H

#include <stddef.h>
#include <stdint.h>

/* Each digit of n in from_base becomes one digit in to_base: with 10 and 16,
 * 1030 gives 0x1030. */
uint32_t rebase_digits(uint32_t n, uint32_t from_base, uint32_t to_base);

/* Decimal value of text: optional blanks and sign, then the leading run of
 * digits; none gives 0.  Saturates at the 32-bit limits instead of overflowing. */
int32_t decimal_value(const char *text);

/* A navigation frequency in megahertz, 100.00 to 199.99, with at most two
 * decimals ("110.30", "108.1", "113"): the BCD value of its digits after the
 * leading 1 (110.30 gives 0x1030, 108.1 gives 0x0810).  0 when the text is not
 * such a frequency. */
uint32_t nav_frequency_bcd(const char *text);

/* An ADF frequency: the decimal value of text in whole kHz, a fraction dropped,
 * as BCD (375.5 gives 0x375).  0 when it is 0, negative, or has more than
 * eight digits (no room in 32 bits of BCD). */
uint32_t adf_frequency_bcd(const char *text);

/* Course digits of a runway line's course word: up to two leading zeros
 * dropped ("045" gives 45, "005" gives 5, "100" stays 100). */
uint32_t course_value(const char *text);

/* Where the key events go, one at a time and in order. */
class KeyEventSink {
public:
    virtual void send(uint32_t id, uint32_t value) = 0;
protected:
    ~KeyEventSink() {}
};

/* Room of each of the four leading words of a list entry. */
const size_t entry_word_room = 39;

/* The key events one double-click sends, in order. */
struct TuningEvents {
    int count;
    struct {
        uint32_t id;
        uint32_t value;
    } events[2];
};

/* Works out the events for a list entry: in airport mode a runway line
 * (frequency and course, words 3 and 4), in navaid mode a long entry (type
 * and frequency, words 3 and 4).  No frequency, no events. */
TuningEvents tuning_events(const char *entry, bool airport_mode);

/* Sends the events, in order. */
void send_tuning_events(const TuningEvents &events, KeyEventSink &keys);

/* ---- Autopilot presets ---- */

const int preset_count = 5;
const size_t preset_text_room = 19;

/* The preset boxes in sending order (HDG, ALT, IAS, MACH, V/S): each box's key
 * event and the entries its list offers, first, first + step, ..., written with
 * width digits (leading zeros). */
struct PresetList {
    uint32_t event_id;
    int first, step, count, width;
};
extern const PresetList preset_lists[preset_count];

/* Writes entry index of a preset list ("010" for the first heading). */
void format_preset_entry(const PresetList &list, int index, char *out, size_t room);

/* Sends the event of every preset text that is not empty, in order, with the
 * text's decimal value (a text that is not a number sends 0). */
void send_presets(const char *const texts[preset_count], KeyEventSink &keys);

#endif
