#include "facility_file.h"

#include <stdint.h>
#include <string.h>

FacilityFile facility_file;

static const unsigned char ctrl_z = 26;

/* The word the searches below look at: the machine's own, 4 bytes in the
 * 32-bit module.  A build that counts the instructions the 32-bit module
 * runs sets a 4-byte type on a 64-bit machine. */
#ifdef PELMORA_SCAN_WORD
typedef PELMORA_SCAN_WORD ScanWord;
#else
typedef size_t ScanWord;
#endif

/* The first byte b in the n bytes at p with (b | bit) == target, or 0.
 *
 * Two words at a time: each becomes (word | bit) ^ target, zero in the bytes
 * looked for; a byte x gives x - 1 a high bit when x is zero (and also when
 * it is 0x81 or more, or takes a borrow from a zero byte below it), so a pair
 * without any such high bit holds no byte looked for, and a pair with one is
 * looked through byte by byte.  Text is mostly 7-bit, so that is mostly the
 * pair that holds the byte.  Every keystroke looks through the whole runway
 * file with this: a few instructions for every 8 bytes. */
static inline const unsigned char *scan_bytes(const unsigned char *p, size_t n, unsigned char bit,
                                              unsigned char target)
{
    const size_t pair = 2 * sizeof(ScanWord);
    const ScanWord ones = (ScanWord)-1 / 255;       /* 0x01 in every byte */
    const ScanWord highs = ones * 0x80;
    const ScanWord bits = ones * bit, pattern = ones * target;
    const unsigned char *const end = p + n;
    if (n >= pair) {
        const unsigned char *const last = end - pair;  /* the last pair's start */
        for (; p <= last; p += pair) {
            ScanWord a, b;
            memcpy(&a, p, sizeof a);
            memcpy(&b, p + sizeof a, sizeof b);
            a = (a | bits) ^ pattern;
            b = (b | bits) ^ pattern;
            if (((a - ones) | (b - ones)) & highs) {
                for (size_t i = 0; i < pair; i++)
                    if ((unsigned char)(p[i] | bit) == target)
                        return p + i;
            }
        }
    }
    for (; p != end; p++)
        if ((unsigned char)(*p | bit) == target)
            return p;
    return 0;
}

const unsigned char *find_byte_by_words(const unsigned char *p, size_t n, unsigned char c)
{
    return scan_bytes(p, n, 0, c);
}

/* The first line end or Ctrl-Z in the n bytes at p, or 0.  The two bytes
 * differ in one bit (0x0a, 0x1a): with that bit set, both read 0x1a, so one
 * pass finds either, and the file's Ctrl-Z costs no pass of its own. */
static const unsigned char *find_line_end(const unsigned char *p, size_t n)
{
    static_assert(('\n' | 0x10) == ctrl_z && (ctrl_z | 0x10) == ctrl_z, "one bit apart");
    return scan_bytes(p, n, 0x10, ctrl_z);
}

bool facility_open(FacilityFile *file, const char *name)
{
    file->stream = fopen(name, "rb");
    file->pos = file->len = 0;
    file->at_end = false;
    return file->stream != 0;
}

static char facility_folder[facility_folder_room + 1];

void set_facility_folder(const char *folder)
{
    size_t length = strlen(folder);
    if (length > facility_folder_room)
        length = 0;
    memcpy(facility_folder, folder, length);
    facility_folder[length] = 0;
}

static bool is_separator(char c)
{
    return c == '\\' || c == '/';
}

