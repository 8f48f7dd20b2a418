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

/* A list as a search fills it: after the list's first refusal (it is full)
 * nothing more is offered to it until it is emptied.  What it took stays,
 * in the list's own order. */
class FilledList {
public:
    explicit FilledList(ListControl &list) : list_(list) {}
    bool full() const { return full_; }
    void add(const char *entry)
    {
        if (!full_ && !list_.add(entry))
            full_ = true;
    }
    void clear()
    {
        list_.clear();
        full_ = false;
    }
    void select(int index) { list_.select(index); }

private:
    ListControl &list_;
    bool full_ = false;
};

/* Lists the runways of an airport line, one runway line each; true when at
 * least one was listed. */
static bool list_runways(const char *line, FilledList &results)
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

/* The typed text's first character in either letter case: both tests of
 * the lookup need a code's first character to be one of the two. */
struct FirstLetter {
    char upper, lower;
    explicit FirstLetter(char c)
        : upper(fold_letter(c)), lower(upper >= 'A' && upper <= 'Z' ? (char)(upper - 'A' + 'a') : c)
    {
    }
    bool is(char c) const { return c == upper || c == lower; }
};

/* Whether the code of a line can pass either test of the lookup.  Most lines
 * begin with their code, and most of those are passed over on their first
 * byte. */
static bool may_match(const FacilityLine &line, const FirstLetter &first)
{
    const char *p = line.text, *end = line.text + line.length;
    if (first.is(*p))
        return true;
    if (!is_blank_char(*p))
        return false;
    while (p != end && *p && is_blank_char(*p))
        p++;
    return p != end && first.is(*p);
}

/* The code of a line where it stands, without a copy: its first token, cut
 * to the room read_leading_fields gives it; length 0 when it has none. */
static size_t line_code(const FacilityLine &line, const char **code)
{
    const char *p = line.text, *end = line.text + line.length;
    while (p != end && *p && is_blank_char(*p))
        p++;
    *code = p;
    while (p != end && *p && !is_blank_char(*p))
        p++;
    const size_t length = (size_t)(p - *code);
    return length < leading_field_room ? length : leading_field_room;
}

/* The lookup's two tests of a code of length n against the typed text of
 * length typed_length: its prefix (letter case exact), or equal to it
 * (A to Z in either case). */
static bool code_has_prefix(const char *code, size_t n, const char *typed, size_t typed_length)
{
    if (n < typed_length)
        return false;
    for (size_t i = 0; i < typed_length; i++)
        if (code[i] != typed[i])
            return false;
    return true;
}

static bool code_equals(const char *code, size_t n, const char *typed, size_t typed_length)
{
    if (n != typed_length)
        return false;
    for (size_t i = 0; i < n; i++)
        if (fold_letter(code[i]) != fold_letter(typed[i]))
            return false;
    return true;
}

/* A match listed: an airport as a short entry offered in the quick pick, the
 * first one selected; a navaid as a long entry in the results. */
static void list_match(const LeadingFields &f, bool airport_mode, FilledList &pick,
                       FilledList &results)
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

void icao_lookup(const char *typed, bool airport_mode, ListControl &pick_control,
                 ListControl &results_control)
{
    FilledList pick(pick_control), results(results_control);
    pick.clear();
    results.clear();
    if (!open_mode_file(airport_mode)) {
        results.add(mode_error_line(airport_mode));
        return;
    }
    /* The file is read through even when no code can match. */
    const size_t typed_length = strlen(typed);
    const bool matchable = typed_length <= typed_text_room;
    const FirstLetter first(typed[0]);
    bool listed = false;
    pick_control.begin_fill();
    results_control.begin_fill();
    FacilityLine line;
    while (facility_next_line(&facility_file, &line, line_limit)) {
        if (!matchable)
            continue;
        bool prefix = true, exact = false;
        if (typed_length > 0) {
            /* The code is compared where it stands; only a match is taken
             * apart into fields. */
            if (!may_match(line, first))
                continue;
            const char *code;
            const size_t n = line_code(line, &code);
            prefix = code_has_prefix(code, n, typed, typed_length);
            exact = code_equals(code, n, typed, typed_length);
            if (!prefix && !exact)
                continue;
        }
        /* A prefix match for a list that is full has nothing to add.  Every
         * code has the empty prefix, and only an empty one equals it. */
        if ((airport_mode ? pick : results).full()) {
            const char *code;
            if (typed_length == 0 ? line_code(line, &code) > 0 : !exact)
                continue;
        }
        LeadingFields f;
        read_leading_fields(line, &f, airport_mode ? 2 : 4);  /* a short entry needs two */
        if (typed_length == 0)
            exact = !f.code[0];
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
    results_control.end_fill();
    pick_control.end_fill();
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

void name_search(const char *search_text, bool airport_mode, ListControl &pick_control,
                 ListControl &results_control)
{
    FilledList pick(pick_control), results(results_control);
    if (!open_mode_file(airport_mode)) {
        results.add(mode_error_line(airport_mode));
        return;
    }
    results.clear();
    /* Only the first word counts; no word matches every name. */
    char word[search_text_room + 1];
    first_word(search_text, word, search_text_room);
    ListControl &target = airport_mode ? pick_control : results_control;
    const FilledList &filled = airport_mode ? pick : results;
    target.begin_fill();
    FacilityLine line;
    while (facility_next_line(&facility_file, &line, line_limit)) {
        if (filled.full())
            continue;           /* read through, as ever */
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
