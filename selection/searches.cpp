#include "searches.h"

#include <string.h>

#include "../module/interface/text_format.h"

static char fold_letter(char c)
{
    return (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c;
}

bool equals_ignoring_case(const char *a, const char *b)
{
    for (; *a && *b; a++, b++)
        if (fold_letter(*a) != fold_letter(*b))
            return false;
    return *a == *b;
}

bool has_prefix(const char *text, const char *prefix)
{
    for (; *prefix; text++, prefix++)
        if (*text != *prefix)
            return false;
    return true;
}

/* ---- Entry formats ----
 *
 * Written column by column, without snprintf: parsing a format for each of
 * tens of thousands of entries would cost more than the rest of a lookup.
 * The result is snprintf's with entry_printf_format, byte for byte: nothing
 * cut but the whole, which ends at room - 1 characters and is always
 * terminated. */

void entry_printf_format(const EntryFormat &format, char *out, size_t room)
{
    if (room == 0)
        return;
    out[0] = 0;
    size_t length = 0;
    for (int i = 0; i < format.count && length < room - 1; i++) {
        const int width = format.widths[i];
        const char *blank = i > 0 ? " " : "";
        length += (size_t)(width == 0
                               ? format_text(out + length, room - length, "%s%%s", blank)
                               : format_text(out + length, room - length, "%s%%%ds", blank, width));
    }
}

/* An entry being written: out has room characters, the zero included. */
struct EntryText {
    char *out;
    size_t room, length;
};

static void put_chars(EntryText &e, char c, const char *s, size_t n)
{
    size_t space = e.room - 1 - e.length;
    if (n > space)
        n = space;
    if (s)
        memcpy(e.out + e.length, s, n);
    else
        memset(e.out + e.length, c, n);
    e.length += n;
}

static void put_column(EntryText &e, const char *s, int width)
{
    size_t n = strlen(s);
    size_t w = (size_t)(width < 0 ? -width : width);
    size_t pad = n < w ? w - n : 0;
    if (width > 0)
        put_chars(e, ' ', 0, pad);
    put_chars(e, 0, s, n);
    if (width < 0)
        put_chars(e, ' ', 0, pad);
}

static void format_columns(char *out, size_t room, const EntryFormat &format,
                           const char *const *texts)
{
    if (room == 0)
        return;
    EntryText e = {out, room, 0};
    for (int i = 0; i < format.count; i++) {
        if (i > 0)
            put_chars(e, ' ', 0, 1);
        put_column(e, texts[i], format.widths[i]);
    }
    out[e.length] = 0;
}

void format_short_entry(char *out, size_t room, const char *code, const char *name)
{
    const char *const texts[] = {code, name};
    format_columns(out, room, short_entry_format, texts);
}

void format_long_entry(char *out, size_t room, const char *code, const char *name,
                       const char *third, const char *fourth)
{
    const char *const texts[] = {code, name, third, fourth};
    format_columns(out, room, long_entry_format, texts);
}

static const char *part_or_dash(const char *part)
{
    return part[0] ? part : "-";
}

void format_runway_line(char *out, size_t room, const RunwayDescriptor *rw)
{
    const char *const texts[] = {part_or_dash(rw->designator), part_or_dash(rw->identifier),
                                 part_or_dash(rw->frequency), part_or_dash(rw->course),
                                 part_or_dash(rw->length)};
    format_columns(out, room, runway_line_format, texts);
}

/* ---- Searches ---- */

static bool open_mode_file(bool airport_mode)
{
    return facility_open_data(&facility_file, airport_mode ? RUNWAY_FILE_NAME : NAVAID_FILE_NAME);
}

static const char *mode_error_line(bool airport_mode)
{
    return airport_mode ? RUNWAY_FILE_ERROR : NAVAID_FILE_ERROR;
}

/* Lists the runways of an airport line, one runway line each; true when at
 * least one was listed. */
static bool list_runways(const char *line, ListControl &results)
{
    AirportRecord record;
    read_airport_record(line, &record);
    char entry[entry_room];
    for (int i = 0; i < record.runway_count; i++) {
        RunwayDescriptor runway;
        read_runway_descriptor(record.runways[i], &runway);
        format_runway_line(entry, sizeof entry, &runway);
        results.add(entry);
    }
    return record.runway_count > 0;
}

/* Whether the code of a line can pass either test of the lookup: both need
 * its first character to equal the typed text's first, letter case aside.
 * This spares taking apart the many lines that cannot match. */
static bool may_match(const FacilityLine &line, const char *typed)
{
    if (!typed[0])
        return true;
    const char *p = line.text, *end = line.text + line.length;
    while (p != end && *p && is_blank_char(*p))
        p++;
    return p != end && fold_letter(*p) == fold_letter(typed[0]);
}

/* A match listed: an airport as a short entry offered in the quick pick, the
 * first one selected; a navaid as a long entry in the results. */
static void list_match(const LeadingFields &f, bool airport_mode, ListControl &pick,
                       ListControl &results)
{
    char entry[entry_room];
    if (airport_mode) {
        format_short_entry(entry, sizeof entry, f.code, f.name);
        pick.add(entry);
        pick.select(0);
    } else {
        format_long_entry(entry, sizeof entry, f.code, f.name, f.third, f.fourth);
        results.add(entry);
    }
}

void icao_lookup(const char *typed, bool airport_mode, ListControl &pick, ListControl &results)
{
    pick.clear();
    results.clear();
    if (!open_mode_file(airport_mode)) {
        results.add(mode_error_line(airport_mode));
        return;
    }
    /* The file is read through even when no code can match. */
    const bool matchable = strlen(typed) <= typed_text_room;
    bool listed = false;
    pick.begin_fill();
    results.begin_fill();
    FacilityLine line;
    while (facility_next_line(&facility_file, &line, line_limit)) {
        if (!matchable)
            continue;
        if (!may_match(line, typed))
            continue;
        LeadingFields f;
        read_leading_fields(line, &f, 1);
        const bool prefix = has_prefix(f.code, typed);
        const bool exact = equals_ignoring_case(f.code, typed);
        if (!prefix && !exact)
            continue;
        read_leading_fields(line, &f, airport_mode ? 2 : 4);  /* a short entry needs two */
        if (prefix) {
            list_match(f, airport_mode, pick, results);
            if (!airport_mode)
                continue;       /* a navaid is listed once */
        }
        if (exact) {
            /* Only the last exact match's entries stay listed. */
            listed = false;
            if (airport_mode) {
                char text[line_buffer_room];
                copy_field(text, sizeof text - 1, line.text, line.length);
                results.clear();
                listed = list_runways(text, results);
            } else {
                /* A navaid record is its four leading fields, read above. */
                list_match(f, airport_mode, pick, results);
                listed = true;
            }
        }
    }
    facility_close(&facility_file);
    if (listed)
        results.select(0);
    results.end_fill();
    pick.end_fill();
}

/* Copies the first whitespace-separated word of text into word, cut to room;
 * false when the text has no word. */
static bool first_word(const char *text, char *word, size_t room)
{
    const char *start;
    size_t length;
    word[0] = 0;
    if (!next_token(&text, &start, &length))
        return false;
    copy_field(word, room, start, length);
    return true;
}

void name_search(const char *search_text, bool airport_mode, ListControl &pick,
                 ListControl &results)
{
    if (!open_mode_file(airport_mode)) {
        results.add(mode_error_line(airport_mode));
        return;
    }
    results.clear();
    /* Only the first word counts; no word matches every name. */
    char word[search_text_room + 1];
    first_word(search_text, word, search_text_room);
    ListControl &target = airport_mode ? pick : results;
    target.begin_fill();
    FacilityLine line;
    while (facility_next_line(&facility_file, &line, line_limit)) {
        LeadingFields f;
        read_leading_fields(line, &f, 2);
        if (!equals_ignoring_case(word, f.code) && !strstr(f.name, word))
            continue;
        if (!airport_mode)
            read_leading_fields(line, &f);
        list_match(f, airport_mode, pick, results);
    }
    facility_close(&facility_file);
    target.end_fill();
}

bool quick_pick_code(ListControl &pick, char *code, size_t room)
{
    code[0] = 0;
    int index = pick.selected();
    if (index < 0)
        return false;
    char entry[entry_room];
    if (!pick.text(index, entry, sizeof entry - 1))
        return false;
    return first_word(entry, code, room);
}