void simulator_folder_of(const char *module_path, char *folder, size_t room)
{
    if (room == 0)
        return;
    folder[0] = 0;
    /* The last two separators: before the file name and before its folder. */
    size_t ends[2] = {0, 0};
    int found = 0;
    for (size_t i = strlen(module_path); i-- > 0 && found < 2;)
        if (is_separator(module_path[i]))
            ends[found++] = i;
    if (found < 2)
        return;
    static const char gauges[] = "GAUGES";
    const char *name = module_path + ends[1] + 1;
    if (ends[0] - ends[1] - 1 != sizeof gauges - 1)
        return;
    for (size_t i = 0; i < sizeof gauges - 1; i++) {
        char c = name[i];
        if ((c >= 'a' && c <= 'z' ? (char)(c - 'a' + 'A') : c) != gauges[i])
            return;
    }
    size_t cut = ends[1];
    if (cut > 0 && module_path[cut - 1] == ':')
        cut++;                          /* a drive's root keeps its separator */
    if (cut == 0 || cut >= room)
        return;
    memcpy(folder, module_path, cut);
    folder[cut] = 0;
}

bool facility_open_data(FacilityFile *file, const char *name)
{
    if (facility_open(file, name) || !facility_folder[0])
        return file->stream != 0;
#ifdef _WIN32
    const char separator = '\\';
#else
    const char separator = '/';
#endif
    char path[facility_folder_room + 2 + 64];
    size_t folder_length = strlen(facility_folder), name_length = strlen(name);
    if (name_length >= sizeof path - folder_length - 1)
        return false;
    memcpy(path, facility_folder, folder_length);
    const char last = facility_folder[folder_length - 1];
    if (!is_separator(last))
        path[folder_length++] = separator;
    memcpy(path + folder_length, name, name_length + 1);
    return facility_open(file, path);
}

void facility_close(FacilityFile *file)
{
    if (file->stream)
        fclose(file->stream);
    file->stream = 0;
    file->pos = file->len = 0;
    file->at_end = true;
}

/* Makes at least want unread bytes available, unless the file ends first:
 * the unread rest moves to the front of the block and the block is topped
 * up.  A read error counts as the end.  Returns the unread bytes.  The
 * block may hold bytes after a Ctrl-Z: the line search meets the Ctrl-Z
 * first and ends the file there. */
#ifdef __GNUC__
__attribute__((noinline))   /* kept out of the line search, which runs for every line */
#endif
static size_t fill_block(FacilityFile *file, size_t want)
{
    size_t avail = file->len - file->pos;
    if (avail >= want || file->at_end || !file->stream)
        return avail;
    memmove(file->block, file->block + file->pos, avail);
    file->pos = 0;
    file->len = avail;
    while (file->len < want && !file->at_end) {
        unsigned char *fresh = file->block + file->len;
        size_t got = fread(fresh, 1, facility_block_room - file->len, file->stream);
        if (got == 0)
            file->at_end = true;
        file->len += got;
    }
    return file->len - file->pos;
}

bool facility_next_line(FacilityFile *file, FacilityLine *line, int limit)
{
    line->text = 0;
    line->length = 0;
    if (limit < 2)
        return false;
    if (limit > (int)facility_block_room)
        limit = (int)facility_block_room;
    /* A read takes want characters at most; one byte more is looked at, as a
     * CR LF pair there still reads as the LF that fills the read. */
    const size_t want = (size_t)limit - 1;
    size_t avail = file->len - file->pos;
    if (avail < want + 1)
        avail = fill_block(file, want + 1);
    if (avail == 0)
        return false;
    char *p = reinterpret_cast<char *>(file->block + file->pos);
    const char *lf = reinterpret_cast<const char *>(
        find_line_end(file->block + file->pos, avail < want + 1 ? avail : want + 1));
    if (lf && *lf == (char)ctrl_z) {
        /* The file ends here: what follows never counts. */
        avail = (size_t)(lf - p);
        file->len = file->pos + avail;
        file->at_end = true;
        lf = 0;
        if (avail == 0)
            return false;
    }
    size_t used, length;                /* bytes of the block, characters of the line */
    if (!lf) {
        /* No line end in reach: a full read, or the file's last line. */
        used = length = avail < want ? avail : want;
    } else {
        size_t k = (size_t)(lf - p);
        if (k > 0 && p[k - 1] == '\r') {
            p[k - 1] = '\n';            /* CR LF reads as LF, in place */
            length = k;
            used = k + 1;
        } else if (k < want) {
            used = length = k + 1;
        } else {
            used = length = want;       /* the LF starts the next read */
        }
    }
    file->pos += used;
    line->text = p;
    line->length = length;
    return true;
}

