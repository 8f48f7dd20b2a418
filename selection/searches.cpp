#include "searches.h"

#include <stdio.h>
#include <string.h>

#include "selection_ids.h"

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

/* Field widths are minimums; fields are bounded, so entry_room always fits. */
void format_short_entry(char *out, size_t room, const char *code, const char *name)
{
    snprintf(out, room, SHORT_ENTRY_FORMAT, code, name);
}

void format_long_entry(char *out, size_t room, const char *code, const char *name,
                       const char *third, const char *fourth)
{
    snprintf(out, room, LONG_ENTRY_FORMAT, code, name, third, fourth);
}

static const char *part_or_dash(const char *part)
{
    return part[0] ? part : "-";
}

void format_runway_line(char *out, size_t room, const RunwayDescriptor *rw)
{
    snprintf(out, room, RUNWAY_LINE_FORMAT, part_or_dash(rw->part1), part_or_dash(rw->part2),
             part_or_dash(rw->frequency), part_or_dash(rw->course), part_or_dash(rw->part3));
}

static bool open_mode_file(bool airport_mode)
{
    return facility_open(&facility_file, airport_mode ? RUNWAY_FILE_NAME : NAVAID_FILE_NAME);
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
    char line[line_buffer_room];
    char entry[entry_room];
    pick.begin_fill();
    results.begin_fill();
    while (facility_read_line(&facility_file, line, line_limit)) {
        if (!matchable)
            continue;
        LeadingFields f;
        read_leading_fields(line, &f);
        const bool prefix = has_prefix(f.code, typed);
        const bool exact = equals_ignoring_case(f.code, typed);
        if (prefix) {
            if (airport_mode) {
                format_short_entry(entry, sizeof entry, f.code, f.name);
                pick.add(entry);
                pick.select(0);
            } else {
                format_long_entry(entry, sizeof entry, f.code, f.name, f.third, f.fourth);
                results.add(entry);
                continue;       /* a navaid is listed once */
            }
        }
        if (exact) {
            /* Only the last exact match's entries stay listed. */
            listed = false;
            if (airport_mode) {
                results.clear();
                listed = list_runways(line, results);
            } else {
                NavaidRecord navaid;
                read_navaid_record(line, &navaid);
                format_long_entry(entry, sizeof entry, navaid.code, navaid.name, navaid.type,
                                  navaid.frequency);
                results.add(entry);
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
    char line[line_buffer_room];
    char entry[entry_room];
    ListControl &target = airport_mode ? pick : results;
    target.begin_fill();
    while (facility_read_line(&facility_file, line, line_limit)) {
        LeadingFields f;
        read_leading_fields(line, &f);
        if (!equals_ignoring_case(word, f.code) && !strstr(f.name, word))
            continue;
        if (airport_mode) {
            format_short_entry(entry, sizeof entry, f.code, f.name);
            pick.add(entry);
            pick.select(0);
        } else {
            format_long_entry(entry, sizeof entry, f.code, f.name, f.third, f.fourth);
            results.add(entry);
        }
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
