#include "facility_file.h"

#include <string.h>

FacilityFile facility_file;

static const unsigned char ctrl_z = 26;

bool facility_open(FacilityFile *file, const char *name)
{
    file->stream = fopen(name, "rb");
    file->pos = file->len = 0;
    file->at_end = false;
    return file->stream != 0;
}

void facility_close(FacilityFile *file)
{
    if (file->stream)
        fclose(file->stream);
    file->stream = 0;
    file->pos = file->len = 0;
    file->at_end = true;
}

/* Makes at least one unread byte available; false at the end of the file.
 * A read error counts as the end. */
static bool fill_block(FacilityFile *file)
{
    if (file->pos < file->len)
        return true;
    if (file->at_end || !file->stream)
        return false;
    file->pos = 0;
    file->len = fread(file->block, 1, facility_block_room, file->stream);
    if (file->len == 0) {
        file->at_end = true;
        return false;
    }
    return true;
}

/* The next byte after the text-mode rules, or -1 at the end. */
static int next_char(FacilityFile *file)
{
    if (!fill_block(file))
        return -1;
    unsigned char c = file->block[file->pos++];
    if (c == ctrl_z) {
        file->at_end = true;
        file->pos = file->len;
        return -1;
    }
    if (c == '\r' && fill_block(file) && file->block[file->pos] == '\n') {
        file->pos++;
        return '\n';
    }
    return c;
}

bool facility_read_line(FacilityFile *file, char *line, int limit)
{
    int n = 0;
    while (n < limit - 1) {
        /* Fast path: copy plain bytes of the block up to the next special one. */
        if (file->pos < file->len) {
            const unsigned char *p = file->block + file->pos;
            size_t avail = file->len - file->pos;
            size_t want = (size_t)(limit - 1 - n);
            if (avail > want)
                avail = want;
            size_t k = 0;
            while (k < avail && p[k] != '\n' && p[k] != '\r' && p[k] != ctrl_z)
                k++;
            memcpy(line + n, p, k);
            n += (int)k;
            file->pos += k;
            if (n >= limit - 1)
                break;
        }
        int c = next_char(file);
        if (c < 0)
            break;
        line[n++] = (char)c;
        if (c == '\n')
            break;
    }
    line[n] = 0;
    return n > 0;
}

bool is_blank_char(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool next_token(const char **cursor, const char **start, size_t *length)
{
    const char *p = *cursor;
    while (*p && is_blank_char(*p))
        p++;
    if (!*p) {
        *cursor = p;
        return false;
    }
    const char *s = p;
    while (*p && !is_blank_char(*p))
        p++;
    *start = s;
    *length = (size_t)(p - s);
    *cursor = p;
    return true;
}

void copy_field(char *field, size_t room, const char *src, size_t length)
{
    if (length > room)
        length = room;
    memcpy(field, src, length);
    field[length] = 0;
}

int take_tokens(const char *text, char *const *fields, const size_t *rooms, int count)
{
    for (int i = 0; i < count; i++)
        fields[i][0] = 0;
    const char *cursor = text;
    int found = 0;
    const char *start;
    size_t length;
    while (found < count && next_token(&cursor, &start, &length)) {
        copy_field(fields[found], rooms[found], start, length);
        found++;
    }
    return found;
}

void read_leading_fields(const char *line, LeadingFields *f)
{
    char *const fields[] = {f->code, f->name, f->third, f->fourth};
    const size_t rooms[] = {leading_field_room, leading_field_room, leading_field_room,
                            leading_field_room};
    take_tokens(line, fields, rooms, 4);
}

void read_airport_record(const char *line, AirportRecord *r)
{
    char *fields[2 + max_runways];
    size_t rooms[2 + max_runways];
    fields[0] = r->code;
    rooms[0] = airport_code_room;
    fields[1] = r->name;
    rooms[1] = airport_name_room;
    for (int i = 0; i < max_runways; i++) {
        fields[2 + i] = r->runways[i];
        rooms[2 + i] = i < 2 ? runway_room_first : runway_room;
    }
    int found = take_tokens(line, fields, rooms, 2 + max_runways);
    r->runway_count = found > 2 ? found - 2 : 0;
}

void read_runway_descriptor(const char *descriptor, RunwayDescriptor *rw)
{
    char work[descriptor_work_room + 1];
    copy_field(work, descriptor_work_room, descriptor, strlen(descriptor));
    for (char *p = work + (work[0] ? 1 : 0); *p; p++)
        if (*p == '_')
            *p = ' ';
    char *const fields[] = {rw->part1, rw->part2, rw->part3, rw->frequency, rw->course};
    const size_t rooms[] = {part1_room, part2_room, part3_room, frequency_room, course_room};
    take_tokens(work, fields, rooms, 5);
}

void read_navaid_record(const char *line, NavaidRecord *r)
{
    char *const fields[] = {r->code, r->name, r->type, r->frequency};
    const size_t rooms[] = {navaid_field_room, navaid_field_room, navaid_field_room,
                            navaid_field_room};
    take_tokens(line, fields, rooms, 4);
}