bool facility_read_line(FacilityFile *file, char *line, int limit)
{
    FacilityLine found;
    if (!facility_next_line(file, &found, limit)) {
        if (limit > 0)
            line[0] = 0;
        return false;
    }
    memcpy(line, found.text, found.length);
    line[found.length] = 0;
    return true;
}

/* What a token reader sees in a byte: 1 for a token character, 0 for the
 * white space of is_blank_char or the zero byte that ends a text. */
struct TokenChars {
    unsigned char of[256];
    constexpr TokenChars() : of()
    {
        for (int c = 1; c < 256; c++)
            of[c] = !(c == ' ' || (c >= '\t' && c <= '\r'));
    }
};
static constexpr TokenChars token_chars;

static bool is_token_char(char c)
{
    return token_chars.of[(unsigned char)c];
}

/* The next token of a text that ends at end or at its first zero byte,
 * whichever comes first; a C string gives no end (0), which p never meets. */
static bool scan_token(const char **cursor, const char *end, const char **start,
                       size_t *length)
{
    const char *p = *cursor;
    while (p != end && *p && is_blank_char(*p))
        p++;
    if (p == end || !*p) {
        *cursor = p;
        return false;
    }
    const char *s = p;
    while (p != end && is_token_char(*p))
        p++;
    *start = s;
    *length = (size_t)(p - s);
    *cursor = p;
    return true;
}

bool next_token(const char **cursor, const char **start, size_t *length)
{
    return scan_token(cursor, 0, start, length);
}

void copy_field(char *field, size_t room, const char *src, size_t length)
{
    if (length > room)
        length = room;
    memcpy(field, src, length);
    field[length] = 0;
}

static int take_tokens_until(const char *text, const char *end, char *const *fields,
                             const size_t *rooms, int count)
{
    for (int i = 0; i < count; i++)
        fields[i][0] = 0;
    const char *cursor = text;
    int found = 0;
    const char *start;
    size_t length;
    while (found < count && scan_token(&cursor, end, &start, &length)) {
        copy_field(fields[found], rooms[found], start, length);
        found++;
    }
    return found;
}

int take_tokens(const char *text, char *const *fields, const size_t *rooms, int count)
{
    return take_tokens_until(text, 0, fields, rooms, count);
}

int take_tokens(const FacilityLine &line, char *const *fields, const size_t *rooms, int count)
{
    return take_tokens_until(line.text, line.text + line.length, fields, rooms, count);
}

void read_leading_fields(const char *line, LeadingFields *f)
{
    char *const fields[] = {f->code, f->name, f->third, f->fourth};
    const size_t rooms[] = {leading_field_room, leading_field_room, leading_field_room,
                            leading_field_room};
    take_tokens(line, fields, rooms, 4);
}

void read_leading_fields(const FacilityLine &line, LeadingFields *f, int count)
{
    char *const fields[] = {f->code, f->name, f->third, f->fourth};
    const size_t rooms[] = {leading_field_room, leading_field_room, leading_field_room,
                            leading_field_room};
    for (int i = count; i < 4; i++)
        fields[i][0] = 0;
    take_tokens(line, fields, rooms, count);
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
    char *const fields[] = {rw->designator, rw->identifier, rw->length, rw->frequency, rw->course};
    const size_t rooms[] = {runway_designator_room, runway_identifier_room, runway_length_room, frequency_room, course_room};
    take_tokens(work, fields, rooms, 5);
}

void read_navaid_record(const char *line, NavaidRecord *r)
{
    char *const fields[] = {r->code, r->name, r->type, r->frequency};
    const size_t rooms[] = {navaid_field_room, navaid_field_room, navaid_field_room,
                            navaid_field_room};
    take_tokens(line, fields, rooms, 4);
}
